#include "ServoReply.h"

#include "CLocale.h"

#include <cstring>
#include <cwctype>

bool IsServoCommandLine(const CString& line)
{
  return line == L"STATUS" || line.GetAt(0) == L'#';
}

bool ServoLineExpectsReply(const CString& line)
{
  if (line == L"STATUS")
    return true;
  int at = 1;
  while (at < line.GetLength() && std::iswdigit(wint_t(line[at])))
    ++at;
  const wchar_t first = line.GetAt(at);
  return first == L'Q' || first == L'q';
}

bool ServoReplyFromBytes(const char* bytes, size_t count, CString& reply)
{
  const bool whole = count > 0 && bytes[count - 1] == '\r';
  const size_t body = whole ? count - 1 : count;
  size_t length = strnlen(bytes, body);
  size_t from = length > 0 && bytes[0] == '\n' ? 1 : 0;
  reply = CString(CStringA(bytes + from, int(length - from)));
  return whole;
}

CString ServoReplyValueText(const CString& lastCommand, const CString& lastReply)
{
  CString command = lastCommand;
  while (!command.IsEmpty()) {
    wchar_t last = command[command.GetLength() - 1];
    if (!std::iswdigit(wint_t(last)) && last != L'-')
      break;
    command.Truncate(command.GetLength() - 1);
  }
  CString rest = lastReply;
  rest.Replace(L'*', L'#');
  if (!command.IsEmpty())
    rest.Replace(command, L"");
  return rest;
}

int ServoReplyValue(const CString& lastCommand, const CString& lastReply)
{
  return _wtoi(ServoReplyValueText(lastCommand, lastReply));
}

bool ServoReplyTextAfter(const CString& reply, const CString& mnemonic, CString& value)
{
  int at = mnemonic.IsEmpty() ? -1 : reply.Find(mnemonic);
  if (at < 0)
    return false;
  value = reply.Mid(at + mnemonic.GetLength());
  return true;
}

CString StripIdMarkers(CString reply)
{
  for (int star = reply.Find(L'*'); star >= 0; star = reply.Find(L'*')) {
    int id = reply.Find(L"QID", star);
    if (id < 0)
      break;
    CString marker = reply.Mid(star, id + 3 - star);
    reply.Replace(marker, L"");
  }
  return reply;
}

int BootStatusFromAnswer(const CString& answer)
{
  if (answer == L"cmd")
    return 2;
  if (answer == L"wtf" || answer == L"flf")
    return 3;
  if (answer == L"frw")
    return 1;
  if (answer == L"wtc")
    return 4;
  return 0;
}
