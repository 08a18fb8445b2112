#pragma once
// The framework's standard message box (OK button), for the house library's few internal-error
// messages. This code runs without a window system, so the program installs the handler that
// shows the box (through its modal responder); until then the text goes to the standard error
// stream.
#include "CString.h"

using FrameworkMessageBoxHandler = void (*)(const CString& text);

// Returns the handler it replaces; null restores the standard error stream.
FrameworkMessageBoxHandler SetFrameworkMessageBoxHandler(FrameworkMessageBoxHandler handler);
void ShowFrameworkMessageBox(const CString& text);
