#include "PortRows.h"

#include "CLocale.h"

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
