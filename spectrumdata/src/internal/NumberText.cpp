#include "NumberText.h"

#include <charconv>

namespace {

// std::to_chars with a precision is specified as printf's %.*g in the C locale.
size_t FormatG(char (&buffer)[32], double value)
{
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return size_t(result.ptr - buffer);
}

} // namespace

void AppendG(std::string& text, double value)
{
  char buffer[32];
  text.append(buffer, FormatG(buffer, value));
}

void AppendG(std::wstring& text, double value)
{
  char buffer[32];
  size_t n = FormatG(buffer, value);
  for (size_t i = 0; i < n; ++i)
    text += wchar_t(buffer[i]);
}
