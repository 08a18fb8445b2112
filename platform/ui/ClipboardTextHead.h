#pragma once
// The first lines of the clipboard's text, for deciding whether to offer Paste on every right-click
// without taking the whole text over each time: another program's text is fetched once, in the
// background, when that program takes the clipboard, and its head is kept while the same copy
// stays there (a copy is known by the time its owner took the clipboard).
#include <string>

// The text up to the end of its first `lines` lines that are not empty (lines end at '\r' or '\n')
// into head; false when the clipboard holds no text. The clipboard's own text when this program
// owns it, read each time.
bool ClipboardTextHead(size_t lines, std::wstring& head);
