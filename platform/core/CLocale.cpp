#include "CLocale.h"

#include <cerrno>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cwchar>
#include <locale.h>
#include <string>

namespace {
locale_t CLocale()
{
  static locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  return c;
}

// A wide number text is read through its ASCII form: anything outside ASCII ends the number.
std::string NarrowPrefix(const wchar_t* text, size_t& consumedBlanks)
{
  consumedBlanks = 0;
  std::string s;
  if (!text)
    return s;
  while (text[consumedBlanks] == L' ' || (text[consumedBlanks] >= L'\t' && text[consumedBlanks] <= L'\r'))
    ++consumedBlanks;
  for (const wchar_t* p = text + consumedBlanks; *p && *p < 0x80 && s.size() < 512; ++p)
    s += char(*p);
  return s;
}

int64_t ParseInteger(const char* text, int64_t lo, int64_t hi)
{
  if (!text)
    return 0;
  errno = 0;
  long long v = strtoll_l(text, nullptr, 10, CLocale());
  if (v < lo)
    return lo;
  if (v > hi)
    return hi;
  return v;
}
} // namespace

CLocaleScope::CLocaleScope() : m_previous(uselocale(CLocale())) {}
CLocaleScope::~CLocaleScope() { uselocale(static_cast<locale_t>(m_previous)); }

double strtod_c(const char* text, const char** end)
{
  if (!text) {
    if (end)
      *end = text;
    return 0.0;
  }
  char* stop = nullptr;
  double v = strtod_l(text, &stop, CLocale());
  if (end)
    *end = stop;
  return v;
}

double wcstod_c(const wchar_t* text, const wchar_t** end)
{
  size_t blanks = 0;
  std::string s = NarrowPrefix(text, blanks);
  const char* stop = nullptr;
  double v = strtod_c(s.c_str(), &stop);
  if (end)
    *end = text ? (stop == s.c_str() ? text : text + blanks + (stop - s.c_str())) : text;
  return v;
}

long wcstol_c(const wchar_t* text, const wchar_t** end, int base)
{
  size_t blanks = 0;
  std::string s = NarrowPrefix(text, blanks);
  char* stop = nullptr;
  long v = strtol_l(s.c_str(), &stop, base, CLocale());
  if (end)
    *end = text ? (stop == s.c_str() ? text : text + blanks + (stop - s.c_str())) : text;
  return v;
}

int atoi_c(const char* text) { return int(ParseInteger(text, INT_MIN, INT_MAX)); }
double atof_c(const char* text) { return strtod_c(text, nullptr); }

int _wtoi(const wchar_t* text)
{
  size_t blanks = 0;
  return int(ParseInteger(NarrowPrefix(text, blanks).c_str(), INT_MIN, INT_MAX));
}

long _wtol(const wchar_t* text)
{
  size_t blanks = 0;
  return long(ParseInteger(NarrowPrefix(text, blanks).c_str(), INT32_MIN, INT32_MAX));
}

int64_t _wtoi64(const wchar_t* text)
{
  size_t blanks = 0;
  return ParseInteger(NarrowPrefix(text, blanks).c_str(), INT64_MIN, INT64_MAX);
}

double _wtof(const wchar_t* text) { return wcstod_c(text, nullptr); }
