#pragma once
// A chain of simulated servos on a pseudo-terminal, registered as a COM port through
// HVX_SERIAL_PORTS for as long as it lives, so the program opens it like a USB adapter.
//
// Both ends are in raw mode and the chain keeps its own slave descriptor open, so the program can
// close and reopen the port without the terminal going away. A thread reads the lines the
// program sends ("\r"-ended), logs each with the time its "\r" arrived and answers the way a
// servo chain does: a query to a known id in one write after the reply delay, nothing for actions
// and configurations, one reply per servo back to back for a "#254" broadcast, and the
// bootloader's words ("STATUS", "jmp", "WAITING FOR FIRMWARE.") according to the boot mode.
// Faults are injected per line. Every byte received is kept too, in chunks with the time each
// came (a firmware image is no line; its blocks and the gaps between them show there).
//
// To model more of the servo (firmware transfer, calibration), extend SSimulatedServo or the
// chain's Compose; for a one-off answer in a test, SetLineHandler is enough.
#include "CString.h"
#include "ScopedEnvironment.h"
#include "SimulatedBootloader.h"
#include "SimulatedServo.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

enum class ESimBootMode {
  Firmware,           // the firmware runs: "#" lines answered, "STATUS" gives "frw"
  CommandMode,        // "STATUS" gives "cmd", "#" lines unanswered
  WaitingForFirmware, // "STATUS" gives "wtf", "#254QID" gives "WAITING FOR FIRMWARE."
  FlashFailed,        // "STATUS" gives "flf"
  WaitingForConfirm,  // "STATUS" gives "wtc"
};

struct SSimFault {
  enum EKind {
    Silence,          // no reply
    Delay,            // the reply delayMs later than usual
    Split,            // the first splitAt bytes, a gap of delayMs, then the rest
    Garbage,          // bytes in place of the reply
    NoCarriageReturn, // the reply without its final "\r"
    WrongId,          // the reply names the next id up
    HangUp,           // the first splitAt bytes of the reply, then the line hangs up for good
    Drip,             // bytes in place of the reply, one at a time, delayMs apart
  };
  EKind kind = Silence;
  std::string line; // the received line it applies to, without "\r"; empty: any line
  int times = 1;    // how many lines it applies to; -1 for every one
  int delayMs = 0;
  size_t splitAt = 0;
  std::string bytes;
};

struct SReceivedLine {
  std::string text; // without the "\r"
  std::chrono::steady_clock::time_point time;
};

struct SReceivedChunk {
  std::string bytes;
  std::chrono::steady_clock::time_point time;
};

class SimulatedServoChain {
public:
  static constexpr int kDefaultPortNumber = 42;

  explicit SimulatedServoChain(int portNumber = kDefaultPortNumber);
  ~SimulatedServoChain();
  SimulatedServoChain(const SimulatedServoChain&) = delete;
  SimulatedServoChain& operator=(const SimulatedServoChain&) = delete;

  int PortNumber() const { return m_portNumber; }
  CString PortName() const; // "COM42"
  const std::string& DevicePath() const { return m_devicePath; }

  // --- servos, answered in the order they were added
  void AddServo(const SSimulatedServo& servo);
  // count servos with ids firstId, firstId + 1, ...; the one with masterId is the master.
  void AddServos(int count, int masterId, int firstId = 1);
  void UpdateServo(int id, const std::function<void(SSimulatedServo&)>& change);
  // A copy of the servo, with a move under way brought up to the chain's clock.
  SSimulatedServo GetServo(int id) const;
  // The clock the motion model runs on (steady_clock by default), so that a test can step time.
  void SetClock(std::function<std::chrono::steady_clock::time_point()> now);

  // --- behaviour
  void SetReplyDelay(std::chrono::microseconds delay);
  void SetBootMode(ESimBootMode mode);
  ESimBootMode GetBootMode() const;
  // The mode that "jmp" leads to from a bootloader mode (Firmware unless told otherwise).
  void SetModeAfterJump(ESimBootMode mode);
  // The answer to "STATUS" in place of the boot mode's word ("\r" included); nullopt restores it.
  void SetStatusAnswer(std::optional<std::string> bytes);
  void InjectFault(const SSimFault& fault);
  // Consulted first for every line: bytes to answer with, or nullopt to go on as usual. For
  // behaviour this chain does not model yet.
  void SetLineHandler(std::function<std::optional<std::string>(const std::string& line)> handler);
  // Bytes to the program, unasked.
  void SendRaw(const std::string& bytes);
  // The other end goes away: the program's port sees a hang-up and cannot be opened again.
  void HangUp();

  // --- traffic
  std::vector<SReceivedLine> Received() const;
  std::vector<std::string> ReceivedTexts() const;
  // The received lines once there are at least count of them, or whatever came within timeout.
  std::vector<std::string> WaitForLines(size_t count,
                                        std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
  std::vector<SReceivedChunk> ReceivedChunks() const;
  std::string ReceivedBytes() const;
  // Every byte received once there are at least count of them, or whatever came within timeout.
  std::string WaitForBytes(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
  void ClearReceived();
  // The firmware image bytes the bootloader took (SimulatedBootloader.h), once there are at least
  // count of them or whatever came within timeout.
  std::string ReceivedImage() const;
  std::string WaitForImage(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
  // The line hangs up for good once this many image bytes have come: an update broken off.
  void HangUpAfterImageBytes(size_t count);
  // Returns once the chain has taken in everything the program wrote and answered it: what a
  // wait of the program's would have given the line time for. Sleepers in tests call it in place
  // of the wait, so that a port closed and purged right after the wait loses nothing.
  void Settle(std::chrono::milliseconds timeout = std::chrono::seconds(5)) const;
  // How many bytes the drips so far have written.
  size_t DrippedBytes() const;
  // From the "\r" of the last answered line to the end of the reply's write.
  std::chrono::nanoseconds LastReplyLatency() const;

private:
  void Run();
  std::string FeedBootloader(const std::string& bytes);
  void HandleLine(const std::string& line, std::chrono::steady_clock::time_point arrived);
  std::optional<std::string> Compose(const std::string& line);
  std::optional<SSimFault> TakeFault(const std::string& line, bool answered);
  void Deliver(const std::string& reply, const std::optional<SSimFault>& fault);
  bool WriteToProgram(const std::string& bytes);
  void CloseMaster();
  bool IsIdle() const;
  static std::string StatusWord(ESimBootMode mode);
  std::chrono::steady_clock::time_point Now() const; // m_lock held

  int m_portNumber;
  std::string m_devicePath;
  std::optional<ScopedEnvironment> m_ports; // HVX_SERIAL_PORTS with this chain's entry added
  int m_master = -1;
  int m_slave = -1;
  int m_wake = -1;

  mutable std::mutex m_lock; // everything below
  mutable std::condition_variable m_changed;
  std::vector<SSimulatedServo> m_servos;
  std::chrono::microseconds m_replyDelay{500};
  ESimBootMode m_bootMode = ESimBootMode::Firmware;
  ESimBootMode m_modeAfterJump = ESimBootMode::Firmware;
  std::optional<std::string> m_statusAnswer;
  SimulatedBootloader m_bootloader;
  std::vector<SSimFault> m_faults;
  std::function<std::optional<std::string>(const std::string&)> m_lineHandler;
  std::vector<SReceivedLine> m_lines;
  std::vector<SReceivedChunk> m_chunks;
  size_t m_bytesReceived = 0;
  size_t m_dripped = 0;
  std::function<std::chrono::steady_clock::time_point()> m_clock;
  std::chrono::nanoseconds m_lastLatency{0};
  bool m_stopping = false;
  bool m_busy = false; // between reading bytes and having answered the lines they end

  mutable std::mutex m_writeLock; // m_master against HangUp
  std::thread m_thread;
};
