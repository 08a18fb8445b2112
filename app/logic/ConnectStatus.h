#pragma once
// What the connect handler tells the user about a port status that did not connect.
#include "CString.h"
#include "WinTypes.h"

#include <string>

// The box text for a failed connect: statuses 1, 2, 7, 8, 11 and 13 have their own, any other
// failure the unknown-error text. Empty for 0 (connected), 14 (the bootloader waits for firmware)
// and 15 (the bootloader's command mode), which the handler answers otherwise.
CString ConnectFailureMessage(int status);

// The line added to the "Port not available!" box when the port's device exists but this user may
// not open it: on Linux a serial adapter belongs to a group (usually "dialout") that a new user is
// not in, and the fix is one command and a new login. It names the device and the group that
// really owns it. Empty for any other open error (a port held by another program, a missing
// device), where the box's own text already says the right thing.
CString PortAccessHint(DWORD openError, const std::string& devicePath);
