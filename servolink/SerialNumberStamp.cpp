#include "SerialNumberStamp.h"

#include <algorithm>

CString SerialNumberDateText(const SYSTEMTIME& time)
{
  CString text;
  text.Format(L"%04d%02d%02d", time.wYear, time.wMonth, time.wDay);
  return text;
}

CString SerialNumberTimeText(const SYSTEMTIME& time)
{
  const int hundredths = (std::min<int>(time.wMilliseconds, 994) + 5) / 10;
  CString text;
  text.Format(L"%02d%02d%02d%02d", time.wHour, time.wMinute, time.wSecond, hundredths);
  return text;
}
