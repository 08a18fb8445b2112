#pragma once
// The clipboard's text for the paste offer and for Paste, read the same way for both
// (DecodeClipboardText). The offer looks only at the first lines, and on every right-click: it
// never waits on another program. That program's copy is fetched in the background when it takes
// the clipboard, and only its head is kept (bounded in lines and in bytes).
#include "CString.h"
#include "ClipboardHead.h"

#include <string>

// Starts following the clipboard's copies, so that a copy already there has been fetched by the
// first right-click. Further calls do nothing.
void WatchClipboardText(size_t lines);

// The head (the first `lines` lines, ClipboardHeadBytes) of the clipboard's text into head.
// NotYet while the fetch of another program's copy has not answered: nothing is asked of that
// program here. This program's own copy is read where it lies, which waits on no one.
EClipboardHead ClipboardTextHead(size_t lines, std::wstring& head);

// The whole text, for Paste: this waits for the owner to hand it over. False when the clipboard
// holds no text.
bool ClipboardText(CString& text);
