// The firmware update through the servo's bootloader: choosing or downloading the file, the
// hand-over and the writer on timer 10.
#include "CZHVXProConfigApp.h"
#include "CZHVXProConfigDlg.h"
#include "CZLCDDisplay.h"
#include "CZMessageBox.h"
#include "CZSpectrumWnd.h"
#include "FileDialog.h"
#include "FileFunctions.h"
#include "ModalResponder.h"
#include "NativePath.h"
#include "StatusReadouts.h"
#include "WinTime.h"

#include <wx/gauge.h>
#include <wx/utils.h>

#include <filesystem>

namespace {
// The writer's window: the dialog's Connect button, timer 10, progress bar and read-outs.
class CDialogWriterHost : public IFirmwareWriterHost {
public:
  CDialogWriterHost(CZHVXProConfigDlg& dialog, std::function<void(bool)> setFlag, wxGauge* progress,
                    std::function<int(const CString&, UINT)> ask)
      : m_dialog(dialog), m_setFlag(std::move(setFlag)), m_progress(progress), m_ask(std::move(ask))
  {}
  void Wait(DWORD ms) override
  {
    wxBusyCursor wait;
    Sleep(ms);
  }
  int Ask(const CString& text, UINT type) override { return m_ask(text, type); }
  CString GetUpdateStatus() override
  {
    CZHVXProConfigApp* app = GetHvxApp();
    return app ? app->GetFirmwareUpdateStatus() : CString();
  }
  void SetUpdateStatus(const CString& status) override
  {
    if (CZHVXProConfigApp* app = GetHvxApp())
      app->SetFirmwareUpdateStatus(status);
  }
  void ToggleConnection() override { m_dialog.ConnectToggle(); }
  void PostConnect() override { m_dialog.CallAfter(&CZHVXProConfigDlg::ConnectToggle); }
  void StartTimer() override { m_dialog.SetTimer(kFirmwareWriterTimer, kFirmwareWriterPeriodMs); }
  void StopTimer() override { m_dialog.KillTimer(kFirmwareWriterTimer); }
  void ShowProgress(int range) override
  {
    m_range = std::max(range, 1);
    m_progress->SetRange(m_range);
    m_progress->SetValue(0);
    m_progress->Show();
  }
  // The writer counts one block past the range: the last, partial block.
  void SetProgress(int position) override { m_progress->SetValue(std::min(position, m_range)); }
  void HideProgress() override { m_progress->Hide(); }
  void ShowUpdateReadout() override
  {
    CZLCDDisplay* status = m_dialog.StatusReadout();
    const CString text = BusyStatusText(true, false, false);
    if (status->GetText() == text)
      return;
    m_dialog.PositionReadout()->SetText(L"");
    status->SetText(text);
    status->SetStepPeriod(BusyStatusStepPeriod(true));
  }
  void SetUpdateFlag(bool running) override { m_setFlag(running); }

private:
  CZHVXProConfigDlg& m_dialog;
  std::function<void(bool)> m_setFlag;
  wxGauge* m_progress;
  std::function<int(const CString&, UINT)> m_ask;
  int m_range = 1;
};

bool IsSameFile(const CString& a, const CString& b)
{
  std::error_code error;
  return std::filesystem::equivalent(NativePath(a), NativePath(b), error);
}
} // namespace

CFirmwareWriter& CZHVXProConfigDlg::FirmwareWriter()
{
  if (!m_firmwareWriter) {
    m_firmwareWriterHost = std::make_shared<CDialogWriterHost>(
        *this, [this](bool running) { m_firmwareUpdateRunning = running; }, m_progress,
        [this](const CString& text, UINT type) { return Ask(text, type); });
    m_firmwareWriter = std::make_unique<CFirmwareWriter>(m_port, *m_firmwareWriterHost);
  }
  return *m_firmwareWriter;
}

void CZHVXProConfigDlg::OnFirmwareUpdate()
{
  CFirmwareWriter& writer = FirmwareWriter();
  if (writer.IsRunning())
    return;
  const bool onlineTable = GetCompatibilityCsv();
  SwitchAllTracesOff();
  m_plot->RemoveAllTraces(true);
  UpdateData(false);

  CString path;
  bool downloaded = false;
  if (ChooseFirmwareFile(onlineTable, path, downloaded) && writer.Load(path, downloaded))
    writer.Confirm(m_currentId, m_bootloader, GetFileTitle(path));
  RefreshDialog();
  UpdateControls();
}

// The downloaded latest firmware when the server has a newer one and the user wants it, else a
// file the user picks. downloaded tells the app-data folder's "latest.hex" from any other file,
// whatever that one is named.
bool CZHVXProConfigDlg::ChooseFirmwareFile(bool onlineTable, CString& path, bool& downloaded)
{
  const CString latest = DataFolder() + L"latest.hex";
  const bool noFirmware = m_idText.Find(L"No Firmware") >= 0;
  if (!m_bootloader && onlineTable && !noFirmware && NewFirmwareAvailable() &&
      Ask(L"Download latest firmware?", MB_YESNO) == IDYES) {
    wxBusyCursor wait;
    if (DownloadFirmware()) {
      path = latest;
      downloaded = true;
      return true;
    }
  }
  if (onlineTable && !noFirmware &&
      Ask(L"No new firmware is available online.\nDo you wish to select a firmware file from your local "
          L"drive?",
          MB_YESNO) != IDYES)
    return false;
  const BYTE wasBusy = m_busy;
  m_busy = 1;
  const std::optional<CString> picked =
      AskFilePath(this, EModalKind::FileOpen, CString(), L"HVXPro Firmware File (*.hex)|*.hex", 0);
  m_busy = wasBusy;
  if (!picked)
    return false;
  path = *picked;
  downloaded = IsSameFile(path, latest);
  return true;
}

void CZHVXProConfigDlg::StepFirmwareWriter()
{
  FirmwareWriter().Tick();
}
