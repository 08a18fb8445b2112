#pragma once
// The two halves of the serial number a new control board is stamped with, from the local time:
// the date "%04d%02d%02d" and the time "%02d%02d%02d%02d" with hundredths of a second. The
// hundredths round the milliseconds to the nearest ten but stop at 99 (995 to 999 ms give 99),
// so the time never rolls into a 100th hundredth.
#include "CString.h"
#include "WinTime.h"

CString SerialNumberDateText(const SYSTEMTIME& time);
CString SerialNumberTimeText(const SYSTEMTIME& time);
