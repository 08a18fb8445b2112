#include "CommandLines.h"

#include "CLocale.h"

#include <cerrno>
#include <climits>
#include <cwchar>

CString MnemonicFromComboText(const CString& text)
{
  CString mnemonic = text.Left(4);
  mnemonic.Trim();
  return mnemonic;
}

CString FirstTokenOf(const CString& text)
{
  int start = 0;
  return text.Tokenize(L" \t-", start);
}

bool FindCommandDescription(const CCmdInfoList& table, const CString& key, CString& description)
{
  for (POSITION pos = table.GetHeadPosition(); pos;) {
    const SCmdInfo& row = table.GetNext(pos);
    if (row.mnemonic == key) {
      description = row.description;
      return true;
    }
  }
  return false;
}

ECommandValue ParseCommandValue(const CString& text, int& value)
{
  CString trimmed = text;
  trimmed.Trim();
  if (trimmed.IsEmpty())
    return ECommandValue::Empty;
  int i = 0;
  if (trimmed[0] == L'-' || trimmed[0] == L'+')
    i = 1;
  if (i >= trimmed.GetLength())
    return ECommandValue::Invalid;
  long long number = 0;
  for (; i < trimmed.GetLength(); ++i) {
    const wchar_t c = trimmed[i];
    if (c < L'0' || c > L'9')
      return ECommandValue::Invalid;
    number = number * 10 + (c - L'0');
    if (number > 2147483648LL)
      return ECommandValue::Invalid;
  }
  if (trimmed[0] == L'-')
    number = -number;
  if (number > INT_MAX || number < INT_MIN)
    return ECommandValue::Invalid;
  value = int(number);
  return ECommandValue::Number;
}

CString InvalidValueMessage(const CString& text)
{
  CString trimmed = text;
  trimmed.Trim();
  CString message;
  message.Format(L"\"%s\" is not a whole number.\nNothing was sent.", trimmed);
  return message;
}

CString BuildFreeFormatLine(const CString& text, int currentId)
{
  CString typed = text;
  typed.Trim();
  CString line;
  if (typed.Left(1) != L"#" && currentId > 0)
    line.Format(L"#%d%s", currentId, typed);
  else
    line = typed;
  line.Trim();
  return line;
}

int AddressedId(const CString& line, int currentId)
{
  if (line.Left(1) != L"#")
    return currentId;
  int end = 1;
  while (end < line.GetLength() && end < 10 && line[end] >= L'0' && line[end] <= L'9')
    ++end;
  return end > 1 ? _wtoi(line.Mid(1, end - 1)) : currentId;
}

EFreeFormatRoute RouteFreeFormatLine(const CString& line)
{
  if (line.Find(L"DEFAULT") > 0)
    return EFreeFormatRoute::DefaultButton;
  if (line.Find(L"UPDATE") > 0)
    return EFreeFormatRoute::FirmwareUpdateButton;
  return EFreeFormatRoute::Transact;
}
