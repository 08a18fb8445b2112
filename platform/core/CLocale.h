#pragma once
// Locale-independent numbers. The GUI toolkit may switch the process locale to the user's, where
// the decimal point can be a comma; every number the program writes or reads uses '.'.
#include <cstdint>

// While it lives, the calling thread formats and parses numbers in the C locale.
class CLocaleScope {
public:
  CLocaleScope();
  ~CLocaleScope();
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
  void* m_previous;
};

// The C runtime conversions as the program's texts expect them: leading blanks skipped, the
// leading number read, the rest ignored, 0 when there is none; never throws. The integer forms
// saturate on overflow (INT_MAX / INT_MIN), as the runtime they come from does.
int _wtoi(const wchar_t* text);
long _wtol(const wchar_t* text);
int64_t _wtoi64(const wchar_t* text);
double _wtof(const wchar_t* text);
int atoi_c(const char* text);
double atof_c(const char* text);
// strtod / wcstod in the C locale; end (when given) is set past the number read.
double strtod_c(const char* text, const char** end);
double wcstod_c(const wchar_t* text, const wchar_t** end);
long wcstol_c(const wchar_t* text, const wchar_t** end, int base);

inline int _ttoi(const wchar_t* text) { return _wtoi(text); }
inline double _tstof(const wchar_t* text) { return _wtof(text); }
inline long _ttol(const wchar_t* text) { return _wtol(text); }
