#pragma once
// What the connect handler tells the user about a port status that did not connect.
#include "CString.h"

// The box text for a failed connect: statuses 1, 2, 7, 8, 11 and 13 have their own, any other
// failure the unknown-error text. Empty for 0 (connected), 14 (the bootloader waits for firmware)
// and 15 (the bootloader's command mode), which the handler answers otherwise.
CString ConnectFailureMessage(int status);
