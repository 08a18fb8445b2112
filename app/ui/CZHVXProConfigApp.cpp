#include "CZHVXProConfigApp.h"

#include "CZHVXProConfigDlg.h"
#include "SerialPortNumberStore.h"
#include "StandardMessageBox.h"

#include <curl/curl.h>
#include <wx/clipbrd.h>
#include <wx/graphics.h>

#include <vector>

namespace {
std::vector<CZHVXProConfigApp*>& LiveApps()
{
  static std::vector<CZHVXProConfigApp*> apps;
  return apps;
}

constexpr const wchar_t* kFirmwareUpdateSection = L"Firmware Update";
constexpr const wchar_t* kEncoderCalibrationSection = L"Encoder Calibration";
constexpr const wchar_t* kStatusEntry = L"Status";
} // namespace

CZHVXProConfigApp* GetHvxApp()
{
  return LiveApps().empty() ? nullptr : LiveApps().back();
}

CZHVXProConfigApp::CZHVXProConfigApp()
{
  LiveApps().push_back(this);
}

CZHVXProConfigApp::~CZHVXProConfigApp()
{
  std::erase(LiveApps(), this);
  if (m_portNumbers && GetSerialPortNumberStore() == m_portNumbers)
    SetSerialPortNumberStore(nullptr);
  if (m_networkStarted)
    curl_global_cleanup();
}

void CZHVXProConfigApp::CGdiPlusInit::Start()
{
  if (m_token != 0)
    return;
  if (wxGraphicsRenderer::GetDefaultRenderer()) {
    m_token = 1;
    return;
  }
  CString text;
  text.Format(L"GdiplusStartup failed code %d", 1);
  AfxMessageBox(text, MB_OK);
}

bool CZHVXProConfigApp::StartUp()
{
  CZWinAppEx::InitInstance();
  KeepPortNumbersInProfile();
  m_gdiPlus.Start();
  // The HTTP downloads need the network library's global state before any thread exists.
  if (!m_networkStarted)
    m_networkStarted = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  if (!m_networkStarted) {
    AfxMessageBox(L"Windows sockets initialization failed.", MB_OK);
    return false;
  }
  return true;
}

// Each serial device keeps its "COMn" number across runs in the profile's "Ports" section.
void CZHVXProConfigApp::KeepPortNumbersInProfile()
{
  m_portNumbers = std::make_shared<CProfileSerialPortNumberStore>(
      [this](const wchar_t* section, const wchar_t* entry) { return GetProfileString(section, entry, L""); },
      [this](const wchar_t* section, const wchar_t* entry, const wchar_t* value) {
        WriteProfileString(section, entry, value);
      });
  SetSerialPortNumberStore(m_portNumbers);
}

BOOL CZHVXProConfigApp::InitInstance()
{
  if (!StartUp())
    return FALSE;
  CZHVXProConfigDlg dialog(nullptr);
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;
  // A trace copied from the plot is still there to paste once the program has ended.
  wxTheClipboard->Flush();
  return FALSE;
}

CString CZHVXProConfigApp::GetFirmwareUpdateStatus() const
{
  return GetProfileString(kFirmwareUpdateSection, kStatusEntry, L"");
}

void CZHVXProConfigApp::SetFirmwareUpdateStatus(const CString& text)
{
  WriteProfileString(kFirmwareUpdateSection, kStatusEntry, text);
}

void CZHVXProConfigApp::SetEncoderCalibrationStatus(const CString& text)
{
  WriteProfileString(kEncoderCalibrationSection, kStatusEntry, text);
}
