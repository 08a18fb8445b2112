#include "SimulatedServoChain.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
using Clock = std::chrono::steady_clock;
constexpr const char* kPortsVariable = "HVX_SERIAL_PORTS";
constexpr int kBroadcastId = 254;

void MakeRaw(int fd)
{
  termios mode{};
  if (tcgetattr(fd, &mode) != 0)
    throw std::runtime_error("tcgetattr on the pseudo-terminal failed");
  cfmakeraw(&mode);
  mode.c_cflag |= CLOCAL | CREAD;
  tcsetattr(fd, TCSANOW, &mode);
}

// "*5QD12\r" becomes "*6QD12\r".
std::string WithNextId(const std::string& reply)
{
  if (reply.empty() || reply[0] != '*')
    return reply;
  size_t end = 1;
  while (end < reply.size() && std::isdigit(static_cast<unsigned char>(reply[end])))
    ++end;
  int id = end > 1 ? std::atoi(reply.substr(1, end - 1).c_str()) : 0;
  return "*" + std::to_string(id + 1) + reply.substr(end);
}
} // namespace

SimulatedServoChain::SimulatedServoChain(int portNumber) : m_portNumber(portNumber)
{
  char name[256] = {};
  if (openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0)
    throw std::runtime_error("openpty failed");
  m_devicePath = name;
  MakeRaw(m_slave);
  MakeRaw(m_master);
  fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
  fcntl(m_master, F_SETFD, FD_CLOEXEC);
  fcntl(m_slave, F_SETFD, FD_CLOEXEC);
  m_wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);

  m_ports.emplace(kPortsVariable, nullptr);
  std::string ports = m_ports->Previous() ? *m_ports->Previous() + ";" : "";
  ports += "COM" + std::to_string(m_portNumber) + "=" + m_devicePath;
  m_ports->Set(ports.c_str());

  m_thread = std::thread([this] { Run(); });
}

SimulatedServoChain::~SimulatedServoChain()
{
  HangUp();
  close(m_slave);
  close(m_wake);
}

CString SimulatedServoChain::PortName() const
{
  CString name;
  name.Format(L"COM%d", m_portNumber);
  return name;
}

void SimulatedServoChain::AddServo(const SSimulatedServo& servo)
{
  std::lock_guard guard(m_lock);
  m_servos.push_back(servo);
}

void SimulatedServoChain::AddServos(int count, int masterId, int firstId)
{
  for (int i = 0; i < count; ++i) {
    SSimulatedServo servo;
    servo.id = firstId + i;
    servo.master = servo.id == masterId;
    servo.serialNumber = "20260101" + std::to_string(10000000 + servo.id);
    AddServo(servo);
  }
}

void SimulatedServoChain::UpdateServo(int id, const std::function<void(SSimulatedServo&)>& change)
{
  std::lock_guard guard(m_lock);
  for (auto& servo : m_servos)
    if (servo.id == id)
      change(servo);
}

SSimulatedServo SimulatedServoChain::GetServo(int id) const
{
  std::lock_guard guard(m_lock);
  for (SSimulatedServo servo : m_servos)
    if (servo.id == id) {
      servo.Advance(Now());
      return servo;
    }
  throw std::out_of_range("no simulated servo with id " + std::to_string(id));
}

void SimulatedServoChain::SetClock(std::function<Clock::time_point()> now)
{
  std::lock_guard guard(m_lock);
  m_clock = std::move(now);
}

Clock::time_point SimulatedServoChain::Now() const
{
  return m_clock ? m_clock() : Clock::now();
}

void SimulatedServoChain::SetReplyDelay(std::chrono::microseconds delay)
{
  std::lock_guard guard(m_lock);
  m_replyDelay = delay;
}

void SimulatedServoChain::SetBootMode(ESimBootMode mode)
{
  std::lock_guard guard(m_lock);
  m_bootMode = mode;
}

ESimBootMode SimulatedServoChain::GetBootMode() const
{
  std::lock_guard guard(m_lock);
  return m_bootMode;
}

void SimulatedServoChain::SetModeAfterJump(ESimBootMode mode)
{
  std::lock_guard guard(m_lock);
  m_modeAfterJump = mode;
}

void SimulatedServoChain::SetStatusAnswer(std::optional<std::string> bytes)
{
  std::lock_guard guard(m_lock);
  m_statusAnswer = std::move(bytes);
}

void SimulatedServoChain::InjectFault(const SSimFault& fault)
{
  std::lock_guard guard(m_lock);
  m_faults.push_back(fault);
}

void SimulatedServoChain::SetLineHandler(
    std::function<std::optional<std::string>(const std::string&)> handler)
{
  std::lock_guard guard(m_lock);
  m_lineHandler = std::move(handler);
}

size_t SimulatedServoChain::DrippedBytes() const
{
  std::lock_guard guard(m_lock);
  return m_dripped;
}

void SimulatedServoChain::SendRaw(const std::string& bytes)
{
  WriteToProgram(bytes);
}

void SimulatedServoChain::HangUp()
{
  {
    std::lock_guard guard(m_lock);
    m_stopping = true;
  }
  uint64_t one = 1;
  (void)!write(m_wake, &one, sizeof one);
  if (m_thread.joinable())
    m_thread.join();
  CloseMaster();
}

std::vector<SReceivedLine> SimulatedServoChain::Received() const
{
  std::lock_guard guard(m_lock);
  return m_lines;
}

std::vector<std::string> SimulatedServoChain::ReceivedTexts() const
{
  std::lock_guard guard(m_lock);
  std::vector<std::string> texts;
  for (const auto& line : m_lines)
    texts.push_back(line.text);
  return texts;
}

std::vector<std::string> SimulatedServoChain::WaitForLines(size_t count,
                                                           std::chrono::milliseconds timeout) const
{
  {
    std::unique_lock guard(m_lock);
    m_changed.wait_for(guard, timeout, [&] { return m_lines.size() >= count; });
  }
  return ReceivedTexts();
}

std::vector<SReceivedChunk> SimulatedServoChain::ReceivedChunks() const
{
  std::lock_guard guard(m_lock);
  return m_chunks;
}

std::string SimulatedServoChain::ReceivedBytes() const
{
  std::lock_guard guard(m_lock);
  std::string bytes;
  for (const auto& chunk : m_chunks)
    bytes += chunk.bytes;
  return bytes;
}

std::string SimulatedServoChain::WaitForBytes(size_t count, std::chrono::milliseconds timeout) const
{
  {
    std::unique_lock guard(m_lock);
    m_changed.wait_for(guard, timeout, [&] { return m_bytesReceived >= count; });
  }
  return ReceivedBytes();
}

void SimulatedServoChain::ClearReceived()
{
  std::lock_guard guard(m_lock);
  m_lines.clear();
  m_chunks.clear();
  m_bytesReceived = 0;
  m_bootloader.Clear();
}

std::chrono::nanoseconds SimulatedServoChain::LastReplyLatency() const
{
  std::lock_guard guard(m_lock);
  return m_lastLatency;
}

void SimulatedServoChain::Run()
{
  std::string pending;
  char buffer[4096];
  for (;;) {
    int master;
    {
      std::lock_guard guard(m_writeLock);
      master = m_master;
    }
    if (master < 0)
      return; // hung up by a fault
    pollfd fds[2] = {{master, POLLIN, 0}, {m_wake, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR)
        continue;
      return;
    }
    if (fds[1].revents & POLLIN) {
      uint64_t count;
      (void)!read(m_wake, &count, sizeof count);
      std::lock_guard guard(m_lock);
      if (m_stopping)
        return;
    }
    if (!(fds[0].revents & POLLIN)) {
      if (fds[0].revents & (POLLHUP | POLLERR))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    ssize_t n = read(master, buffer, sizeof buffer);
    if (n <= 0)
      continue;
    const auto arrived = Clock::now();
    {
      std::lock_guard guard(m_lock);
      m_busy = true;
      m_chunks.push_back({std::string(buffer, size_t(n)), arrived});
      m_bytesReceived += size_t(n);
    }
    m_changed.notify_all();
    const std::string bytes = FeedBootloader(std::string(buffer, size_t(n)));
    for (char c : bytes) {
      if (c != '\r') {
        pending += c;
        continue;
      }
      std::string line;
      line.swap(pending);
      if (!line.empty() && line[0] == '\n')
        line.erase(0, 1);
      HandleLine(line, arrived);
    }
    std::lock_guard guard(m_lock);
    m_busy = false;
  }
}

bool SimulatedServoChain::IsIdle() const
{
  int waiting = 0;
  {
    std::lock_guard guard(m_writeLock);
    if (m_master >= 0 && ioctl(m_master, FIONREAD, &waiting) != 0)
      waiting = 0;
  }
  std::lock_guard guard(m_lock);
  return waiting == 0 && !m_busy;
}

void SimulatedServoChain::Settle(std::chrono::milliseconds timeout) const
{
  // Bytes written to the terminal reach the other end's queue through a kernel work item, so
  // idle must be seen a few times running before it is believed.
  const auto giveUp = Clock::now() + timeout;
  for (int quiet = 0; quiet < 3 && Clock::now() < giveUp;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    quiet = IsIdle() ? quiet + 1 : 0;
  }
}

void SimulatedServoChain::HandleLine(const std::string& line, Clock::time_point arrived)
{
  std::optional<std::string> reply = Compose(line);
  std::optional<SSimFault> fault = TakeFault(line, reply.has_value());
  // Logged once the line has taken effect, so a test that has waited for it sees its effect.
  {
    std::lock_guard guard(m_lock);
    m_lines.push_back({line, arrived});
  }
  m_changed.notify_all();
  if (!reply && !(fault && (fault->kind == SSimFault::Garbage || fault->kind == SSimFault::HangUp ||
                            fault->kind == SSimFault::Drip)))
    return;
  std::chrono::microseconds delay;
  {
    std::lock_guard guard(m_lock);
    delay = m_replyDelay;
  }
  if (fault && fault->kind == SSimFault::Delay)
    delay += std::chrono::milliseconds(fault->delayMs);
  std::this_thread::sleep_for(delay);
  Deliver(reply.value_or(std::string()), fault);
  std::lock_guard guard(m_lock);
  m_lastLatency = Clock::now() - arrived;
}

std::optional<std::string> SimulatedServoChain::Compose(const std::string& line)
{
  std::function<std::optional<std::string>(const std::string&)> handler;
  {
    std::lock_guard guard(m_lock);
    handler = m_lineHandler;
  }
  if (handler)
    if (auto answer = handler(line))
      return answer;

  std::lock_guard guard(m_lock);
  if (line == "STATUS")
    return m_statusAnswer ? *m_statusAnswer : StatusWord(m_bootMode) + "\r";
  if (line == "jmp") {
    if (m_bootMode != ESimBootMode::Firmware)
      m_bootMode = m_modeAfterJump;
    return std::nullopt;
  }
  std::optional<SServoLine> parsed = SServoLine::Parse(line);
  if (!parsed)
    return std::nullopt;
  const Clock::time_point now = Now();
  if (m_bootMode == ESimBootMode::WaitingForFirmware) {
    if (parsed->id == kBroadcastId && parsed->Key() == "QID")
      return std::string("WAITING FOR FIRMWARE.\r");
    return std::nullopt;
  }
  if (m_bootMode != ESimBootMode::Firmware)
    return std::nullopt;
  if (parsed->id == kBroadcastId) {
    std::string all;
    for (auto& servo : m_servos)
      all += servo.Answer(*parsed, now).value_or(std::string());
    return all.empty() ? std::nullopt : std::optional<std::string>(all);
  }
  for (auto& servo : m_servos) {
    if (servo.id != parsed->id)
      continue;
    std::optional<std::string> answer = servo.Answer(*parsed, now);
    if (servo.enterBootloader) {
      servo.enterBootloader = false;
      m_bootMode = ESimBootMode::WaitingForFirmware;
    }
    return answer;
  }
  return std::nullopt;
}

std::optional<SSimFault> SimulatedServoChain::TakeFault(const std::string& line, bool answered)
{
  std::lock_guard guard(m_lock);
  for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
    const bool anyLine = it->kind == SSimFault::Garbage || it->kind == SSimFault::HangUp;
    if (it->line.empty() ? !(answered || anyLine) : it->line != line)
      continue;
    SSimFault fault = *it;
    if (it->times > 0 && --it->times == 0)
      m_faults.erase(it);
    return fault;
  }
  return std::nullopt;
}

void SimulatedServoChain::Deliver(const std::string& reply, const std::optional<SSimFault>& fault)
{
  if (!fault) {
    WriteToProgram(reply);
    return;
  }
  switch (fault->kind) {
  case SSimFault::Silence:
    return;
  case SSimFault::Delay:
    WriteToProgram(reply);
    return;
  case SSimFault::Split: {
    size_t at = std::min(fault->splitAt, reply.size());
    WriteToProgram(reply.substr(0, at));
    std::this_thread::sleep_for(std::chrono::milliseconds(fault->delayMs));
    WriteToProgram(reply.substr(at));
    return;
  }
  case SSimFault::Garbage:
    WriteToProgram(fault->bytes);
    return;
  case SSimFault::NoCarriageReturn:
    WriteToProgram(!reply.empty() && reply.back() == '\r' ? reply.substr(0, reply.size() - 1) : reply);
    return;
  case SSimFault::WrongId:
    WriteToProgram(WithNextId(reply));
    return;
  case SSimFault::Drip:
    for (char byte : fault->bytes) {
      {
        std::lock_guard guard(m_lock);
        if (m_stopping)
          return;
      }
      if (!WriteToProgram(std::string(1, byte)))
        return;
      {
        std::lock_guard guard(m_lock);
        ++m_dripped;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(fault->delayMs));
    }
    return;
  case SSimFault::HangUp:
    if (fault->splitAt > 0)
      WriteToProgram(reply.substr(0, std::min(fault->splitAt, reply.size())));
    CloseMaster();
    return;
  }
}

bool SimulatedServoChain::WriteToProgram(const std::string& bytes)
{
  std::lock_guard guard(m_writeLock);
  size_t sent = 0;
  const auto giveUp = Clock::now() + std::chrono::seconds(1);
  while (sent < bytes.size() && m_master >= 0) {
    ssize_t n = write(m_master, bytes.data() + sent, bytes.size() - sent);
    if (n > 0) {
      sent += size_t(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR)
      return false;
    if (Clock::now() > giveUp)
      return false;
    pollfd p{m_master, POLLOUT, 0};
    poll(&p, 1, 10);
  }
  return sent == bytes.size();
}

void SimulatedServoChain::CloseMaster()
{
  std::lock_guard guard(m_writeLock);
  if (m_master >= 0) {
    close(m_master);
    m_master = -1;
  }
}

std::string SimulatedServoChain::StatusWord(ESimBootMode mode)
{
  switch (mode) {
  case ESimBootMode::Firmware:
    return "frw";
  case ESimBootMode::CommandMode:
    return "cmd";
  case ESimBootMode::WaitingForFirmware:
    return "wtf";
  case ESimBootMode::FlashFailed:
    return "flf";
  case ESimBootMode::WaitingForConfirm:
    return "wtc";
  }
  return {};
}
