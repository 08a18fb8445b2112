// The command panels of the main dialog: query, action, configuration and free-format commands,
// the log, and the RESET, DEFAULT, STOP, Restart, Clear and Help buttons.
#include "BrowserLaunch.h"
#include "CZHVXProConfigApp.h"
#include "CZHVXProConfigDlg.h"
#include "CZMessageBox.h"
#include "CommandLines.h"
#include "MainDialogIds.h"
#include "NetworkState.h"
#include "ServoReplies.h"
#include "StatusReadouts.h"
#include "UpdateServer.h"

#include "WinTime.h"

#include <wx/anybutton.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/utils.h>

namespace {
// How long an action is given before the servo is asked whether it took it.
constexpr DWORD kCommandSettleMs = 200;
constexpr DWORD kResetRestartMs = 4000;
constexpr DWORD kResetReconnectSettleMs = 2000;
} // namespace

int CZHVXProConfigDlg::Ask(const CString& text, UINT type)
{
  const BYTE wasBusy = m_busy;
  m_busy = 1;
  const int answer = ZMessageBox(text, type, 0);
  m_busy = wasBusy;
  return answer;
}

void CZHVXProConfigDlg::FillCommandCombos()
{
  // The combos sort their rows themselves. GTK opens a list as wide as its widest row, so the
  // drop-down width needs no setting.
  const SCommandComboTexts texts = CommandComboTexts(m_cmdInfoList);
  auto fill = [](wxComboBox* combo, const std::vector<CString>& rows) {
    for (const CString& row : rows)
      combo->Append(row.GetString());
  };
  fill(m_queryCombo, texts.query);
  fill(m_actionCombo, texts.action);
  fill(m_configCombo, texts.configuration);
}

void CZHVXProConfigDlg::OnQuerySend()
{
  if (m_currentId < 0)
    return;
  const CStringA mnemonic(MnemonicFromComboText(m_queryText));
  if (m_port.Send(m_currentId, mnemonic) == CHVXProControlPort::StatusSuccess) {
    LogLine(m_port.GetLastCommand());
    LogLine(m_port.GetLastReply());
  }
  UpdateControls();
}

void CZHVXProConfigDlg::OnQueryComboSelChange()
{
  UpdateData(true);
  FindWindow(IDC_QUERY_DESCRIPTION)->Refresh();
  FindCommandDescription(m_cmdInfoList, MnemonicFromComboText(m_queryText), m_queryDescription);
  UpdateControls();
}

void CZHVXProConfigDlg::OnActionComboSelChange()
{
  UpdateData(true);
  FindWindow(IDC_ACTION_DESCRIPTION)->Refresh();
  FindCommandDescription(m_cmdInfoList, FirstTokenOf(m_actionText), m_actionDescription);
  UpdateControls();
}

void CZHVXProConfigDlg::OnConfigComboSelChange()
{
  UpdateData(true);
  FindWindow(IDC_CONFIG_DESCRIPTION)->Refresh();
  FindCommandDescription(m_cmdInfoList, MnemonicFromComboText(m_configText), m_configDescription);
  UpdateControls();
}

// Sends the panel's mnemonic with its value, or alone when the value is empty. A value that is
// not a whole number is refused before anything is sent.
int CZHVXProConfigDlg::SendPanelCommand(const CString& comboText, CString& valueText)
{
  const CStringA mnemonic(FirstTokenOf(comboText));
  valueText.Trim();
  int value = 0;
  switch (ParseCommandValue(valueText, value)) {
  case ECommandValue::Empty:
    return m_port.Send(m_currentId, mnemonic);
  case ECommandValue::Number:
    return m_port.Send(m_currentId, mnemonic, value);
  case ECommandValue::Invalid:
    break;
  }
  Ask(InvalidValueMessage(valueText), MB_OK | MB_ICONEXCLAMATION);
  return -1;
}

void CZHVXProConfigDlg::OnActionSend()
{
  UpdateData(true);
  if (m_currentId < 0)
    return;
  const int status = SendPanelCommand(m_actionText, m_actionValue);
  if (status > 0) {
    Ask(L"Syntax Error!", MB_OK);
  } else if (status == 0) {
    LogLine(m_port.GetLastCommand());
    Sleep(kCommandSettleMs);
    CheckCommandError();
  }
  UpdateControls();
}

void CZHVXProConfigDlg::OnConfigSend()
{
  UpdateData(true);
  if (m_currentId < 0)
    return;
  const int status = SendPanelCommand(m_configText, m_configValue);
  if (status > 0) {
    Ask(L"Syntax Error!", MB_OK);
  } else if (status == 0) {
    LogLine(m_port.GetLastCommand());
    if (m_port.QueryWaitingConfirm(m_currentId)) {
      KillTraceTimers();
      KillTimer(kStatusPollTimer);
      if (Ask(L"Please confirm the configuration change.", MB_OKCANCEL) == IDOK) {
        m_port.Send(m_currentId, "CONFIRM");
        LogLine(m_port.GetLastCommand());
      }
      SetTimer(kStatusPollTimer, kStatusPollPeriodMs);
      StartTraceTimers();
    }
    CheckCommandError();
  }
  UpdateControls();
}

void CZHVXProConfigDlg::OnFreeFormatSend()
{
  UpdateData(true);
  const CString line = BuildFreeFormatLine(m_freeFormatText, m_currentId);
  const EFreeFormatRoute route = RouteFreeFormatLine(line);
  if (route == EFreeFormatRoute::DefaultButton) {
    CallAfter([this, id = AddressedId(line, m_currentId)] { DefaultServo(id); });
  } else if (route == EFreeFormatRoute::FirmwareUpdateButton) {
    CallAfter(&CZHVXProConfigDlg::OnFirmwareUpdate);
  } else if (m_port.Transact(line) == CHVXProControlPort::StatusSuccess) {
    LogLine(m_port.GetLastCommand());
    if (!m_port.GetLastReply().IsEmpty())
      LogLine(m_port.GetLastReply());
    Sleep(kCommandSettleMs);
    CheckCommandError(AddressedId(line, m_currentId));
  } else {
    Ask(L"Syntax Error!", MB_OK);
  }
  UpdateControls();
}

void CZHVXProConfigDlg::CheckCommandError()
{
  CheckCommandError(m_currentId);
}

// Several servos answer a broadcast "QCE" back to back, so their codes cannot be told apart:
// the broadcast id is not checked, and neither is "no servo".
void CZHVXProConfigDlg::CheckCommandError(int id)
{
  if (id < 0 || id == CHVXProControlPort::kBroadcastId)
    return;
  if (m_port.Send(id, "QCE") != CHVXProControlPort::StatusSuccess)
    return;
  const int code = m_port.GetReplyValue();
  if (code == 0)
    return;
  CZMessageBox box(nullptr);
  box.SetText(CommandErrorMessage(code));
  const BYTE wasBusy = m_busy;
  m_busy = 1;
  box.DoModal();
  m_busy = wasBusy;
}

void CZHVXProConfigDlg::DisconnectIfConnected()
{
  if (m_port.IsConnected())
    ConnectToggle();
}

void CZHVXProConfigDlg::OnReset()
{
  if (ButtonCaption(IDC_RESET).IsEmpty())
    SetButtonCaption(IDC_RESET, L"RESET");
  const CString keptIdText = m_idText;
  const int keptId = m_currentId;
  if (keptId < 0 || m_port.Send(keptId, "RESET") != CHVXProControlPort::StatusSuccess) {
    UpdateControls();
    return;
  }
  const BYTE wasBusy = m_busy;
  m_busy = 1;
  LogLine(m_port.GetLastCommand());
  DisconnectIfConnected();
  RefreshDialog();
  {
    wxBusyCursor wait;
    Sleep(kResetRestartMs);
    ConnectToggle();
    m_idText = keptIdText;
    m_currentId = keptId;
    Sleep(kResetReconnectSettleMs);
    FillIdCombo();
    const int row = FindIdRow(IdRows(), keptId);
    if (row >= 0)
      m_idCombo->SetSelection(row);
  }
  m_busy = wasBusy;
  SelectServoId();
  UpdateControls();
}

void CZHVXProConfigDlg::OnDefault()
{
  DefaultServo(m_currentId);
}

void CZHVXProConfigDlg::DefaultServo(int id)
{
  if (id < 0) {
    UpdateControls();
    return;
  }
  KillTraceTimers();
  KillTimer(kStatusPollTimer);
  if (m_port.Send(id, "DEFAULT") == CHVXProControlPort::StatusSuccess) {
    LogLine(m_port.GetLastCommand());
    if (Ask(L"Are you sure you want to reconfigure the HVX Pro Servo to its default values?", MB_YESNO) ==
        IDYES) {
      m_port.Send(id, "CONFIRM");
      LogLine(m_port.GetLastCommand());
    }
  }
  // The traces still shown as running go on, and so does the poll, whatever the servo made of it.
  if (m_port.IsConnected()) {
    SetTimer(kStatusPollTimer, kStatusPollPeriodMs);
    StartTraceTimers();
  }
  UpdateControls();
}

void CZHVXProConfigDlg::OnStopLimp()
{
  m_port.SendBroadcast("L");
  LogLine(m_port.GetLastCommand());
  RefreshDialog();
  UpdateControls();
}

void CZHVXProConfigDlg::OnStopHold()
{
  m_port.SendBroadcast("H");
  LogLine(m_port.GetLastCommand());
  RefreshDialog();
  UpdateControls();
}

void CZHVXProConfigDlg::OnRestart()
{
  SetupPlot();
  for (int n = 0; n < kTraceCount; ++n) {
    m_traceData[n].RemoveAllData();
    m_traceReadoutText[n].Empty();
  }
  m_tracedServoId = CHVXProControlPort::kNoServo;
  m_timeBase.Restart(GetTickCount());
  m_pause = FALSE;
  SetPauseImage();
  UpdateControls();
}

void CZHVXProConfigDlg::OnClearLog()
{
  m_log->Clear();
  UpdateData(false);
}

void CZHVXProConfigDlg::OnHelpButton()
{
  // The page lives on the update server that the settings name now.
  m_updateServerName = ConfiguredUpdateServer();
  const CString host = UpdateServerHost(m_updateServerName);
  // The default ".invalid" host stands for no server at all: a browser sent there shows only an
  // error naming an address the user never chose.
  if (host.IsEmpty() || IsReservedInvalidHost(host)) {
    CZHVXProConfigApp* app = GetHvxApp();
    const CString profile = app && app->GetProfile() ? app->GetProfile()->GetFilePath() : CString();
    Ask(NoUpdateServerText(m_updateServerRefusal, profile), MB_OK | MB_ICONINFORMATION);
    return;
  }
  if (IsLoopbackHost(host) || IsInternetConnected())
    OpenInBrowser(OnlineHelpUrl(m_updateServerName));
  else
    Ask(L"No internet connection found!", MB_OK);
}
