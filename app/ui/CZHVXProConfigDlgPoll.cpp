// The dialog's one timer handler and timer 0, the status poll into the three read-outs and the
// RESET and DEFAULT captions.
#include "CZHVXProConfigDlg.h"
#include "CZLCDDisplay.h"
#include "MainDialogIds.h"
#include "ServoReplies.h"
#include "ServoReply.h"
#include "StatusReadouts.h"

#include "CLocale.h"

void CZHVXProConfigDlg::OnTimer(UINT_PTR timerId)
{
  m_eepromError = 0;
  // No timer work inside the nested message loop of one of the dialog's own prompts, and none
  // for the broadcast id, whose replies pile up from every servo.
  if (m_busy || m_currentId == CHVXProControlPort::kBroadcastId)
    return;
  switch (TimerRole(timerId)) {
  case ETimerRole::StatusPoll:
    PollStatus();
    break;
  case ETimerRole::Trace:
    SampleTrace(int(timerId - kFirstTraceTimer));
    break;
  case ETimerRole::FirmwareWriter:
    StepFirmwareWriter();
    break;
  case ETimerRole::CalibrationSweep:
    StepCalibration();
    break;
  case ETimerRole::None:
    break;
  }
  EndConnectionIfPortLost();
}

void CZHVXProConfigDlg::PollStatus()
{
  const CString busyText = BusyStatusText(m_firmwareUpdateRunning, m_calibrating, m_verifyingCalibration);
  if (!busyText.IsEmpty()) {
    if (m_statusReadout->GetText() != busyText) {
      m_positionReadout->SetText(L"");
      m_statusReadout->SetText(busyText);
      m_statusReadout->SetStepPeriod(BusyStatusStepPeriod(m_firmwareUpdateRunning));
    }
    return;
  }
  // Each step sends nothing once the servo was dropped; none goes on over a port that went away.
  for (void (CZHVXProConfigDlg::*step)() :
       {&CZHVXProConfigDlg::PollPosition, &CZHVXProConfigDlg::PollMotionStatus,
        &CZHVXProConfigDlg::PollErrorFlags, &CZHVXProConfigDlg::PollResetFlags}) {
    if (m_port.IsLost())
      return;
    (this->*step)();
  }
}

// Sends one poll query to the selected servo. On failure the sent line stands in for the value,
// and a servo that gave no reply at all is dropped, with all the window showed of it.
bool CZHVXProConfigDlg::PollQuery(const char* mnemonic, CString& valueText)
{
  if (m_port.Send(m_currentId, mnemonic) == CHVXProControlPort::StatusSuccess) {
    valueText = ServoReplyValueText(m_port.GetLastCommand(), m_port.GetLastReply());
    return true;
  }
  valueText = m_port.GetLastCommand();
  // Silence over a port that went away is the port's, not the servo's: the tick's end says so.
  if (m_port.GetLastReply().IsEmpty() && !m_port.IsLost())
    DropSelectedServo();
  return false;
}

// Nothing is sent without a servo: an empty id text, or no id behind it ("0 - No Firmware").
bool CZHVXProConfigDlg::IsServoSelected() const
{
  return !m_idText.IsEmpty() && m_currentId >= 0;
}

void CZHVXProConfigDlg::PollPosition()
{
  if (!IsServoSelected())
    return;
  CString value;
  const bool answered = PollQuery("QD", value);
  if (!IsServoSelected() || m_port.IsLost())
    return;
  m_positionReadout->SetText(PositionReadoutText(value));
  // The custom actions put this in place of "<POS>": a failed query must not leave the sent
  // line there.
  if (answered)
    m_servoValues.SetPosition(m_currentId, value);
}

void CZHVXProConfigDlg::PollMotionStatus()
{
  if (!IsServoSelected())
    return;
  CString value;
  PollQuery("Q", value);
  if (!IsServoSelected() || m_port.IsLost())
    return;
  const SReadout status = MotionStatusReadout(_wtoi(value));
  if (m_statusReadout->GetText() != status.text) {
    m_statusReadout->SetStepPeriod(status.stepPeriod);
    m_statusReadout->SetText(status.text);
  }
  if (m_statusReadout->GetSegmentColour() != status.colour)
    m_statusReadout->SetSegmentColour(status.colour, 0, 0);
}

void CZHVXProConfigDlg::PollErrorFlags()
{
  if (!IsServoSelected())
    return;
  CString value;
  // Without an answer there are no flags to show: the read-out keeps what it had.
  if (!PollQuery("QEF", value))
    return;
  const int flags = _wtoi(value);
  const SErrorReadout error = ErrorFlagsReadout(flags);
  if (error.eepromError)
    m_eepromError = 1;
  if (flags == 0) {
    m_errorReadout->SetText(error.text);
    m_errorReadout->SetStepPeriod(0);
    m_errorReadout->SetSegmentColour(error.colour, 0, 0);
    return;
  }
  if (error.text != m_errorReadout->GetText()) {
    m_errorReadout->SetSegmentColour(error.colour, 0, 0);
    m_errorReadout->SetStepPeriod(error.stepPeriod);
    m_errorReadout->SetText(error.text);
  }
}

void CZHVXProConfigDlg::PollResetFlags()
{
  if (!IsServoSelected())
    return;
  CString value;
  if (!PollQuery("QRF", value))
    return;
  SetButtonCaption(IDC_RESET, NextBlinkCaption(ButtonCaption(IDC_RESET), L"RESET", value != L"0"));
  SetButtonCaption(IDC_DEFAULT, NextBlinkCaption(ButtonCaption(IDC_DEFAULT), L"DEFAULT", m_eepromError != 0));
}
