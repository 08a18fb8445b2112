#include "VersionNumbers.h"

#include "CLocale.h"

CString NormaliseVersion(const CString& text)
{
  int parts[3] = {0, 0, 0};
  int start = 0;
  for (int& part : parts) {
    if (start > text.GetLength())
      break;
    const int dot = text.Find(L'.', start);
    const int end = dot < 0 ? text.GetLength() : dot;
    part = _wtoi(text.Mid(start, end - start));
    start = end + 1;
  }
  CString normal;
  normal.Format(L"%03d.%03d.%07d", parts[0], parts[1], parts[2]);
  return normal;
}

long long ParseVersion(const CString& text)
{
  CString digits = NormaliseVersion(text);
  digits.Remove(L'.');
  return _wtoi64(digits);
}
