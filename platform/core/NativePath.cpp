#include "NativePath.h"

#include "TextConversion.h"

std::string NativePath(const wchar_t* path)
{
  return path ? ToUtf8(CString(path)) : std::string();
}

CString FromNativePath(std::string_view path)
{
  return FromUtf8(path);
}
