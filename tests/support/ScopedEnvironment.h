#pragma once
#include <cstdlib>
#include <optional>
#include <string>

// Sets (or, for a null value, removes) one environment variable for the lifetime of the object and
// puts back what was there before.
class ScopedEnvironment {
public:
  ScopedEnvironment(const char* name, const char* value) : m_name(name)
  {
    if (const char* old = std::getenv(name))
      m_old = old;
    Set(value);
  }
  ~ScopedEnvironment() { Set(m_old ? m_old->c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  // The value before this object set its own; none when the variable was not set.
  const std::optional<std::string>& Previous() const { return m_old; }
  void Set(const char* value)
  {
    if (value)
      setenv(m_name.c_str(), value, 1);
    else
      unsetenv(m_name.c_str());
  }

private:
  std::string m_name;
  std::optional<std::string> m_old;
};
