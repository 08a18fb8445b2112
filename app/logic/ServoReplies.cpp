#include "ServoReplies.h"

#include "CHVXProControlPort.h"
#include "CLocale.h"
#include "ServoReply.h"

#include <bitset>

CString CommandErrorText(int code)
{
  switch (code) {
  case 0:
    return CString();
  case 1:
    return L"Unknown command!";
  case 2:
    return L"Command ignored!";
  case 3:
    return L"Illegal command!";
  case 4:
    return L"Parameter error! ";
  case 5:
    return L"Unsupported command!";
  case 6:
    return L"Target is outside the angular limits!";
  default:
    return L"Unknown!";
  }
}

CString CommandErrorMessage(int code)
{
  CString text;
  text.Format(L"Command Error: %s", CommandErrorText(code));
  return text;
}

std::vector<int> ParseIdListReply(const CString& reply)
{
  const CString rest = StripIdMarkers(reply);
  std::vector<int> ids;
  std::bitset<CHVXProControlPort::kBroadcastId> listed;
  int start = 0;
  for (CString token = rest.Tokenize(L"\r", start); start >= 0; token = rest.Tokenize(L"\r", start)) {
    const int id = _wtoi(token);
    if (token.IsEmpty() || id < 0 || id >= CHVXProControlPort::kBroadcastId || listed[size_t(id)])
      continue;
    listed[size_t(id)] = true;
    ids.push_back(id);
  }
  return ids;
}

CString IdRowText(int id, const CString& model, const CString& firmware)
{
  CString row;
  row.Format(L"%d - %s - %s", id, model, firmware);
  return row;
}

int IdFromRowText(const CString& row)
{
  int start = 0;
  return _wtoi(row.Tokenize(L" ", start));
}

int FindIdRow(const std::vector<CString>& rows, int id)
{
  for (size_t i = 0; i < rows.size(); ++i) {
    int start = 0;
    const CString first = rows[i].Tokenize(L" ", start);
    CString wanted;
    wanted.Format(L"%d", id);
    if (first == wanted)
      return int(i);
  }
  return -1;
}
