#include "PortRows.h"

#include "CLocale.h"

bool IsNumeric(const CString& text, bool allowColon)
{
  if (text.IsEmpty())
    return false;
  for (int i = 0; i < text.GetLength(); ++i) {
    const wchar_t c = text[i];
    if (!(c >= L'0' && c <= L'9') && !(allowColon && c == L':'))
      return false;
  }
  return true;
}

bool ComPortNumberFromName(const CString& portName, int& number)
{
  if (portName.GetLength() <= 3 || portName.Left(3).CompareNoCase(L"COM") != 0)
    return false;
  const CString digits = portName.Mid(3);
  if (!IsNumeric(digits, false))
    return false;
  number = _wtoi(digits);
  return true;
}

CString PortRowText(int number, const CString& description)
{
  CString row;
  row.Format(L"COM%d", number);
  if (!description.IsEmpty())
    row.AppendFormat(L"    - %s", description);
  return row;
}

int PortNumberFromRow(const CString& row)
{
  if (row.Left(3).CompareNoCase(L"COM") != 0)
    return 0;
  return _wtoi(row.Mid(3, 3));
}
