// The on-line check for a newer program and firmware on the update server, and the downloads of
// the compatibility table, the installer and the firmware.
#include "AppImages.h"
#include "CZHVXProConfigApp.h"
#include "CZHVXProConfigDlg.h"
#include "CZMessageBox.h"
#include "CompatibilityTable.h"
#include "FileFunctions.h"
#include "FileVersion.h"
#include "HttpGet.h"
#include "MainDialogIds.h"
#include "NativePath.h"
#include "NetworkState.h"
#include "UpdateServer.h"
#include "UserFolders.h"
#include "VersionNumbers.h"

#include <wx/anybutton.h>

#include <cstdlib>
#include <fstream>

namespace {
constexpr size_t kTableLimit = 10'000;
constexpr size_t kInstallerLimit = 10'000'000;
constexpr size_t kFirmwareLimit = 1'000'000;
// The table is small and asked for while the user waits; the files may come over a slow line.
constexpr long kTableTimeoutMs = 10'000;
constexpr long kFileTimeoutMs = 300'000;

long long ProgramVersionNumber()
{
  SFileVersionInfo version;
  GetFileVersion(version, GetRunningProgramPath());
  return ParseVersion(version.text);
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

// Any failure, from no network to a body over the limit, is a quiet false: the callers go on as
// without the server.
bool CZHVXProConfigDlg::DownloadFromUpdateServer(const char* agent, const std::string& path, size_t limit,
                                                 std::string& body)
{
  if (!MayAskUpdateServer(m_updateServerName, IsInternetConnected()))
    return false;
  SHttpGetRequest request;
  request.url = UpdateServerUrl(m_updateServerName, path);
  request.userAgent = agent;
  request.maxBodyBytes = limit;
  request.totalTimeoutMs = limit > kTableLimit ? kFileTimeoutMs : kTableTimeoutMs;
  SHttpGetResult result;
  if (!HttpGet(request, result) || result.body.empty())
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
