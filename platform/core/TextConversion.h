#pragma once
// Conversions between the program's wide text and the byte encodings it meets: UTF-8 (text files
// written here), Windows-1252 (text files written by Windows programs), UTF-16 (archives) and the
// byte-for-byte form of the serial line (bytes 0-255 are code points 0-255).
#include "CString.h"

#include <string>
#include <string_view>
#include <vector>

// UTF-8. Invalid sequences never throw: FromUtf8 reports them through valid (when given) and
// decodes each bad byte as Windows-1252.
std::string ToUtf8(const CString& text);
CString FromUtf8(std::string_view bytes, bool* valid = nullptr);
bool IsValidUtf8(std::string_view bytes);

// Windows-1252. Code points it cannot hold become '?'.
std::string ToWindows1252(const CString& text);
CString FromWindows1252(std::string_view bytes);

// One line of a text file: UTF-8 when it is valid UTF-8, else Windows-1252. A UTF-8 byte-order
// mark at the start is skipped, and so is a line end ("\n" or "\r\n") at the end.
CString DecodeTextLine(std::string_view bytes);
// A whole text file split at "\n" (a "\r" before it dropped), each line decoded on its own, so one
// line from a Windows program does not turn the rest of the file into Windows-1252. A final line
// end does not start another line.
std::vector<CString> DecodeTextLines(std::string_view bytes);

// UTF-16 code units (surrogate pairs for code points above U+FFFF); an unpaired surrogate read
// back becomes U+FFFD.
std::u16string ToUtf16(const CString& text);
CString FromUtf16(std::u16string_view units);
