#include "CRS232Port.h"

#include "WinTime.h"

#include <algorithm>
#include <cstring>

CRS232Port::~CRS232Port()
{
  Close();
}

BOOL CRS232Port::Open(CString name)
{
  CString path = L"//./" + name;
  HANDLE handle = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return FALSE;
  m_handle = handle;
  m_open = TRUE;
  m_lost = false;
  m_portName = name;
  return TRUE;
}

void CRS232Port::Close()
{
  if (!m_open)
    return;
  CloseHandle(m_handle);
  m_open = FALSE;
  m_handle = nullptr;
}

BOOL CRS232Port::SetTimeouts(DWORD readInterval, DWORD readTotalMultiplier, DWORD readTotalConstant,
                             DWORD writeTotalMultiplier, DWORD writeTotalConstant)
{
  COMMTIMEOUTS current;
  m_timeoutsResult = GetCommTimeouts(m_handle, &current);
  if (!m_timeoutsResult)
    return FALSE;
  m_timeouts = current;
  m_timeouts.ReadIntervalTimeout = readInterval;
  m_timeouts.ReadTotalTimeoutMultiplier = readTotalMultiplier;
  m_timeouts.ReadTotalTimeoutConstant = readTotalConstant;
  m_timeouts.WriteTotalTimeoutMultiplier = writeTotalMultiplier;
  m_timeouts.WriteTotalTimeoutConstant = writeTotalConstant;
  m_timeoutsResult = SetCommTimeouts(m_handle, &m_timeouts);
  if (!m_timeoutsResult) {
    Close();
    return FALSE;
  }
  return TRUE;
}

BOOL CRS232Port::ReadAnswer(char* buffer, DWORD capacity, DWORD* received, bool* overrun)
{
  *received = 0;
  if (overrun)
    *overrun = false;
  if (!WaitForSerialInput(m_handle, FirstByteWait(capacity))) {
    // Silence, or no device at all: a read that times out succeeds empty, one without a valid
    // handle fails.
    m_bytesRead = 0;
    return GetLastError() == ERROR_INVALID_HANDLE ? FALSE : TRUE;
  }
  COMMTIMEOUTS t{};
  const DWORD interval = GetCommTimeouts(m_handle, &t) ? t.ReadIntervalTimeout : 0;
  if (interval == 0 || interval == MAXDWORD) {
    BOOL ok = NoteTransfer(ReadFile(m_handle, buffer, capacity, received, nullptr));
    m_bytesRead = *received;
    return ok;
  }
  // A chunk that comes short ended at the interval timeout: the reply is over.
  const DWORD start = GetTickCount();
  BOOL ok = TRUE;
  bool babbled = false;
  while (*received < capacity) {
    const DWORD want = std::min(kReadChunkBytes, capacity - *received);
    DWORD got = 0;
    ok = NoteTransfer(ReadFile(m_handle, buffer + *received, want, &got, nullptr));
    *received += got;
    if (!ok || got < want)
      break;
    const bool more = WaitForSerialInput(m_handle, interval) != FALSE;
    if (!more)
      break;
    if (*received == capacity || GetTickCount() - start >= kReplyTimeLimitMs) {
      babbled = true;
      break;
    }
  }
  m_bytesRead = *received;
  if (overrun)
    *overrun = babbled;
  return ok;
}

BOOL CRS232Port::NoteTransfer(BOOL ok)
{
  // A timeout succeeds with fewer bytes; a bad handle or argument is the caller's, not the line's.
  if (!ok && m_open && GetLastError() == ERROR_GEN_FAILURE)
    m_lost = true;
  return ok;
}

DWORD CRS232Port::FirstByteWait(DWORD capacity) const
{
  COMMTIMEOUTS t;
  if (!GetCommTimeouts(m_handle, &t))
    return 0;
  if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
      t.ReadTotalTimeoutConstant == 0)
    return 0; // the device returns at once with what is waiting
  if (t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD)
    return std::min(t.ReadTotalTimeoutConstant, kFirstByteTimeoutMs);
  if (t.ReadTotalTimeoutMultiplier == 0 && t.ReadTotalTimeoutConstant == 0)
    return kFirstByteTimeoutMs;
  const uint64_t total = uint64_t(t.ReadTotalTimeoutMultiplier) * capacity + t.ReadTotalTimeoutConstant;
  return DWORD(std::min<uint64_t>(total, kFirstByteTimeoutMs));
}

CString CRS232Port::ReadString()
{
  CString text;
  return Read(text) ? text : CString();
}

BOOL CRS232Port::Read(CString& text)
{
  char buffer[kReadBufferSize + 1];
  std::memset(buffer, 0, sizeof buffer);
  DWORD received = 0;
  BOOL ok = ReadAnswer(buffer, kReadBufferSize, &received);
  text = CString(buffer); // the extra zero ends a full buffer
  return ok;
}

BOOL CRS232Port::Read(void* buffer, DWORD count)
{
  std::memset(buffer, 0, count);
  DWORD received = 0;
  BOOL ok = NoteTransfer(ReadFile(m_handle, buffer, count, &received, nullptr));
  m_bytesRead = received;
  return ok && received == count;
}

BOOL CRS232Port::Read(CStringA& text, int count)
{
  count = std::max(count, 0);
  char* buffer = text.GetBufferSetLength(count);
  BOOL ok = Read(buffer, DWORD(count));
  text.ReleaseBuffer(count);
  return ok;
}

BOOL CRS232Port::Write(const void* buffer, DWORD count)
{
  m_bytesWritten = 0;
  return NoteTransfer(WriteFile(m_handle, buffer, count, &m_bytesWritten, nullptr));
}

BOOL CRS232Port::Write(CStringA text, int count)
{
  count = std::clamp(count, 0, text.GetLength());
  m_bytesWritten = 0;
  NoteTransfer(WriteFile(m_handle, text.GetString(), DWORD(count), &m_bytesWritten, nullptr));
  return m_bytesWritten > 0;
}

BOOL CRS232Port::WriteString(CStringA text)
{
  return Write(text, text.GetLength());
}
