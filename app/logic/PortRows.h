#pragma once
// The rows of the COM port list: "COM%d", with "    - " and the device description when there is
// one, and the port number read back from a chosen row.
#include "CString.h"

CString PortRowText(int number, const CString& description);

// The number of the port a row names: up to three digits after "COM" (the row of COM12 gives 12).
// 0 for an empty or foreign row.
int PortNumberFromRow(const CString& row);
