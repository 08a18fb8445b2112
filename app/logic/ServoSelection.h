#pragma once
// Decisions taken when a servo is chosen in the id list.
#include "CString.h"

// A control board that still carries its factory serial number gets a real one. Only an answered
// serial-number query can tell: a failed or empty query says nothing about the board, and taking
// it for new would overwrite a good serial number.
bool IsNewControlBoard(int firmwareNumber, bool eepromError, bool serialAnswered, const CString& serial);

// Older firmware reports model 3 for a servo whose model was never set; a negative model id is
// unset on every firmware.
bool NeedsModelSelection(int firmwareNumber, int modelId);

// The window title from the program file's version numbers.
CString MainWindowTitle(int major, int minor, int revision, int build);
