#include "TextConversion.h"

#include <cstdint>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Bytes 0x80-0x9F of Windows-1252. The five bytes it leaves undefined map to the C1 control of
// the same value, as the Windows conversion does, so that they survive a round trip.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

wchar_t FromCp1252(unsigned char b)
{
  return b >= 0x80 && b < 0xA0 ? wchar_t(kCp1252High[b - 0x80]) : wchar_t(b);
}

bool IsScalar(char32_t c)
{
  return c < 0xD800 || (c > 0xDFFF && c <= 0x10FFFF);
}

// Decodes one UTF-8 sequence at bytes[at]; returns its length, or 0 when it is not a valid,
// shortest-form encoding of a Unicode scalar value.
size_t DecodeOne(std::string_view bytes, size_t at, char32_t& out)
{
  auto b0 = static_cast<unsigned char>(bytes[at]);
  if (b0 < 0x80) {
    out = b0;
    return 1;
  }
  size_t length;
  char32_t c;
  char32_t minimum;
  if ((b0 & 0xE0) == 0xC0) {
    length = 2, c = b0 & 0x1F, minimum = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    length = 3, c = b0 & 0x0F, minimum = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    length = 4, c = b0 & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (bytes.size() - at < length)
    return 0;
  for (size_t i = 1; i < length; ++i) {
    auto b = static_cast<unsigned char>(bytes[at + i]);
    if ((b & 0xC0) != 0x80)
      return 0;
    c = (c << 6) | (b & 0x3F);
  }
  if (c < minimum || !IsScalar(c))
    return 0;
  out = c;
  return length;
}

void AppendUtf8(std::string& out, char32_t c)
{
  if (!IsScalar(c))
    c = kReplacement;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

std::string_view WithoutBom(std::string_view bytes)
{
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
    bytes.remove_prefix(3);
  return bytes;
}

std::string_view WithoutLineEnd(std::string_view bytes)
{
  if (!bytes.empty() && bytes.back() == '\n')
    bytes.remove_suffix(1);
  if (!bytes.empty() && bytes.back() == '\r')
    bytes.remove_suffix(1);
  return bytes;
}

} // namespace

std::string ToUtf8(const CString& text)
{
  std::string out;
  out.reserve(size_t(text.GetLength()));
  for (wchar_t c : text.View())
    AppendUtf8(out, char32_t(c));
  return out;
}

CString FromUtf8(std::string_view bytes, bool* valid)
{
  std::wstring out;
  out.reserve(bytes.size());
  bool ok = true;
  for (size_t at = 0; at < bytes.size();) {
    char32_t c = 0;
    size_t n = DecodeOne(bytes, at, c);
    if (n == 0) {
      ok = false;
      out += FromCp1252(static_cast<unsigned char>(bytes[at]));
      ++at;
    } else {
      out += wchar_t(c);
      at += n;
    }
  }
  if (valid)
    *valid = ok;
  return CString(std::move(out));
}

bool IsValidUtf8(std::string_view bytes)
{
  char32_t c = 0;
  for (size_t at = 0, n; at < bytes.size(); at += n)
    if ((n = DecodeOne(bytes, at, c)) == 0)
      return false;
  return true;
}

std::string ToWindows1252(const CString& text)
{
  std::string out;
  out.reserve(size_t(text.GetLength()));
  for (wchar_t w : text.View()) {
    auto c = char32_t(w);
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += char(c);
      continue;
    }
    char mapped = '?';
    for (int i = 0; i < 32; ++i)
      if (char32_t(kCp1252High[i]) == c) {
        mapped = char(0x80 + i);
        break;
      }
    out += mapped;
  }
  return out;
}

CString FromWindows1252(std::string_view bytes)
{
  std::wstring out;
  out.reserve(bytes.size());
  for (char b : bytes)
    out += FromCp1252(static_cast<unsigned char>(b));
  return CString(std::move(out));
}

CString DecodeTextLine(std::string_view bytes)
{
  bytes = WithoutLineEnd(WithoutBom(bytes));
  return IsValidUtf8(bytes) ? FromUtf8(bytes) : FromWindows1252(bytes);
}

std::vector<CString> DecodeTextLines(std::string_view bytes)
{
  std::vector<CString> lines;
  bytes = WithoutBom(bytes);
  while (!bytes.empty()) {
    size_t end = bytes.find('\n');
    size_t take = end == std::string_view::npos ? bytes.size() : end + 1;
    lines.push_back(DecodeTextLine(bytes.substr(0, take)));
    bytes.remove_prefix(take);
  }
  return lines;
}

std::u16string ToUtf16(const CString& text)
{
  std::u16string out;
  out.reserve(size_t(text.GetLength()));
  for (wchar_t w : text.View()) {
    auto c = char32_t(w);
    if (!IsScalar(c))
      c = kReplacement;
    if (c < 0x10000) {
      out += char16_t(c);
    } else {
      c -= 0x10000;
      out += char16_t(0xD800 + (c >> 10));
      out += char16_t(0xDC00 + (c & 0x3FF));
    }
  }
  return out;
}

CString FromUtf16(std::u16string_view units)
{
  std::wstring out;
  out.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (char32_t(units[i + 1]) - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    out += wchar_t(c);
  }
  return CString(std::move(out));
}
