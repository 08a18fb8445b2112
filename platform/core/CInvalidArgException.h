#pragma once
// Thrown for an argument a framework call cannot take at all (a null path, say), as the framework
// does; visible across the shared library boundary like the archive exception.
#include <exception>

class __attribute__((visibility("default"))) CInvalidArgException : public std::exception {
public:
  const char* what() const noexcept override { return "invalid argument"; }
};

[[noreturn]] inline void AfxThrowInvalidArgException()
{
  throw CInvalidArgException();
}
