#pragma once
// One open serial device on a POSIX file descriptor: exclusive use, raw mode, and the Win32
// read and write timeouts emulated with ppoll() on monotonic deadlines. VTIME is not used: its
// 100 ms steps would make every servo query cost 100 ms, where the protocol's own floor is the
// servo's answer plus a 20 ms gap.
#include "WinSerial.h"

#include <memory>
#include <mutex>
#include <string>

class CSerialDevice {
public:
  // Opens path read-write without becoming its controlling terminal, takes it for exclusive use
  // (TIOCEXCL keeps other non-root openers out, flock() every other opener, root included) and
  // sets raw mode with CLOCAL and CREAD; the speed stays as the driver has it. On failure returns
  // null and sets error to a Win32 code (ERROR_SHARING_VIOLATION when someone else has it).
  static std::unique_ptr<CSerialDevice> Open(const std::string& path, DWORD* error);
  ~CSerialDevice();
  CSerialDevice(const CSerialDevice&) = delete;
  CSerialDevice& operator=(const CSerialDevice&) = delete;

  // Both succeed with fewer bytes than asked for when a timeout ends them and fail (with
  // ERROR_GEN_FAILURE) on hang-up or an I/O error; transferred is set in every case.
  bool Read(void* buffer, DWORD count, DWORD* transferred, DWORD* error);
  bool Write(const void* buffer, DWORD count, DWORD* transferred, DWORD* error);
  bool Purge(bool input, bool output);
  // True when a byte is waiting or the device has hung up, false after timeoutMs.
  bool WaitForInput(DWORD timeoutMs);
  bool IsHungUp() const;

  COMMTIMEOUTS GetTimeouts() const;
  void SetTimeouts(const COMMTIMEOUTS& timeouts);

private:
  explicit CSerialDevice(int fd) : m_fd(fd) {}

  int m_fd;
  mutable std::mutex m_timeoutsLock;
  COMMTIMEOUTS m_timeouts;
};
