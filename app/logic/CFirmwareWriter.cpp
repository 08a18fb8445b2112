#include "CFirmwareWriter.h"

#include "IntelHexImage.h"
#include "MessageBoxTypes.h"
#include "NativePath.h"

#include <climits>
#include <fstream>
#include <iterator>

namespace {
constexpr const wchar_t* kFailed = L"The firmware writing process failed.";
constexpr const wchar_t* kSucceeded = L"Successfully completed the firmware update!";
} // namespace

CFirmwareWriter::CFirmwareWriter(CHVXProControlPort& port, IFirmwareWriterHost& host)
    : m_port(port), m_host(host)
{}

void CFirmwareWriter::SetRunning(bool running)
{
  m_running = running;
  m_host.SetUpdateFlag(running);
}

bool CFirmwareWriter::Load(const CString& path, bool downloaded)
{
  SetRunning(true);
  m_image.clear();
  std::ifstream file(NativePath(path), std::ios::binary | std::ios::ate);
  const std::streamoff length = file ? std::streamoff(file.tellg()) : -1;
  if (length < 0 || length > INT_MAX) {
    SetRunning(false);
    return false;
  }
  file.seekg(0);
  m_image.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (!IsIntelHexImage(m_image.data(), m_image.size())) {
    m_image.clear();
    SetRunning(false);
    CString text;
    text.Format(L"The file is not a firmware hex file and was not written to the servo:\n%s",
                path.GetString());
    m_host.Ask(text, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  m_downloaded = downloaded;
  return true;
}

EFirmwareStart CFirmwareWriter::Confirm(int servoId, bool bootloader, const CString& fileTitle)
{
  m_blockIndex = 0;
  const CString started = m_downloaded ? kStarted : kStartedManual;
  bool accepted;
  if (bootloader) {
    accepted =
        m_host.Ask(L"The firmware will be written to the servo.\nDo you wish to continue?", MB_YESNO) != IDNO;
    if (accepted)
      m_host.SetUpdateStatus(started);
  } else {
    m_port.Send(servoId, "UPDATE");
    CString question;
    if (m_downloaded)
      question = L"The new firmware will be written to the servo. Do you wish to proceed?";
    else
      question.Format(L"The current firmware will be erased and replaced with the contents of the selected "
                      L"file: %s\nDo you wish to continue?",
                      fileTitle.GetString());
    accepted = m_host.Ask(question, MB_YESNO) == IDYES;
    if (accepted) {
      m_host.SetUpdateStatus(started);
      m_port.Send(servoId, "CONFIRM");
      m_host.Wait(kSettleMs);
    } else {
      // The pending "UPDATE" is left unconfirmed.
      m_port.Send(servoId, "QID");
    }
  }
  if (!accepted) {
    m_image.clear();
    m_host.HideProgress();
    SetRunning(false);
    return EFirmwareStart::Declined;
  }
  Start();
  return EFirmwareStart::Started;
}

void CFirmwareWriter::Start()
{
  m_delayTicks = 2;
  m_state = StateLeave;
  m_blockIndex = 0;
  m_failedWrites = 0;
  m_bootloaderReached = true;
  m_host.StartTimer();
  SetRunning(true);
}

void CFirmwareWriter::Tick()
{
  if (m_delayTicks > 0) {
    --m_delayTicks;
    return;
  }
  m_host.ShowUpdateReadout();
  switch (m_state) {
  case StateLeave:
    Leave();
    break;
  case StateEnterBootloader:
    EnterBootloader();
    break;
  case StateWrite:
    WriteBlock();
    break;
  case StateFinish:
    Finish();
    break;
  default:
    break;
  }
}

void CFirmwareWriter::Leave()
{
  m_host.ToggleConnection();
  m_host.Wait(kSettleMs);
  m_delayTicks = 2;
  m_state = StateEnterBootloader;
}

void CFirmwareWriter::EnterBootloader()
{
  m_host.ToggleConnection();
  m_host.Wait(kSettleMs);
  // Blocks sent to a closed port or to a servo still running its firmware go nowhere.
  if (!m_port.IsConnected() || m_port.GetStatus() != CHVXProControlPort::StatusWaitingForFirmware) {
    m_bootloaderReached = false;
    m_state = StateFinish;
    return;
  }
  m_host.ShowProgress(int(m_image.size()) / kBlockSize);
  m_blockIndex = 0;
  m_failedWrites = 0;
  m_state = StateWrite;
}

void CFirmwareWriter::WriteBlock()
{
  if (m_blockIndex >= BlockCount()) {
    m_state = StateFinish;
    return;
  }
  const size_t first = size_t(m_blockIndex) * kBlockSize;
  const size_t count = std::min<size_t>(kBlockSize, m_image.size() - first);
  if (!m_port.Write(m_image.data() + first, DWORD(count))) {
    if (++m_failedWrites >= kMaxBlockRetries)
      m_state = StateFinish;
    return;
  }
  m_failedWrites = 0;
  ++m_blockIndex;
  m_host.SetProgress(m_blockIndex);
  m_host.Wait(kAfterBlockMs);
}

void CFirmwareWriter::Finish()
{
  m_host.SetProgress(0);
  m_host.HideProgress();
  const bool completed = m_blockIndex >= BlockCount();
  m_image.clear();
  m_host.StopTimer();
  m_host.Wait(kSettleMs);
  if (completed) {
    m_host.SetUpdateStatus(kCompleted);
    m_host.Ask(kSucceeded, MB_OK);
  } else {
    // A picked file cannot be resumed from the downloaded one: the status stays "STARTED_MANUAL".
    if (m_downloaded)
      m_host.SetUpdateStatus(kAborted);
    // A servo that never reached its bootloader got nothing: that is said before the verdict.
    const CString reason = m_bootloaderReached ? L"" : L"The servo's bootloader did not answer.\n";
    m_host.Ask(reason + kFailed, MB_OK);
  }
  SetRunning(false);
  if (m_port.IsConnected())
    m_host.ToggleConnection();
  m_host.PostConnect();
}
