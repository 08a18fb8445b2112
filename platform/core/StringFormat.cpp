#include "StringFormat.h"

#include "CLocale.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

struct Spec {
  std::string flags;
  int width = -1;
  int precision = -1;
  bool leftAlign = false;
  int intBits = 0; // 0: the argument's own size
  char conversion = 0;
};

template <typename Ch> void AppendAscii(std::basic_string<Ch>& out, const char* text, size_t length)
{
  for (size_t i = 0; i < length; ++i)
    out += Ch(static_cast<unsigned char>(text[i]));
}

template <typename Ch> void AppendPadded(std::basic_string<Ch>& out, const std::basic_string<Ch>& text, const Spec& spec)
{
  size_t pad = spec.width > 0 && size_t(spec.width) > text.size() ? size_t(spec.width) - text.size() : 0;
  if (!spec.leftAlign)
    out.append(pad, Ch(' '));
  out += text;
  if (spec.leftAlign)
    out.append(pad, Ch(' '));
}

// A narrow text printed into wide output is widened byte for byte, a wide text printed into
// narrow output keeps code points below 256 and shows '?' for the rest.
template <typename Ch> std::basic_string<Ch> TextOf(const FormatArg& arg, int precision)
{
  std::basic_string<Ch> text;
  auto take = [&](auto* p) {
    if (!p) {
      AppendAscii(text, "(null)", 6);
      return;
    }
    for (size_t n = 0; p[n] && (precision < 0 || n < size_t(precision)); ++n) {
      auto c = static_cast<std::make_unsigned_t<std::remove_cv_t<std::remove_pointer_t<decltype(p)>>>>(p[n]);
      text += (sizeof(Ch) == 1 && c > 0xFF) ? Ch('?') : Ch(c);
    }
  };
  switch (arg.kind) {
  case FormatArg::NarrowText:
    take(arg.a);
    break;
  case FormatArg::WideText:
    take(arg.w);
    break;
  default:
    break;
  }
  return text;
}

int64_t AsSigned(const FormatArg& arg)
{
  switch (arg.kind) {
  case FormatArg::Signed:
    return arg.i;
  case FormatArg::Unsigned:
    return int64_t(arg.u);
  case FormatArg::Floating:
    return int64_t(arg.d);
  case FormatArg::Pointer:
    return int64_t(reinterpret_cast<intptr_t>(arg.p));
  default:
    return 0;
  }
}

double AsDouble(const FormatArg& arg)
{
  switch (arg.kind) {
  case FormatArg::Signed:
    return double(arg.i);
  case FormatArg::Unsigned:
    return double(arg.u);
  case FormatArg::Floating:
    return arg.d;
  default:
    return 0.0;
  }
}

// An unsigned conversion of a negative int prints its 32-bit pattern, as on the system the texts
// were written for; with "ll" or "I64" the 64-bit one.
uint64_t AsUnsigned(const FormatArg& arg, int bits)
{
  uint64_t v = arg.kind == FormatArg::Unsigned ? arg.u : uint64_t(AsSigned(arg));
  if (bits == 0)
    bits = arg.kind == FormatArg::Signed || arg.kind == FormatArg::Unsigned ? arg.size * 8 : 64;
  if (bits < 64)
    v &= (uint64_t(1) << bits) - 1;
  return v;
}

int64_t TruncateSigned(int64_t v, int bits)
{
  switch (bits) {
  case 8:
    return int8_t(v);
  case 16:
    return int16_t(v);
  case 32:
    return int32_t(v);
  default:
    return v;
  }
}

// snprintf under the C locale, into a buffer as large as the output needs (a huge width or a %f
// of 1e300 does not fit a fixed one).
template <typename T> std::string PrintC(const std::string& format, T value)
{
  CLocaleScope cLocale;
  char buffer[256];
  int n = std::snprintf(buffer, sizeof buffer, format.c_str(), value);
  if (n < 0)
    return {};
  if (size_t(n) < sizeof buffer)
    return std::string(buffer, size_t(n));
  std::string big(size_t(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), format.c_str(), value);
  big.resize(size_t(n));
  return big;
}

std::string PrintNumber(const Spec& spec, const FormatArg& arg)
{
  std::string format = "%" + spec.flags;
  if (spec.width >= 0)
    format += std::to_string(spec.width);
  if (spec.precision >= 0)
    format += "." + std::to_string(spec.precision);
  char conv = spec.conversion;
  switch (conv) {
  case 'd':
  case 'i': {
    int64_t v = AsSigned(arg);
    if (spec.intBits)
      v = TruncateSigned(v, spec.intBits);
    return PrintC(format + "lld", static_cast<long long>(v));
  }
  case 'u':
  case 'x':
  case 'X':
  case 'o':
    return PrintC(format + "ll" + conv, static_cast<unsigned long long>(AsUnsigned(arg, spec.intBits)));
  case 'p':
    return PrintC("%0" + std::to_string(int(sizeof(void*) * 2)) + "llX",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(arg.p)));
  default: // e E f F g G a A
    return PrintC(format + conv, AsDouble(arg));
  }
}

template <typename Ch> std::basic_string<Ch> FormatImpl(const Ch* format, const FormatArg* args, size_t count)
{
  std::basic_string<Ch> out;
  if (!format)
    return out;
  size_t next = 0;
  auto take = [&]() -> const FormatArg& {
    static const FormatArg none;
    return next < count ? args[next++] : none;
  };
  for (const Ch* p = format; *p; ++p) {
    if (*p != Ch('%')) {
      out += *p;
      continue;
    }
    ++p;
    if (*p == Ch('%')) {
      out += Ch('%');
      continue;
    }
    Spec spec;
    for (; *p == '-' || *p == '+' || *p == ' ' || *p == '#' || *p == '0'; ++p) {
      if (*p == '-')
        spec.leftAlign = true;
      spec.flags += char(*p);
    }
    if (*p == '*') {
      spec.width = int(AsSigned(take()));
      if (spec.width < 0) {
        spec.leftAlign = true;
        spec.flags += '-';
        spec.width = -spec.width;
      }
      ++p;
    } else if (*p >= '0' && *p <= '9') {
      spec.width = 0;
      for (; *p >= '0' && *p <= '9'; ++p)
        spec.width = spec.width * 10 + int(*p - '0');
    }
    if (*p == '.') {
      ++p;
      spec.precision = 0;
      if (*p == '*') {
        spec.precision = int(AsSigned(take()));
        ++p;
      } else {
        for (; *p >= '0' && *p <= '9'; ++p)
          spec.precision = spec.precision * 10 + int(*p - '0');
      }
    }
    // Length modifiers: the argument's type is known, only the width of %u/%x and %d matters.
    for (;;) {
      if (*p == 'h') {
        spec.intBits = p[1] == 'h' ? 8 : 16;
        p += p[1] == 'h' ? 2 : 1;
      } else if (*p == 'l') {
        spec.intBits = p[1] == 'l' ? 64 : spec.intBits;
        p += p[1] == 'l' ? 2 : 1;
      } else if (*p == 'I' && p[1] == '6' && p[2] == '4') {
        spec.intBits = 64;
        p += 3;
      } else if (*p == 'I' && p[1] == '3' && p[2] == '2') {
        spec.intBits = 32;
        p += 3;
      } else if (*p == 'I' || *p == 'L' || *p == 'q' || *p == 'j' || *p == 'z' || *p == 't' || *p == 'w') {
        if (*p == 'j' || *p == 'z' || *p == 't' || *p == 'q' || *p == 'I')
          spec.intBits = 64;
        ++p;
      } else {
        break;
      }
    }
    if (!*p)
      break;
    spec.conversion = char(*p);
    switch (*p) {
    case 's':
    case 'S':
      AppendPadded(out, TextOf<Ch>(take(), spec.precision), spec);
      break;
    case 'c':
    case 'C': {
      const FormatArg& arg = take();
      std::basic_string<Ch> one(1, Ch(AsUnsigned(arg, sizeof(Ch) == 1 ? 8 : 32)));
      AppendPadded(out, one, spec);
      break;
    }
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
    case 'p':
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A': {
      std::string number = PrintNumber(spec, take());
      AppendAscii(out, number.data(), number.size());
      break;
    }
    case 'n':
      take();
      break;
    default: // an unknown conversion is printed as it stands
      out += Ch('%');
      out += *p;
      break;
    }
  }
  return out;
}

} // namespace

std::wstring FormatWide(const wchar_t* format, const FormatArg* args, size_t count)
{
  return FormatImpl(format, args, count);
}

std::string FormatNarrow(const char* format, const FormatArg* args, size_t count)
{
  return FormatImpl(format, args, count);
}
