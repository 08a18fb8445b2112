#include "SerialDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
using Deadline = std::optional<Clock::time_point>;

constexpr short kHangUpEvents = POLLHUP | POLLERR | POLLNVAL;

DWORD ErrorFromErrno(int e)
{
  switch (e) {
  case ENOENT:
  case ENXIO:
  case ENODEV:
  case ENOTDIR:
    return ERROR_FILE_NOT_FOUND;
  case EACCES:
  case EPERM:
  case EROFS:
    return ERROR_ACCESS_DENIED;
  case EBUSY:
  case EWOULDBLOCK:
    return ERROR_SHARING_VIOLATION;
  case ENOTTY:
    return ERROR_INVALID_FUNCTION;
  case ENAMETOOLONG:
    return ERROR_BAD_PATHNAME;
  default:
    return ERROR_GEN_FAILURE;
  }
}

Clock::time_point After(Clock::time_point from, uint64_t ms)
{
  return from + std::chrono::milliseconds(ms);
}

Deadline Earliest(Deadline a, Deadline b)
{
  if (!a)
    return b;
  if (!b)
    return a;
  return std::min(*a, *b);
}

enum class Wait { Ready, TimedOut, HungUp, Failed };

// Waits for events on fd until the deadline (for ever without one). A deadline already passed
// still looks once, so that what is waiting is seen.
Wait WaitFor(int fd, short events, Deadline deadline)
{
  for (;;) {
    timespec timeout{};
    timespec* limit = nullptr;
    bool last = false;
    if (deadline) {
      auto left = *deadline - Clock::now();
      last = left <= Clock::duration::zero();
      auto ns = last ? 0 : std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
      timeout.tv_sec = time_t(ns / 1000000000);
      timeout.tv_nsec = long(ns % 1000000000);
      limit = &timeout;
    }
    pollfd p{fd, events, 0};
    int r = ppoll(&p, 1, limit, nullptr);
    if (r < 0) {
      if (errno == EINTR)
        continue;
      return Wait::Failed;
    }
    if (r == 0) {
      if (last)
        return Wait::TimedOut;
      continue; // the loop sees the deadline pass
    }
    if (p.revents & events)
      return Wait::Ready; // data first: what arrived before a hang-up is still read
    if (p.revents & kHangUpEvents)
      return Wait::HungUp;
  }
}

bool Fail(DWORD* error, DWORD code)
{
  if (error)
    *error = code;
  return false;
}
} // namespace

std::unique_ptr<CSerialDevice> CSerialDevice::Open(const std::string& path, DWORD* error)
{
  auto fail = [&](int fd, int e) -> std::unique_ptr<CSerialDevice> {
    if (fd >= 0)
      ::close(fd);
    if (error)
      *error = ErrorFromErrno(e);
    return nullptr;
  };
  int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return fail(-1, errno);
  if (!isatty(fd))
    return fail(fd, ENOTTY);
  if (flock(fd, LOCK_EX | LOCK_NB) != 0)
    return fail(fd, errno == EWOULDBLOCK ? EBUSY : errno);
  if (ioctl(fd, TIOCEXCL) != 0)
    return fail(fd, errno);
  termios mode{};
  if (tcgetattr(fd, &mode) != 0)
    return fail(fd, errno);
  cfmakeraw(&mode);
  mode.c_cflag |= CLOCAL | CREAD;
  mode.c_cc[VMIN] = 1;
  mode.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &mode) != 0) {
    int e = errno;
    ioctl(fd, TIOCNXCL);
    return fail(fd, e);
  }
  if (error)
    *error = ERROR_SUCCESS;
  return std::unique_ptr<CSerialDevice>(new CSerialDevice(fd));
}

CSerialDevice::~CSerialDevice()
{
  // The exclusive flag belongs to the tty, not to this descriptor: left set, it would keep the
  // next open out while anyone else (a pseudo-terminal's other end) still holds the tty.
  ioctl(m_fd, TIOCNXCL);
  flock(m_fd, LOCK_UN);
  ::close(m_fd);
}

COMMTIMEOUTS CSerialDevice::GetTimeouts() const
{
  std::lock_guard guard(m_timeoutsLock);
  return m_timeouts;
}

void CSerialDevice::SetTimeouts(const COMMTIMEOUTS& timeouts)
{
  std::lock_guard guard(m_timeoutsLock);
  m_timeouts = timeouts;
}

bool CSerialDevice::Read(void* buffer, DWORD count, DWORD* transferred, DWORD* error)
{
  const COMMTIMEOUTS t = GetTimeouts();
  const auto start = Clock::now();
  const bool returnAtOnce = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == 0 &&
                            t.ReadTotalTimeoutConstant == 0;
  const bool firstBytesOnly = t.ReadIntervalTimeout == MAXDWORD && t.ReadTotalTimeoutMultiplier == MAXDWORD &&
                              t.ReadTotalTimeoutConstant != 0 && t.ReadTotalTimeoutConstant != MAXDWORD;
  Deadline total;
  if (firstBytesOnly)
    total = After(start, t.ReadTotalTimeoutConstant);
  else if (t.ReadTotalTimeoutMultiplier != 0 || t.ReadTotalTimeoutConstant != 0)
    total = After(start, uint64_t(t.ReadTotalTimeoutMultiplier) * count + t.ReadTotalTimeoutConstant);
  const bool useInterval = !firstBytesOnly && t.ReadIntervalTimeout != 0 && t.ReadIntervalTimeout != MAXDWORD;

  auto* out = static_cast<uint8_t*>(buffer);
  DWORD got = 0;
  Clock::time_point lastByte{};
  *transferred = 0;
  while (got < count) {
    ssize_t n = ::read(m_fd, out + got, count - got);
    if (n > 0) {
      got += DWORD(n);
      *transferred = got;
      lastByte = Clock::now();
      if (firstBytesOnly)
        break;
      continue;
    }
    if (n == 0)
      return Fail(error, ERROR_GEN_FAILURE); // end of file on a tty: the other end hung up
    if (errno == EINTR)
      continue;
    if (errno != EAGAIN)
      return Fail(error, ERROR_GEN_FAILURE);
    if (returnAtOnce)
      break;
    Deadline deadline = total;
    if (useInterval && got > 0)
      deadline = Earliest(deadline, After(lastByte, t.ReadIntervalTimeout));
    Wait w = WaitFor(m_fd, POLLIN, deadline);
    if (w == Wait::TimedOut)
      break;
    if (w != Wait::Ready)
      return Fail(error, ERROR_GEN_FAILURE);
  }
  if (error)
    *error = ERROR_SUCCESS;
  return true;
}

bool CSerialDevice::Write(const void* buffer, DWORD count, DWORD* transferred, DWORD* error)
{
  const COMMTIMEOUTS t = GetTimeouts();
  Deadline total;
  if (t.WriteTotalTimeoutMultiplier != 0 || t.WriteTotalTimeoutConstant != 0)
    total =
        After(Clock::now(), uint64_t(t.WriteTotalTimeoutMultiplier) * count + t.WriteTotalTimeoutConstant);
  auto* in = static_cast<const uint8_t*>(buffer);
  DWORD sent = 0;
  *transferred = 0;
  while (sent < count) {
    ssize_t n = ::write(m_fd, in + sent, count - sent);
    if (n > 0) {
      sent += DWORD(n);
      *transferred = sent;
      continue;
    }
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0 && errno != EAGAIN)
      return Fail(error, ERROR_GEN_FAILURE);
    Wait w = WaitFor(m_fd, POLLOUT, total);
    if (w == Wait::TimedOut)
      break;
    if (w != Wait::Ready)
      return Fail(error, ERROR_GEN_FAILURE);
  }
  if (error)
    *error = ERROR_SUCCESS;
  return true;
}

bool CSerialDevice::Purge(bool input, bool output)
{
  if (input && output)
    return tcflush(m_fd, TCIOFLUSH) == 0;
  if (input)
    return tcflush(m_fd, TCIFLUSH) == 0;
  if (output)
    return tcflush(m_fd, TCOFLUSH) == 0;
  return true;
}

bool CSerialDevice::WaitForInput(DWORD timeoutMs)
{
  Wait w = WaitFor(m_fd, POLLIN, After(Clock::now(), timeoutMs));
  return w == Wait::Ready || w == Wait::HungUp;
}

bool CSerialDevice::IsHungUp() const
{
  pollfd p{m_fd, 0, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & kHangUpEvents);
}
