#include "CHVXProControlPort.h"

#include "CLocale.h"
#include "SerialNumberStamp.h"
#include "ServoReply.h"
#include "WinTime.h"

#include <cstring>

namespace {
constexpr const char* kJumpToFirmware = "jmp";
constexpr const char* kStatusWord = "STATUS";
// The bootloader needs this long to start the firmware before the line answers again.
constexpr DWORD kFirmwareStartWaitMs = 3000;
} // namespace

int CHVXProControlPort::BootCommand(const char* word)
{
  m_status = StatusSuccess;
  const BOOL written = WriteString(CStringA(word) + "\r");
  if (std::strcmp(word, kJumpToFirmware) == 0)
    return m_status;
  if (!written)
    return SetStatus(StatusNoReply);
  CString answer = ReadString();
  answer.Remove(L'\r');
  m_lastReply = answer;
  return m_status;
}

int CHVXProControlPort::QueryBootStatus()
{
  if (BootCommand(kStatusWord) != StatusSuccess)
    return 0;
  return BootStatusFromAnswer(m_lastReply);
}

int CHVXProControlPort::StartFirmware()
{
  BootCommand(kJumpToFirmware);
  Sleep(kFirmwareStartWaitMs);
  Connect(m_comPortNumber);
  const int state = QueryBootStatus();
  Disconnect();
  return state == kBootFirmwareStarted ? StatusSuccess : StatusFailed;
}

// Sends one half of the serial number as an integer (leading zeros do not reach the wire: the
// time 09051204 goes out as 9051204) and returns the servo's command error for it.
int CHVXProControlPort::StampPart(int id, const char* mnemonic, const CString& digits)
{
  Send(id, mnemonic, _wtoi(digits));
  return QueryCommandError(id);
}

int CHVXProControlPort::WriteSerialNumber(int id)
{
  SYSTEMTIME now;
  GetLocalTime(&now);
  int error = StampPart(id, "CNH", SerialNumberDateText(now));
  if (error == 0)
    error = StampPart(id, "CNL", SerialNumberTimeText(now));
  if (error == 0) {
    Send(id, "CONFIRM");
    return StatusSuccess;
  }
  return error == 1 ? StatusSerialNumberRefused : StatusFailed;
}
