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

// The whole text, for Paste. Another program is asked once at most, in the form its copy was
// fetched in, and the wait for it runs the event loop; while that copy's fetch is still under
// way, its answer is awaited instead of a second question. False when the text cannot be had:
// no text, a silent or refusing owner, or another copy arriving during the wait.
bool ClipboardText(CString& text);
