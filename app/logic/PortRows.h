#pragma once
// The rows of the COM port list: "COM%d", with "    - " and the device description when there is
// one, and the port number read back from a chosen row.
#include "CString.h"

// Not empty, and every character a decimal digit (or ':' when allowColon).
bool IsNumeric(const CString& text, bool allowColon);

// The port number a device's port name stands for: longer than 3 characters, "COM" in any case,
// then digits only ("com7" gives 7; "COM", "COMX" and "LPT1" give false).
bool ComPortNumberFromName(const CString& portName, int& number);

CString PortRowText(int number, const CString& description);

// The number of the port a row names: up to three digits after "COM" (the row of COM12 gives 12).
// 0 for an empty or foreign row.
int PortNumberFromRow(const CString& row);
