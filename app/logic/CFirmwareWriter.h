#pragma once
// The firmware update through the servo's bootloader: the hand-over ("UPDATE", "CONFIRM") and the
// timer-driven writer that disconnects, reconnects to the bootloader and streams the image to it
// in 1024-byte blocks. Everything it needs of the window (the Connect button, the timer, the
// progress bar, prompts, the profile's "Firmware Update"/"Status", waits) comes through the host,
// so that a whole update runs against a servo without a window.
//
// The image is the file's bytes as they are; it is sent only when it is an Intel HEX file.
#include "CHVXProControlPort.h"
#include "CString.h"
#include "WinTypes.h"

#include <vector>

class IFirmwareWriterHost {
public:
  virtual ~IFirmwareWriterHost() = default;
  virtual void Wait(DWORD milliseconds) = 0;
  virtual int Ask(const CString& text, UINT type) = 0;
  virtual CString GetUpdateStatus() = 0;
  // Written to the profile at once: an update under way must be known after a crash.
  virtual void SetUpdateStatus(const CString& status) = 0;
  // The Connect button's command, run now: disconnects when connected, connects otherwise.
  virtual void ToggleConnection() = 0;
  // The Connect button's command, run once the current handler has returned.
  virtual void PostConnect() = 0;
  virtual void StartTimer() = 0; // the writer's ticks, every 50 ms
  virtual void StopTimer() = 0;
  virtual void ShowProgress(int range) = 0; // shown, 0 to range, at 0
  virtual void SetProgress(int position) = 0;
  virtual void HideProgress() = 0;
  // The read-outs say "Firmware Update" while the writer runs.
  virtual void ShowUpdateReadout() = 0;
  // The firmware-update flag: raised from the image's load until the writer ends.
  virtual void SetUpdateFlag(bool running) = 0;
};

// How a firmware update that was asked for ended up.
enum class EFirmwareStart {
  Started,  // the writer runs
  Declined, // the user said No: nothing was written and the profile is as it was
};

class CFirmwareWriter {
public:
  enum EState { StateLeave = 0, StateEnterBootloader = 1, StateWrite = 2, StateFinish = 3 };
  static constexpr int kBlockSize = 1024;
  static constexpr DWORD kSettleMs = 3000;
  static constexpr DWORD kAfterBlockMs = 10;
  // Consecutive failed writes of one block before the update is given up (3 s of ticks).
  static constexpr int kMaxBlockRetries = 60;

  static constexpr const wchar_t* kStarted = L"STARTED";
  static constexpr const wchar_t* kStartedManual = L"STARTED_MANUAL";
  static constexpr const wchar_t* kCompleted = L"COMPLETED";
  static constexpr const wchar_t* kAborted = L"ABORTED";

  CFirmwareWriter(CHVXProControlPort& port, IFirmwareWriterHost& host);

  // Reads the file whole as the image and checks it. downloaded tells the program's own
  // downloaded file from one the user picked: only the downloaded one is resumed after a break.
  // False, with the flag lowered, when the file cannot be read or does not fit an int (quietly)
  // or is no Intel HEX file (the user is told).
  bool Load(const CString& path, bool downloaded);
  bool HasImage() const { return !m_image.empty(); }

  // Asks the user and hands the servo over to its bootloader, then starts the writer. With the
  // servo already in its bootloader nothing is sent before the writer starts.
  EFirmwareStart Confirm(int servoId, bool bootloader, const CString& fileTitle);
  // The writer from its first state, after two skipped ticks (also the resume after a break).
  void Start();
  // One timer tick.
  void Tick();

  bool IsRunning() const { return m_running; }
  int BlockIndex() const { return m_blockIndex; }
  // Blocks 0 to size / 1024 of the image loaded: the last one short, or empty.
  int BlockCount() const { return int(m_image.size()) / kBlockSize + 1; }

private:
  void Leave();
  void EnterBootloader();
  void WriteBlock();
  void Finish();
  void SetRunning(bool running);

  CHVXProControlPort& m_port;
  IFirmwareWriterHost& m_host;
  std::vector<BYTE> m_image;
  bool m_downloaded = false;
  int m_state = StateFinish;
  int m_delayTicks = -1;
  int m_blockIndex = 0;
  int m_failedWrites = 0;
  bool m_bootloaderReached = true;
  bool m_running = false;
};
