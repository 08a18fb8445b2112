// What the main window shows once its servo, its port or a calibration has gone: Disconnect, a
// servo that stopped answering, a refilled id list without it, a port that went away. All of them
// end in ShowNoServoSelected, so no read-out, trace, caption or remembered value of the servo that
// was outlives it.
#include "CZHVXProConfigDlg.h"
#include "CZLCDDisplay.h"
#include "CZSpectrumWnd.h"
#include "MainDialogIds.h"
#include "StatusReadouts.h"

#include <wx/combobox.h>
#include <wx/stattext.h>

void CZHVXProConfigDlg::ShowNoServoSelected(const CString& statusText, const CString& why)
{
  if (m_calibrating)
    EndCalibration(why);
  m_idText.Empty();
  m_currentId = CHVXProControlPort::kNoServo;
  m_port.SetCurrentId(CHVXProControlPort::kNoServo);
  m_servoValues.Forget();
  SwitchAllTracesOff();

  m_positionReadout->SetText(L"");
  m_statusReadout->SetStepPeriod(0);
  m_statusReadout->SetSegmentColour(kStatusColour, 0, 0);
  m_statusReadout->SetText(statusText);
  m_errorReadout->SetStepPeriod(0);
  m_errorReadout->SetText(L"");
  // A pending reset or EEPROM error blinks these; caught blank, they would stay blank.
  SetButtonCaption(IDC_RESET, L"RESET");
  SetButtonCaption(IDC_DEFAULT, L"DEFAULT");
  if (m_plot->GetTitle() == kAllServosPlotTitle)
    m_plot->SetTitle(L"");
  m_plot->Refresh(true);
  UpdateControls();
}

void CZHVXProConfigDlg::DropSelectedServo()
{
  CString line;
  line.Format(L"Servo %d stopped answering and is no longer selected", m_currentId);
  LogLine(line);
  ShowNoServoSelected(L"Connected", L"the servo stopped answering");
}

void CZHVXProConfigDlg::CloseConnection(const CString& why)
{
  // The stop of a sweep still reaches the servo before the port closes.
  if (m_calibrating)
    EndCalibration(why);
  KillTraceTimers();
  KillTimer(kStatusPollTimer);
  m_port.Disconnect();
  m_idCombo->Clear();
  ShowNoServoSelected(L"Disconnected", why);
}

bool CZHVXProConfigDlg::EndConnectionIfPortLost()
{
  // The firmware writer reconnects and reports a broken transfer itself.
  if (!m_port.IsConnected() || !m_port.IsLost() || m_firmwareUpdateRunning)
    return false;
  CString line;
  line.Format(L"The port %s was lost (the adapter went away) and has been closed",
              m_port.GetPortName().GetString());
  LogLine(line);
  CloseConnection(L"the port was lost");
  return true;
}

void CZHVXProConfigDlg::SwitchAllTracesOff()
{
  KillTraceTimers();
  for (int n = 0; n < kTraceCount; ++n) {
    if (m_traceOn[n])
      m_plot->RemoveTrace(m_traceData[n].GetName(), true);
    m_traceOn[n] = FALSE;
    ShowTraceReadout(n, CString());
  }
}

void CZHVXProConfigDlg::TraceServo(int id)
{
  if (m_tracedServoId != CHVXProControlPort::kNoServo && m_tracedServoId != id) {
    for (int n = 0; n < kTraceCount; ++n) {
      m_traceData[n].RemoveAllData();
      ShowTraceReadout(n, CString());
    }
  }
  m_tracedServoId = id;
}
