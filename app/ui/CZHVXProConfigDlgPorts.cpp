// The top row of the main dialog: the port list, Connect/Disconnect and the servo id list.
#include "CModelSelectionDlg.h"
#include "CZHVXProConfigApp.h"
#include "CZHVXProConfigDlg.h"
#include "CZLCDDisplay.h"
#include "CZMessageBox.h"
#include "CZSpectrumWnd.h"
#include "ConnectStatus.h"
#include "MainDialogIds.h"
#include "PortRows.h"
#include "SerialPortList.h"
#include "ServoReplies.h"
#include "ServoReply.h"
#include "ServoSelection.h"
#include "StatusReadouts.h"
#include "WinSerial.h"
#include "WinTime.h"

#include <wx/combobox.h>
#include <wx/utils.h>

#include <algorithm>
#include <iterator>

void CZHVXProConfigDlg::EnumeratePorts()
{
  const CString kept = ComboText(m_portCombo);
  m_portCombo->Clear();
  for (const SSerialPortInfo& port : ListSerialPorts())
    m_portCombo->Append(PortRowText(port.number, port.description).GetString());
  // GTK opens the list as wide as its widest row, so there is no drop-down width to set.
  SetComboText(m_portCombo, kept);
}

void CZHVXProConfigDlg::OnPortComboSelChange()
{
  UpdateData(true);
  if (!m_portText.IsEmpty())
    m_comPortNumber = PortNumberFromRow(m_portText);
  UpdateControls();
}

void CZHVXProConfigDlg::OnPortComboDropDown()
{
  FindWindow(IDC_START_HERE)->Hide();
  EnumeratePorts();
}

void CZHVXProConfigDlg::ConnectToggle()
{
  wxBusyCursor wait;
  m_bootloader = false;
  m_idText.Empty();
  // Whatever was read over the old connection, even from the same id, is no value of the servo
  // behind the new one.
  m_servoValues.Forget();
  KillTraceTimers();
  KillTimer(kStatusPollTimer);

  if (m_port.IsConnected()) {
    CloseConnection(L"disconnected");
  } else {
    for (BOOL& on : m_traceOn)
      on = FALSE;
    m_plot->RemoveAllTraces(true);
    const int status = m_port.Connect(m_comPortNumber);
    const DWORD openError = GetLastError();
    switch (status) {
    case CHVXProControlPort::StatusSuccess:
      m_statusReadout->SetText(L"Connected");
      m_statusReadout->SetStepPeriod(0);
      FillIdCombo();
      if (!m_port.IsConnected())
        break; // the port went away while the list was read
      m_currentId = m_port.GetMasterId();
      m_port.SetCurrentId(m_currentId);
      for (int n = 0; n < kTraceCount; ++n) {
        m_traceData[n].RemoveAllData();
        m_traceReadoutText[n].Empty();
      }
      m_tracedServoId = CHVXProControlPort::kNoServo;
      m_timeBase.Reset(GetTickCount());
      SetTimer(kStatusPollTimer, kStatusPollPeriodMs);
      break;
    case CHVXProControlPort::StatusDeviceNotFound:
      if (!m_firmwareUpdateRunning) {
        Ask(ConnectFailureMessage(status), MB_ICONHAND);
        LogLine(L"Device not recognized");
        LogLine(m_port.GetLastReply());
      }
      break;
    case CHVXProControlPort::StatusWaitingForFirmware:
      m_statusReadout->SetText(L"Waiting for Firmware");
      m_statusReadout->SetStepPeriod(250);
      m_bootloader = true;
      ResumeFirmwareUpdate();
      break;
    case CHVXProControlPort::StatusBootloaderCommandMode:
      if (Ask(L"The connected servo is currently in Bootloader mode.\nDo you want to exit and connect?",
              MB_YESNO) == IDYES) {
        wxBusyCursor starting;
        if (m_port.StartFirmware() != 0)
          Ask(L"Failed to start firmware!", MB_OK);
        else
          CallAfter(&CZHVXProConfigDlg::ConnectToggle);
      }
      break;
    case CHVXProControlPort::StatusPortNotAvailable: {
      const CString hint = PortAccessHint(openError, GetSerialDevicePath(SerialPortName(m_comPortNumber)));
      Ask(ConnectFailureMessage(status) + (hint.IsEmpty() ? CString() : L"\n" + hint), MB_ICONHAND);
      break;
    }
    default:
      Ask(ConnectFailureMessage(status), MB_ICONHAND);
      break;
    }
  }
  RefreshDialog();
  UpdateControls();
}

// A bootloader that waits for firmware after an update from the downloaded file that did not
// finish gets that file again.
void CZHVXProConfigDlg::ResumeFirmwareUpdate()
{
  if (m_firmwareUpdateRunning)
    return;
  const CString status = FirmwareUpdateStatus();
  if (status == CFirmwareWriter::kStarted || status == CFirmwareWriter::kAborted) {
    CFirmwareWriter& writer = FirmwareWriter();
    if (!writer.Load(DataFolder() + L"latest.hex", true))
      return;
    SetFirmwareUpdateStatus(CFirmwareWriter::kStarted);
    writer.Start();
  } else if (status == CFirmwareWriter::kStartedManual) {
    m_bootloader = false;
  }
}

void CZHVXProConfigDlg::FillIdCombo()
{
  m_idCombo->Clear();
  m_port.SendBroadcast("QID");
  if (EndConnectionIfPortLost())
    return;
  const CString reply = m_port.GetLastReply();
  // "All Servos" is listed whenever servos are.
  bool currentPresent = m_currentId == CHVXProControlPort::kBroadcastId;
  if (reply == kWaitingForFirmwareReply) {
    m_idCombo->Append(kNoFirmwareRow);
    currentPresent = false;
  } else {
    int silent = 0;
    for (int id : ParseIdListReply(reply)) {
      const CString model = m_port.QueryModelString(id);
      const CString firmware = m_port.QueryFirmwareVersion(id);
      m_idCombo->Append(IdRowText(id, model, firmware).GetString());
      if (id == m_currentId)
        currentPresent = true;
      if (m_port.GetLastReply().IsEmpty() && (m_port.LastReplyOverran() || ++silent == kMaxSilentListedIds))
        break;
    }
    m_idCombo->Append(kAllServosRow);
  }
  if (EndConnectionIfPortLost())
    return;
  if (!currentPresent) {
    // A servo that was selected and is not listed any more went silent: it goes with all it showed.
    if (m_port.IsConnected() && IsServoSelected() && m_idText != kNoFirmwareRow)
      DropSelectedServo();
    m_idText.Empty();
    m_currentId = CHVXProControlPort::kNoServo;
  }
  UpdateData(false);
}

void CZHVXProConfigDlg::SelectServoId()
{
  UpdateData(true);
  if (m_idText.IsEmpty())
    m_currentId = CHVXProControlPort::kNoServo;
  if (!m_idText.IsEmpty() && m_idText != kNoFirmwareRow) {
    m_currentId = IdFromRowText(m_idText);
    m_servoValues.Select(m_currentId);
    m_port.SetCurrentId(m_currentId);
    m_positionReadout->SetText(L"");
    m_statusReadout->SetText(L"");
    m_statusReadout->SetStepPeriod(0);
    m_errorReadout->SetText(L"");
    m_errorReadout->SetStepPeriod(0);
    // The poll that would make them whole again never runs for all servos at once.
    SetButtonCaption(IDC_RESET, L"RESET");
    SetButtonCaption(IDC_DEFAULT, L"DEFAULT");
    if (std::any_of(std::begin(m_traceOn), std::end(m_traceOn), [](BOOL on) { return on != FALSE; }))
      TraceServo(m_currentId);
    m_plot->SetTitle(m_currentId == CHVXProControlPort::kBroadcastId ? kAllServosPlotTitle : L"");
    UpdateFirmwareButtonImage();

    // All servos at once would answer with their serial numbers run together, which reads as a
    // new board, and would all be stamped with one number: only a single servo is checked.
    if (m_currentId != CHVXProControlPort::kBroadcastId)
      CheckNewBoardAndModel(m_currentId);
    // Every failed query above cleared the port's current id.
    m_port.SetCurrentId(m_currentId);
  }
  RefreshDialog();
  UpdateControls();
}

void CZHVXProConfigDlg::CheckNewBoardAndModel(int id)
{
  const CString serial = m_port.QuerySerialNumber(id);
  const bool serialAnswered = m_port.GetStatus() == CHVXProControlPort::StatusSuccess;
  int firmwareNumber = 0;
  if (m_port.Send(id, "QFV") == CHVXProControlPort::StatusSuccess)
    firmwareNumber = m_port.GetReplyValue();
  if (IsNewControlBoard(firmwareNumber, m_eepromError != 0, serialAnswered, serial)) {
    Ask(L"A new HVX PRO control board has been detected.  Initialization procedure will begin.", MB_OK);
    m_port.WriteSerialNumber(id);
  }
  if (NeedsModelSelection(firmwareNumber, m_port.QueryModelId(id)))
    AskForModel(id);
}

void CZHVXProConfigDlg::AskForModel(int id)
{
  SwitchAllTracesOff();
  KillTimer(kStatusPollTimer);
  CModelSelectionDlg dialog(this);
  if (dialog.DoModal() == IDOK) {
    m_port.Send(id, "CMI", dialog.m_model);
    if (m_port.QueryCommandError(id) == 0)
      m_port.Send(id, "CONFIRM");
  }
  SetTimer(kStatusPollTimer, kStatusPollPeriodMs);
}
