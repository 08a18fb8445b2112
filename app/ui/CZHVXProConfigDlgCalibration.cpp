// The encoder calibration (Ctrl+Shift+C) and its verification (Ctrl+Shift+V): the preparation of
// the servo, the clockwise and counter-clockwise sweep on timer 11, and the results: curves,
// files in the servo's own folder, the plot and the correction-table upload.
#include "CZHVXProConfigApp.h"
#include "CZHVXProConfigDlg.h"
#include "CZLCDDisplay.h"
#include "CZSpectrumWnd.h"
#include "CalibrationFiles.h"
#include "FileFunctions.h"
#include "MainDialogIds.h"
#include "MessageBoxTypes.h"
#include "ServoReplies.h"
#include "StatusReadouts.h"
#include "WinTime.h"

#include <wx/combobox.h>
#include <wx/gauge.h>
#include <wx/utils.h>

#include <algorithm>

namespace {
constexpr UINT kCalibrationPeriodMs = 50;
constexpr int kServoWaitMs = 10000;
constexpr int kProgressRange = 720;

// "- Error measurement end" says a sweep finished; one that did not says why it ended.
CString CalibrationEndLine(bool verify, const CString& how)
{
  return (verify ? CString(L"- Cal verification ended: ") : CString(L"- Error measurement ended: ")) + how;
}

enum ESweepState {
  kIdle = 0,
  kStartClockwise,
  kClockwise,
  kStartCounterClockwise,
  kCounterClockwise,
  kFinishing
};
} // namespace

void CZHVXProConfigDlg::StartEncoderCalibration(bool verify)
{
  m_ctrlDown = 0;
  // A second start while a sweep runs would interleave two sweeps on one servo.
  if (m_calibrating)
    return;
  m_verifyingCalibration = verify ? 1 : 0;
  // The plot is the calibration's from here: a trace left running would sample unseen.
  SwitchAllTracesOff();
  UpdateData(false);
  m_plot->RemoveAllTraces(true);
  m_plot->Refresh();
  // All servos at once cannot be calibrated: the timers never step a sweep for the broadcast id.
  if (m_idText.IsEmpty() || m_currentId < 0 || m_currentId == CHVXProControlPort::kBroadcastId)
    return;

  if (!verify && OfferExistingCalibration())
    return;

  m_calibrationTables = SCalibrationTables();
  if (Ask(L"*** THIS OPERATION COULD DAMAGE YOUR SERVO ***  Make sure nothing is attached to the servo "
          L"before starting calibration.  It should be able to rotate freely, 200 degrees in either "
          L"direction. Press Ok to continue, or Cancel to abort.",
          MB_OKCANCEL) != IDOK)
    return;

  LogLine(verify ? L"- Cal verification start" : L"- Error measurement start");
  RefreshDialog();
  m_progress->SetRange(kProgressRange);
  m_progress->SetValue(0);
  m_progress->Show();
  m_progress->Enable();

  m_busy = 1;
  const bool prepared = PrepareServoForCalibration(verify);
  m_busy = 0;
  if (!prepared) {
    m_progress->Hide();
    LogLine(CalibrationEndLine(verify, m_port.IsConnected() ? L"the servo was not found again after its reset"
                                                            : L"the servo could not be connected again"));
    UpdateControls();
    return;
  }

  m_calibrating = 1;
  m_calibrationStep = kStartClockwise;
  m_calibrationSampler.ForgetFailures();
  if (CZHVXProConfigApp* app = GetHvxApp())
    app->SetEncoderCalibrationStatus(L"STARTED");
  SetTimer(kCalibrationTimer, kCalibrationPeriodMs);
}

// The reuse offer: with all four files in the servo's folder, its stored error table is shown and
// may be written to the servo instead of measuring again.
bool CZHVXProConfigDlg::OfferExistingCalibration()
{
  if (!CalibrationFilesExist())
    return false;
  const CString path = CalibrationFolder(false) + kEncoderErrorFile;
  const std::optional<SCalibrationCurveFile> stored = ReadCalibrationCurve(path, kEncoderErrorLabel);
  // A value the upload would have to hold at its limit is no measurement either.
  if (!stored || !std::all_of(stored->y.begin(), stored->y.end(), CalibrationUploadFits)) {
    Ask(L"The stored encoder error data for this servo is incomplete or damaged and cannot be used:\n" + path,
        MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  CSpectrumData data;
  data.Resize(kCalibrationPoints, 0);
  for (int i = 0; i < kCalibrationPoints; ++i) {
    data.SetX(i, stored->x[size_t(i)]);
    data.SetY(i, stored->y[size_t(i)]);
  }
  m_plot->SetXSpan(0);
  m_plot->SetXMin(0);
  m_plot->SetXMax(360);
  m_plot->SetAutoScaleAll(false);
  m_plot->SetXLabel(kCalibrationAngleLabel);
  data.SetTraceColour(0x0000C8);
  data.SetTraceLineWidth(3);
  data.SetXLabel(kCalibrationAngleLabel);
  data.SetYLabel(L"Calibration Error (deg)");
  m_plot->AddTrace(&data, true, true);
  m_plot->Refresh();
  if (Ask(L"Encoder error data exists for this servo.  Use this error data for calibration?", MB_YESNO) !=
      IDYES)
    return false;
  WriteCalibrationToServo(stored->y);
  return true;
}

void CZHVXProConfigDlg::SendCalibrationCommand(const char* mnemonic, int value)
{
  m_port.Send(m_currentId, mnemonic, value);
  LogLine(m_port.GetLastCommand());
  RefreshDialog();
}

bool CZHVXProConfigDlg::PrepareServoForCalibration(bool verify)
{
  SendCalibrationCommand("SD", 5000);
  SendCalibrationCommand("CO", 0);
  m_port.Send(m_currentId, "CONFIRM");
  Sleep(1000);
  SendCalibrationCommand("D", 0);
  WaitForServoState(kServoWaitMs);

  if (!ReconnectAfterReset())
    return false;

  wxBusyCursor wait;
  SendCalibrationCommand("APAE", 0);
  if (!verify)
    SendCalibrationCommand("ECE", 0);
  SendCalibrationCommand("AR", 0);
  SendCalibrationCommand("SD", 5000);
  SendCalibrationCommand("D", -20000);
  WaitForServoState(kServoWaitMs);
  m_port.Send(m_currentId, "QST");
  SendCalibrationCommand("SD", 200);
  return true;
}

// "RESET", then the servo is connected again and found again in the id list. False when the
// reset could not be sent or the servo is not listed any more.
bool CZHVXProConfigDlg::ReconnectAfterReset()
{
  const CString idText = m_idText;
  const int id = m_currentId;
  if (m_port.Send(m_currentId, "RESET") != CHVXProControlPort::StatusSuccess)
    return false;
  LogLine(m_port.GetLastCommand());
  RefreshDialog();

  if (m_port.IsConnected())
    ConnectToggle();
  RefreshDialog();
  wxBusyCursor wait;
  Sleep(4000);
  ConnectToggle();
  m_idText = idText;
  m_currentId = id;
  Sleep(2000);
  FillIdCombo();
  // FillIdCombo forgets an id that is not listed; the list's own search decides below.
  SetComboText(m_idCombo, idText);
  const CString found = ComboText(m_idCombo);
  m_idText = found;
  m_currentId = found.IsEmpty() ? CHVXProControlPort::kNoServo : IdFromRowText(found);
  m_port.SetCurrentId(m_currentId);
  UpdateControls();
  // Sweeping whichever servo the search lands on, or none, would be worse than stopping here.
  return m_port.IsConnected() && m_currentId == id;
}

bool CZHVXProConfigDlg::WaitForServoState(int timeoutMs)
{
  Sleep(500);
  int remaining = timeoutMs - 500;
  for (;;) {
    const int status = m_port.QueryMotionStatus();
    if (status == 5 || status == 1)
      return false;
    Sleep(100);
    remaining -= 100;
    if (remaining < 0)
      return true;
  }
}

void CZHVXProConfigDlg::StepCalibration()
{
  switch (m_calibrationStep) {
  case kStartClockwise:
    SendCalibrationCommand("D", 20000);
    m_calibrationStep = kClockwise;
    break;
  case kClockwise:
    if (TakeCalibrationSample()) {
      RecordSweepSample(ESweep::Clockwise);
      if (m_calibrationAngle > 195.0f)
        m_calibrationStep = kStartCounterClockwise;
    }
    break;
  case kStartCounterClockwise:
    SendCalibrationCommand("D", -20000);
    m_calibrationStep = kCounterClockwise;
    break;
  case kCounterClockwise:
    if (TakeCalibrationSample()) {
      RecordSweepSample(ESweep::CounterClockwise);
      if (m_calibrationAngle < -195.0f) {
        StopCalibrationMove();
        m_calibrationStep = kFinishing;
        WaitForServoState(kServoWaitMs);
      }
    }
    break;
  case kFinishing:
    FinishCalibration();
    break;
  default:
    break;
  }
}

// A sample that failed or came too late is no sample: the tick records nothing, rather than the
// previous pair a second time. Too long a run of them ends the sweep.
bool CZHVXProConfigDlg::TakeCalibrationSample()
{
  const std::optional<SCalibrationSample> sample = m_calibrationSampler.Take(m_port, m_currentId);
  if (!sample) {
    // A port that went away ends the sweep as the port's loss, at the end of the tick.
    if (m_calibrationSampler.ServoLost() && !m_port.IsLost())
      EndCalibrationForLostServo();
    return false;
  }
  SetCalibrationSample(sample->angle, sample->error);
  return true;
}

void CZHVXProConfigDlg::SetCalibrationSample(float angle, float error)
{
  m_calibrationAngle = angle;
  m_calibrationError = error;
}

bool CZHVXProConfigDlg::GetCalibrationSample(float& angle, float& error) const
{
  angle = m_calibrationAngle;
  error = m_calibrationError;
  return true;
}

void CZHVXProConfigDlg::RecordSweepSample(ESweep sweep)
{
  SCalibrationSample sample;
  GetCalibrationSample(sample.angle, sample.error);
  m_calibrationBucket = CalibrationBucket(sample, sweep);
  m_progress->SetValue(std::clamp(CalibrationProgress(sample.angle, sweep), 0, kProgressRange));
  RecordCalibrationSample(m_calibrationTables, sample, sweep);
}

// The end of a sweep: back to the normal speed, and the turning stops.
void CZHVXProConfigDlg::StopCalibrationMove()
{
  SendCalibrationCommand("SD", 5000);
  SendCalibrationCommand("D", 0);
}

// A servo that stopped answering (unplugged, powered off) fails every sample and would keep the
// sweep, and the window's "Calibrating", going for good. What the sweep measured is not whole:
// nothing is written or uploaded.
void CZHVXProConfigDlg::EndCalibrationForLostServo()
{
  EndCalibration(L"the servo stopped answering");
  Ask(L"The servo stopped answering; the calibration was ended.", MB_OK | MB_ICONEXCLAMATION);
}

void CZHVXProConfigDlg::EndCalibration(const CString& how)
{
  const bool verify = m_verifyingCalibration != 0;
  m_calibrating = 0;
  m_calibrationStep = kIdle;
  m_verifyingCalibration = 0;
  KillTimer(kCalibrationTimer);
  // What the end of a sweep sends, in case the link still carries it.
  if (m_port.IsConnected() && !m_port.IsLost() && m_currentId >= 0)
    StopCalibrationMove();
  m_progress->Hide();
  // The poll puts the servo's own status back; until then nothing claims a sweep.
  if (m_statusReadout->GetText() == BusyStatusText(false, true, verify)) {
    m_statusReadout->SetStepPeriod(0);
    m_statusReadout->SetText(L"");
  }
  LogLine(CalibrationEndLine(verify, how));
}

void CZHVXProConfigDlg::FinishCalibration()
{
  const bool verify = m_verifyingCalibration != 0;
  const SCalibrationResultSets sets = CalibrationResultSets(FinishCalibrationCurves(m_calibrationTables));
  CSpectrumData* const cw = sets.cw.get();
  CSpectrumData* const ccw = sets.ccw.get();
  CSpectrumData* const error = sets.error.get();
  CSpectrumData* const lag = sets.lag.get();

  if (!verify) {
    CSpectrumData* const all[4] = {cw, ccw, error, lag};
    ExportCalibrationResults(all);
  }

  m_plot->SetXSpan(0);
  m_plot->SetXMin(0);
  m_plot->SetXMax(360);
  m_plot->SetAutoScaleAll(false);
  ccw->SetTraceColour(0xC8C800);
  cw->SetTraceColour(0x00C800);
  error->SetTraceColour(0x0000C8);
  error->SetTraceLineWidth(3);
  lag->SetTraceColour(0x009696);
  for (CSpectrumData* data : {ccw, cw, error, lag})
    m_plot->AddTrace(data, true, true);

  m_calibrating = 0;
  m_calibrationStep = kIdle;
  KillTimer(kCalibrationTimer);
  m_progress->Hide();

  if (!verify) {
    std::vector<float> table(kCalibrationPoints);
    for (int i = 0; i < kCalibrationPoints; ++i)
      table[size_t(i)] = error->GetY(i);
    WriteCalibrationToServo(table);
  }
  m_plot->SetTitle(verify ? L"Existing Calibration Result" : L"New Calibration Error Data");
  LogLine(verify ? L"- Cal verification end" : L"- Error measurement end");
  m_plot->Refresh();
  m_verifyingCalibration = 0;
}

// The four curves in the servo's folder. Every file that could not be written is named to the
// user; the upload goes ahead from this run's table all the same.
void CZHVXProConfigDlg::ExportCalibrationResults(CSpectrumData* const curves[4])
{
  const CString folder = CalibrationFolder(true);
  if (folder.IsEmpty())
    return;
  CreateFolderPath(folder);
  const wchar_t* files[4] = {kEncoderCwErrorFile, kEncoderCcwErrorFile, kEncoderErrorFile, kGearLagFile};
  CString failed;
  for (int i = 0; i < 4; ++i)
    if (!ExportCalibrationCurve(*curves[i], folder + files[i]))
      failed += L"\n" + folder + files[i];
  if (!failed.IsEmpty())
    Ask(L"The calibration results could not be written to:" + failed, MB_OK | MB_ICONEXCLAMATION);
}

// The app-data folder plus the servo's serial number. Empty when the servo gives no usable serial
// number: every such servo would otherwise share one folder and be offered another's table.
CString CZHVXProConfigDlg::CalibrationFolder(bool tellWhenUnknown)
{
  // Empty when the query failed or its reply came cut short.
  const CString name = CalibrationFolderName(m_port.QuerySerialNumber(m_currentId));
  m_port.SetCurrentId(m_currentId);
  if (name.IsEmpty()) {
    if (tellWhenUnknown)
      Ask(L"The servo did not report a usable serial number, so its calibration files cannot be kept.",
          MB_OK | MB_ICONEXCLAMATION);
    return CString();
  }
  CZHVXProConfigApp* app = GetHvxApp();
  return (app ? app->GetDataFolder() : CString()) + name + L"/";
}

bool CZHVXProConfigDlg::CalibrationFilesExist()
{
  const CString folder = CalibrationFolder(false);
  return !folder.IsEmpty() && ::CalibrationFilesExist(folder);
}

void CZHVXProConfigDlg::WriteCalibrationToServo(const std::vector<float>& errors)
{
  if (errors.size() != size_t(kCalibrationPoints))
    return;
  // A correction held at the upload's limit would be wrong by the rest, at that angle.
  const auto beyond =
      std::count_if(errors.begin(), errors.end(), [](float e) { return !CalibrationUploadFits(e); });
  if (beyond > 0) {
    CString text;
    text.Format(L"%d of the %d encoder error values are beyond what the servo can take (327.67 degrees "
                L"either way); nothing was written to the servo.",
                int(beyond), kCalibrationPoints);
    Ask(text, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  const BYTE wasBusy = m_busy;
  m_busy = 1;
  m_port.Send(m_currentId, "CECF", 1);
  if (Ask(L"Write the encoder calibration data to the servo?", MB_YESNO) == IDYES) {
    wxBusyCursor wait;
    m_port.Send(m_currentId, "CONFIRM");
    Sleep(2000);
    for (float error : errors) {
      m_port.Send(m_currentId, "CALIBRATE", CalibrationUploadValue(error));
      Sleep(10);
    }
  }
  m_busy = wasBusy;
}
