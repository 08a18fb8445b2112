#include "CHVXProControlPort.h"

#include "CLocale.h"
#include "ServoReply.h"

#include <bitset>

namespace {
// A reply ends 20 ms after its last byte: a servo writes its reply in one go, and the servos of a
// broadcast answer one right after the other, so a gap that long means nothing more is coming.
constexpr DWORD kReadIntervalMs = 20;
constexpr DWORD kReadTotalMultiplierMs = 20;
constexpr DWORD kReadTotalConstantMs = 100;

} // namespace

int CHVXProControlPort::Connect(int portNumber)
{
  CString name;
  name.Format(L"COM%d", portNumber);
  Close();
  if (!Open(name))
    return SetStatus(StatusPortNotAvailable);
  m_comPortNumber = portNumber;
  SetTimeouts(kReadIntervalMs, kReadTotalMultiplierMs, kReadTotalConstantMs, 0, 0);
  PurgeComm(GetHandle(), PURGE_TXCLEAR | PURGE_RXCLEAR);
  if (QueryBootStatus() == kBootCommandMode)
    return SetStatus(StatusBootloaderCommandMode);

  m_masterId = kNoServo;
  SendBroadcast("QID");
  const CString reply = m_lastReply;
  if (reply == kWaitingForFirmwareReply) {
    m_connected = true;
    return SetStatus(StatusWaitingForFirmware);
  }
  if (reply.Find(L'*') < 0)
    return SetStatus(StatusDeviceNotFound);

  FindMaster(StripIdMarkers(reply));
  if (m_masterId < 0) {
    Close();
    return SetStatus(StatusMasterNotFound);
  }
  return SetStatus(StatusSuccess);
}

// Asks each listed id in turn whether it sits on the USB link. The id list is walked the way the
// tokenizer ends, with one empty token after the last, so a scan that finds no master sends a
// last "#0QUC" as well; a servo 0 on the bus may answer it. The list is the device's to make: an
// id is asked once, one that no servo can have (outside 0 to 253) is not asked, and the scan ends
// at a device that babbles in place of a reply or at the kMaxSilentIds-th listed id that stays
// silent (every listed servo answered the broadcast a moment ago), so that a device that lists
// ids it does not answer costs a few silent exchanges, not one per servo id.
void CHVXProControlPort::FindMaster(const CString& idList)
{
  constexpr int kMaxSilentIds = 3;
  std::bitset<kBroadcastId> asked;
  int silent = 0;
  int position = 0;
  for (;;) {
    const CString token = idList.Tokenize(L"\r", position);
    const int id = _wtoi(token);
    if (id < 0 || id >= kBroadcastId || asked[size_t(id)]) {
      if (position < 0)
        return;
      continue;
    }
    asked[size_t(id)] = true;
    Send(id, "QUC");
    if (m_lastReply.IsEmpty() && (m_replyOverran || ++silent == kMaxSilentIds))
      return;
    if (m_lastReply.Right(1) == L"1") {
      m_masterId = id;
      m_connected = true;
      return;
    }
    if (position < 0)
      return;
  }
}

void CHVXProControlPort::Disconnect()
{
  Close();
  m_connected = false;
}

bool CHVXProControlPort::QueryText(int id, const char* mnemonic, const int* value, CString& text)
{
  if (!m_connected)
    return false;
  const int status = value ? Send(id, mnemonic, *value) : Send(id, mnemonic);
  return status == StatusSuccess && ServoReplyTextAfter(m_lastReply, CString(mnemonic), text);
}

int CHVXProControlPort::QueryInt(int id, const char* mnemonic, int fallback)
{
  CString text;
  return QueryText(id, mnemonic, nullptr, text) ? _wtoi(text) : fallback;
}

int CHVXProControlPort::QueryBoardId(int id)
{
  return QueryInt(id, "QBI", 0);
}

CString CHVXProControlPort::QueryBootloaderVersion(int id)
{
  const int which = 3;
  CString text;
  return QueryText(id, "QBLV", &which, text) ? text : CString();
}

CString CHVXProControlPort::QueryFirmwareVersion(int id)
{
  const int which = 3;
  CString text;
  return QueryText(id, "QF", &which, text) ? text : CString();
}

int CHVXProControlPort::QueryCommandError(int id)
{
  return QueryInt(id, "QCE", 1);
}

CString CHVXProControlPort::QueryModelString(int id)
{
  CString text;
  return QueryText(id, "QMS", nullptr, text) ? text : CString();
}

int CHVXProControlPort::QueryModelId(int id)
{
  return QueryInt(id, "QMI", 0);
}

CString CHVXProControlPort::QuerySerialNumber(int id)
{
  CString text;
  return QueryText(id, "QN", nullptr, text) ? text : CString();
}

int CHVXProControlPort::QueryMotionStatus()
{
  if (!m_connected || m_currentId < 0)
    return 0;
  Send(m_currentId, "Q");
  return GetReplyValue();
}

bool CHVXProControlPort::QueryWaitingConfirm(int id)
{
  Send(id, "QWC");
  return GetReplyValue() > 0;
}
