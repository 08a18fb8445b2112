// The on-line check for a newer program and firmware on the update server, and the downloads of
// the compatibility table, the installer and the firmware.
#include "AppImages.h"
#include "CZHVXProConfigApp.h"
#include "CZHVXProConfigDlg.h"
#include "CZMessageBox.h"
#include "CompatibilityTable.h"
#include "DownloadLimits.h"
#include "FileFunctions.h"
#include "FileVersion.h"
#include "HttpGet.h"
#include "MainDialogIds.h"
#include "NativePath.h"
#include "NetworkState.h"
#include "TextConversion.h"
#include "UpdateServer.h"
#include "UserFolders.h"
#include "VersionNumbers.h"

#include <wx/anybutton.h>
#include <wx/app.h>
#include <wx/evtloop.h>

#include <cstdlib>
#include <fstream>
#include <memory>

namespace {
constexpr size_t kTableLimit = 10'000;
constexpr size_t kInstallerLimit = 10'000'000;
constexpr size_t kFirmwareLimit = 1'000'000;

long long ProgramVersionNumber()
{
  SFileVersionInfo version;
  GetFileVersion(version, GetRunningProgramPath());
  return ParseVersion(version.text);
}

void TurnDownClose(wxCloseEvent& event)
{
  if (event.CanVeto())
    event.Veto();
  else
    event.Skip();
}

// Runs the transfer beside the window, which goes on painting meanwhile. Input waits in the
// toolkit's queue and calls queued for later stay queued; the timers still tick, and the busy
// flag keeps their work (which uses the serial port) from running. A close asked for meanwhile is
// turned down: the window must outlive the transfer's end.
bool DownloadAside(wxWindow& window, BYTE& busy, const SHttpGetRequest& request, SHttpGetResult& result)
{
  const BYTE wasBusy = busy;
  busy = 1;
  window.Bind(wxEVT_CLOSE_WINDOW, &TurnDownClose);
  wxApp* app = dynamic_cast<wxApp*>(wxTheApp);
  if (app)
    app->SuspendProcessingOfPendingEvents();
  // Before the dialog's own loop runs (the check at start-up) a loop of our own does the painting.
  std::unique_ptr<wxEventLoop> ownLoop;
  std::unique_ptr<wxEventLoopActivator> activator;
  if (app && !wxEventLoopBase::GetActive()) {
    ownLoop = std::make_unique<wxEventLoop>();
    activator = std::make_unique<wxEventLoopActivator>(ownLoop.get());
  }
  const bool ok = HttpGetAside(request, result, [app] {
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive(); app && loop)
      loop->YieldFor(wxEVT_CATEGORY_UI);
  });
  activator.reset();
  ownLoop.reset();
  if (app)
    app->ResumeProcessingOfPendingEvents();
  window.Unbind(wxEVT_CLOSE_WINDOW, &TurnDownClose);
  busy = wasBusy;
  return ok;
}

bool SaveBody(const CString& path, const std::string& body)
{
  std::ofstream file(NativePath(path), std::ios::binary | std::ios::trunc);
  return file && file.write(body.data(), std::streamsize(body.size())) && file.flush();
}
} // namespace

// A value that names no server is said once in the log, not at every check that skips it.
CString CZHVXProConfigDlg::ConfiguredUpdateServer()
{
  CString refusal;
  const CString server = UpdateServerBaseUrl(ProfileString(kUpdateServerSection, kUpdateServerEntry, L""),
                                             std::getenv(kUpdateServerVariable), &refusal);
  if (!refusal.IsEmpty() && refusal != m_updateServerRefusal)
    LogLine(refusal);
  m_updateServerRefusal = refusal;
  return server;
}

CString CZHVXProConfigDlg::DataFolder()
{
  CZHVXProConfigApp* app = GetHvxApp();
  return app ? app->GetDataFolder() : CString();
}

// Any failure, from no network to a body over the limit, is a false: the callers go on as
// without the server. Only a transfer given up for its time says so, in one log line, since
// nothing else tells the user why the wait ended without a result.
bool CZHVXProConfigDlg::DownloadFromUpdateServer(const char* agent, const std::string& path, size_t limit,
                                                 std::string& body)
{
  if (!MayAskUpdateServer(m_updateServerName, IsInternetConnected()))
    return false;
  const SDownloadLimits limits = DownloadLimitsFor(limit > kTableLimit ? EDownload::File : EDownload::Table);
  SHttpGetRequest request;
  request.url = UpdateServerUrl(m_updateServerName, path);
  request.userAgent = agent;
  request.maxBodyBytes = limit;
  request.connectTimeoutMs = limits.connectTimeoutMs;
  request.totalTimeoutMs = limits.totalTimeoutMs;
  request.lowSpeedBytesPerSecond = limits.stallBytesPerSecond;
  request.lowSpeedTimeSeconds = limits.stallSeconds;
  SHttpGetResult result;
  const bool got = DownloadAside(*this, m_busy, request, result);
  if (result.timedOut)
    LogLine(L"The download of " + FromUtf8(path) + L" from the update server stalled and was abandoned.");
  if (!got || result.body.empty())
    return false;
  body = std::move(result.body);
  return true;
}

bool CZHVXProConfigDlg::GetCompatibilityCsv()
{
  m_updateServerName = ConfiguredUpdateServer();
  std::string body;
  if (!DownloadFromUpdateServer("HVXProConfig Software Availability Check", kCompatibilityTablePath,
                                kTableLimit, body))
    return false;
  return ParseCompatibilityTable(body, DataFolder() + L"Compatibility.csv", m_compatibilityTable);
}

bool CZHVXProConfigDlg::NewFirmwareAvailable()
{
  const int id = m_currentId;
  SServoIdentity servo;
  servo.boardId = m_port.QueryBoardId(id);
  servo.modelId = m_port.QueryModelId(id);
  servo.bootloaderVersion = ParseVersion(m_port.QueryBootloaderVersion(id));
  servo.firmwareVersion = ParseVersion(m_port.QueryFirmwareVersion(id));
  return FindNewFirmware(m_compatibilityTable, ProgramVersionNumber(), servo, m_latestFirmwareVersion);
}

bool CZHVXProConfigDlg::NewProgramAvailable()
{
  return FindNewProgram(m_compatibilityTable, ProgramVersionNumber(), m_latestProgramVersion);
}

bool CZHVXProConfigDlg::DownloadInstaller()
{
  if (m_latestProgramVersion.IsEmpty())
    return false;
  const CString path = DataFolder() + L"latest.msi";
  DeleteFiles(path);
  std::string body;
  if (!DownloadFromUpdateServer("HVXProConfig Firmware Availability Check",
                                InstallerPath(m_latestProgramVersion), kInstallerLimit, body) ||
      !SaveBody(path, body))
    return false;
  // A Windows Installer package cannot run here, and a file fetched over plain HTTP is never
  // started by the program in any case: the user decides what to do with it.
  CString text;
  text.Format(L"The installer of HVX PRO Config %s was saved as\n%s\nIt is not started by this program.",
              m_latestProgramVersion.GetString(), path.GetString());
  Ask(text, MB_OK);
  return true;
}

bool CZHVXProConfigDlg::DownloadFirmware()
{
  const CString path = DataFolder() + L"latest.hex";
  DeleteFiles(path);
  std::string body;
  return DownloadFromUpdateServer("HVXPro Firmware Download", FirmwarePath(m_latestFirmwareVersion),
                                  kFirmwareLimit, body) &&
         SaveBody(path, body);
}

// No table: the buttons keep their off-line look.
bool CZHVXProConfigDlg::CheckOnlineForNewVersion()
{
  if (!GetCompatibilityCsv())
    return false;
  if (NewProgramAvailable() &&
      Ask(L"A new version of HVX PRO Config is available.\nDo you want to upgrade now?", MB_YESNO) == IDYES)
    DownloadInstaller();
  return true;
}

void CZHVXProConfigDlg::UpdateFirmwareButtonImage()
{
  if (!GetCompatibilityCsv())
    return;
  const wxBitmap bitmap =
      LoadAppBitmap(NewFirmwareAvailable() ? kFirmwareAvailableImage : kFirmwareUpdateImage);
  if (auto* button = dynamic_cast<wxAnyButton*>(FindWindow(IDC_FIRMWARE_UPDATE)); button && bitmap.IsOk())
    button->SetBitmap(bitmap);
}
