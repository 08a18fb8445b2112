#pragma once
// Lets GoogleTest show a CString or CStringA as text (UTF-8) in failure messages instead of as
// raw object bytes. Include it in a test file that compares such texts.
#include "CString.h"
#include "TextConversion.h"

#include <ostream>

inline void PrintTo(const CString& s, std::ostream* os)
{
  *os << "L\"" << ToUtf8(s) << "\"";
}
inline void PrintTo(const CStringA& s, std::ostream* os)
{
  *os << "\"" << s.GetString() << "\"";
}
