#pragma once
// File names as the system takes them: the program's wide text is handed over as UTF-8, and a
// name read from the system (which may be any bytes) is decoded as a text line is.
#include "CString.h"

#include <string>
#include <string_view>

std::string NativePath(const wchar_t* path);
CString FromNativePath(std::string_view path);
