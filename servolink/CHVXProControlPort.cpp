#include "CHVXProControlPort.h"

#include "CLocale.h"
#include "ServoReply.h"

int CHVXProControlPort::Send(int id, const char* mnemonic)
{
  CString line;
  line.Format(L"#%d%s", id, mnemonic);
  return Transact(line);
}

int CHVXProControlPort::Send(int id, const char* mnemonic, int value)
{
  CString line;
  line.Format(L"#%d%s%d", id, mnemonic, value);
  return Transact(line);
}

int CHVXProControlPort::SendBroadcast(const char* mnemonic)
{
  return Send(kBroadcastId, mnemonic);
}

int CHVXProControlPort::Transact(CString line)
{
  m_lastCommand = line;
  m_lastReply.Empty();
  m_replyOverran = false;
  m_status = IsServoCommandLine(line) ? Exchange(line) : StatusNotACommand;
  if (m_status != StatusSuccess)
    m_currentId = kNoServo;
  return m_status;
}

int CHVXProControlPort::Exchange(const CString& line)
{
  const bool expectsReply = ServoLineExpectsReply(line);
  // A reply that came too late for the line before must not be read as this line's.
  PurgeComm(GetHandle(), PURGE_RXCLEAR);
  const BOOL written = WriteString(CStringA(line) + "\r");
  if (!expectsReply)
    return StatusSuccess;
  if (!written)
    return StatusNoReply;
  char buffer[kReadBufferSize];
  const DWORD capacity = _wtoi(line.Mid(1)) == kBroadcastId ? DWORD(sizeof buffer) : kMaxReplyBytes;
  DWORD received = 0;
  if (!ReadAnswer(buffer, capacity, &received, &m_replyOverran) || received == 0)
    return StatusNoReply;
  if (m_replyOverran)
    return StatusNoReply; // garbage, not a reply cut short: nothing of it is kept
  // Only a reply that ends in "\r" is whole; one cut short would read as a wrong value. Its text
  // is kept all the same: the servo did answer, which is what a caller that drops a silent servo
  // asks the last reply.
  return ServoReplyFromBytes(buffer, received, m_lastReply) ? StatusSuccess : StatusNoReply;
}

int CHVXProControlPort::GetReplyValue() const
{
  // A reply cut short is kept, but what value it shows may be cut short too.
  return m_status == StatusNoReply ? 0 : ServoReplyValue(m_lastCommand, m_lastReply);
}

int CHVXProControlPort::SetStatus(int status)
{
  m_status = status;
  return status;
}
