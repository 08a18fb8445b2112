#pragma once
// printf-style formatting with the MSVC rules the program's texts are written in, independent of
// the process locale: numbers always use '.', "%g" prints exactly what the C locale prints.
// Arguments are typed (FormatArg), so a text argument prints as text whether it is narrow or wide
// and whether the format says %s, %S, %ls or %hs, and a CString may be passed as it is.
#include <concepts>
#include <cstdint>
#include <string>
#include <type_traits>

template <typename Ch> class CStringT;

struct FormatArg {
  enum Kind { None, Signed, Unsigned, Floating, NarrowText, WideText, Pointer };

  FormatArg() : i(0) {}
  template <std::integral T> FormatArg(T v) : kind(std::is_signed_v<T> ? Signed : Unsigned), size(int(sizeof(T)))
  {
    if constexpr (std::is_signed_v<T>)
      i = v;
    else
      u = v;
  }
  template <typename E>
    requires std::is_enum_v<E>
  FormatArg(E v) : FormatArg(static_cast<std::underlying_type_t<E>>(v))
  {
  }
  FormatArg(float v) : kind(Floating), d(v) {}
  FormatArg(double v) : kind(Floating), d(v) {}
  FormatArg(long double v) : kind(Floating), d(double(v)) {}
  FormatArg(const char* v) : kind(NarrowText), a(v) {}
  FormatArg(char* v) : kind(NarrowText), a(v) {}
  FormatArg(const wchar_t* v) : kind(WideText), w(v) {}
  FormatArg(wchar_t* v) : kind(WideText), w(v) {}
  FormatArg(const std::string& v) : kind(NarrowText), a(v.c_str()) {}
  FormatArg(const std::wstring& v) : kind(WideText), w(v.c_str()) {}
  template <typename T> FormatArg(T* v) : kind(Pointer), p(v) {}
  template <typename Ch> FormatArg(const CStringT<Ch>& s);

  Kind kind = None;
  int size = 0; // bytes of an integer argument, for %u and %x of negative values
  union {
    int64_t i;
    uint64_t u;
    double d;
    const char* a;
    const wchar_t* w;
    const void* p;
  };
};

std::wstring FormatWide(const wchar_t* format, const FormatArg* args, size_t count);
std::string FormatNarrow(const char* format, const FormatArg* args, size_t count);

template <typename... Args> std::wstring FormatW(const wchar_t* format, const Args&... args)
{
  const FormatArg list[] = {FormatArg(args)..., FormatArg()};
  return FormatWide(format, list, sizeof...(Args));
}
template <typename... Args> std::string FormatA(const char* format, const Args&... args)
{
  const FormatArg list[] = {FormatArg(args)..., FormatArg()};
  return FormatNarrow(format, list, sizeof...(Args));
}
