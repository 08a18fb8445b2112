#pragma once
// The program's main window: the servo port, every control, the eight traces with their plot
// window, the eight custom actions, the three read-outs and the command table. Its handlers are
// spread over CZHVXProConfigDlg*.cpp by topic (ports, command panels, polling, traces, ...).
#include "CCalibrationSampler.h"
#include "CCmdInfoList.h"
#include "CFirmwareWriter.h"
#include "CHVXProControlPort.h"
#include "CString.h"
#include "CZStringGrid.h"
#include "CustomActionScript.h"
#include "EncoderCalibration.h"
#include "TraceActionProfile.h"
#include "TraceTimeBase.h"
#include "WinTypes.h"
#include "WindowTimers.h"
#include "ZSpectrumData/CSpectrumData.h"

#include <wx/bitmap.h>
#include <wx/dialog.h>
#include <wx/icon.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CScriptEditorDlg;
class CZLCDDisplay;
class CZSpectrumWnd;
class wxButton;
class wxComboBox;
class wxControl;
class wxGauge;
class wxListBox;
class wxStaticText;
class wxTextCtrl;
class wxToggleButton;

class CZHVXProConfigDlg : public wxDialog {
public:
  explicit CZHVXProConfigDlg(wxWindow* parent = nullptr);
  ~CZHVXProConfigDlg() override;

  // Creates the window with its controls and runs OnInitDialog; DoModal does this first.
  bool CreateDialog();
  int DoModal();

  // Main dialog
  bool OnInitDialog();
  void DoDataExchange(bool saveAndValidate);
  void UpdateData(bool saveAndValidate);
  void UpdateControls();
  void RefreshDialog();
  void OnCloseButton();
  void OnCancel();
  void OnSysCommand(UINT commandId);

  // Port and servo selection
  void EnumeratePorts();
  void OnPortComboSelChange();
  void OnPortComboDropDown();
  void ConnectToggle();
  void FillIdCombo();
  void SelectServoId();

  // Command panels
  void OnQuerySend();
  void OnQueryComboSelChange();
  void OnActionComboSelChange();
  void OnActionSend();
  void OnConfigComboSelChange();
  void OnConfigSend();
  void OnFreeFormatSend();
  void OnReset();
  void OnDefault();
  void OnStopLimp();
  void OnStopHold();
  void OnRestart();
  void OnClearLog();
  void OnHelpButton();
  void CheckCommandError();
  void DisconnectIfConnected();

  // Timers: 0 status poll, 1 to 8 traces, 10 firmware writer, 11 calibration sweep.
  void OnTimer(UINT_PTR timerId);
  void SetTimer(UINT_PTR timerId, UINT periodMs);
  void KillTimer(UINT_PTR timerId);
  bool IsTimerRunning(UINT_PTR timerId) const;
  // One tick of a running timer now; tests step the poll with it.
  bool FireTimer(UINT_PTR timerId);

  // Handlers whose work lives with the live traces, custom actions, settings file, firmware
  // update and calibration.
  void OnTraceToggle(int trace);
  void OnTracePause();
  void SetupPlot();
  void SampleTrace(int trace);
  void RunCustomAction(int action);
  void OnLoadSettings();
  void OnSaveSettings();
  void OnFirmwareUpdate();
  void StepFirmwareWriter();
  void StepCalibration();
  void StartEncoderCalibration(bool verify);

  // On-line check and downloads from the update server.
  bool GetCompatibilityCsv();
  bool NewFirmwareAvailable();
  bool NewProgramAvailable();
  // Saves the latest program's installer as "latest.msi" in the app-data folder and tells the user
  // where it is; it is never started.
  bool DownloadInstaller();
  // Saves the latest firmware as "latest.hex" in the app-data folder.
  bool DownloadFirmware();
  // Encoder calibration (CZHVXProConfigDlgCalibration.cpp).
  bool TakeCalibrationSample(); // false when the tick has no new sample
  void SetCalibrationSample(float angle, float error);
  bool GetCalibrationSample(float& angle, float& error) const;
  bool WaitForServoState(int timeoutMs); // true when it gave up
  bool CalibrationFilesExist();
  // Uploads an error table of 360 values (degrees) as the servo's correction table.
  void WriteCalibrationToServo(const std::vector<float>& errors);
  bool IsCalibrating() const { return m_calibrating != 0; }
  const SCalibrationTables& CalibrationTables() const { return m_calibrationTables; }

  // What the handlers share, readable by tests.
  CHVXProControlPort& Port() { return m_port; }
  int CurrentId() const { return m_currentId; }
  bool IsBusy() const { return m_busy != 0; }
  bool IsClosed() const { return m_closed; }
  bool IsEepromError() const { return m_eepromError != 0; }
  const STraceActionProfile& Profile() const { return m_profile; }
  CString LastPositionText() const { return m_servoValues.ValuesOf(m_currentId).position; }
  CZLCDDisplay* PositionReadout() const { return m_positionReadout; }
  CZLCDDisplay* StatusReadout() const { return m_statusReadout; }
  CZLCDDisplay* ErrorReadout() const { return m_errorReadout; }
  CZSpectrumWnd* PlotWindow() const { return m_plot; }
  const CSpectrumData& TraceData(int trace) const { return m_traceData[trace]; }
  const CCmdInfoList& CommandTable() const { return m_cmdInfoList; }
  CFirmwareWriter& FirmwareWriter();
  const CString& LatestFirmwareVersion() const { return m_latestFirmwareVersion; }
  std::vector<CString> LogLines() const;
  std::vector<CString> IdRows() const;

private:
  void CreateControls();
  void BindHandlers();
  void OnCharHook(wxKeyEvent& event);
  void OnKeyUp(wxKeyEvent& event);
  void OnCloseWindow(wxCloseEvent& event);
  void OnPaint(wxPaintEvent& event);
  void OnEditFocus(int editId, bool gained);

  void FillCommandCombos();
  void SetupReadouts();
  void SetButtonImages(bool onlineTableAvailable);
  bool CheckOnlineForNewVersion();
  void UpdateFirmwareButtonImage();
  void ResumeFirmwareUpdate();
  void CheckNewBoardAndModel(int id);
  void AskForModel(int id);
  // A program message box with the busy flag raised while it is open.
  int Ask(const CString& text, UINT type);
  // The action or configuration panel's send; -1 when the value was refused and nothing sent.
  int SendPanelCommand(const CString& comboText, CString& valueText);
  void DefaultServo(int id);
  void CheckCommandError(int id);
  void LogLine(const CString& text);
  void EndDialog(int result);
  void StartTraceTimers();
  void KillTraceTimers();
  // What ends the selected servo, the port or a calibration (CZHVXProConfigDlgNoServo.cpp). The
  // window then shows what it shows with no servo selected: no read-out, trace or caption of the
  // servo that was, and no trace switched on.
  void ShowNoServoSelected(const CString& statusText, const CString& why);
  // The selected servo stopped answering (a poll without a reply, a refilled id list without it):
  // one log line names it.
  void DropSelectedServo();
  // Closes the port, as Disconnect does.
  void CloseConnection(const CString& why);
  // A port whose reads or writes fail outright (the adapter went away) is closed and said so;
  // true when that happened.
  bool EndConnectionIfPortLost();
  // Every trace switched off: samplers stopped, out of the plot, read-outs empty; points kept.
  void SwitchAllTracesOff();
  // The trace data sets hold the samples of one servo; samples of another start them anew.
  void TraceServo(int id);
  // A sweep ended before its results: timer, progress bar, status and one log line saying how.
  void EndCalibration(const CString& how);
  // Live traces and custom actions.
  void SwitchTrace(int trace, bool on);
  void SetPauseImage();
  void ShowTraceReadout(int trace, const CString& text);
  std::optional<CString> SendTraceQueryLine(const CString& line);
  void EditTrace(int trace);
  void RenameRunningTrace(int trace);
  void EditCustomAction(int action);
  // Runs an editor over a title and script, busy while it is open; on OK both take its texts and
  // the button shows the new title. False when the user did not press OK.
  bool EditScript(CScriptEditorDlg& editor, CString& title, CString& command, int buttonId);
  void RunActionSteps(const SActionScript& script);
  void QueryOriginOffset();
  void WriteProfile();
  CString ComboText(wxComboBox* combo) const;
  void SetComboText(wxComboBox* combo, const CString& text);
  void SetButtonCaption(int id, const CString& caption);
  CString ButtonCaption(int id) const;
  template <typename T> T* Control(int id) const;

  // The profile of the application object (defaults while there is none).
  static CString ProfileString(const CString& section, const CString& entry, const CString& fallback);
  static void WriteProfileString(const CString& section, const CString& entry, const CString& value);
  static CString FirmwareUpdateStatus();
  static void SetFirmwareUpdateStatus(const CString& status);
  CString ConfiguredUpdateServer();
  static CString DataFolder();

  // Firmware update steps.
  bool ChooseFirmwareFile(bool onlineTable, CString& path, bool& downloaded);
  bool DownloadFromUpdateServer(const char* agent, const std::string& path, size_t limit, std::string& body);

  // Calibration steps.
  bool OfferExistingCalibration(); // true when the stored table was used and no measurement follows
  bool PrepareServoForCalibration(bool verify);
  bool ReconnectAfterReset();
  void SendCalibrationCommand(const char* mnemonic, int value); // logged
  void RecordSweepSample(ESweep sweep);
  void FinishCalibration();
  void StopCalibrationMove();
  void EndCalibrationForLostServo();
  void ExportCalibrationResults(CSpectrumData* const curves[4]);
  CString CalibrationFolder(bool tellWhenUnknown);

  // Poll steps of timer 0.
  void PollStatus();
  bool IsServoSelected() const;
  bool PollQuery(const char* mnemonic, CString& valueText);
  void PollPosition();
  void PollMotionStatus();
  void PollErrorFlags();
  void PollResetFlags();

  CHVXProControlPort m_port;
  wxWindow* m_parentWindow = nullptr;
  wxIcon m_icon;
  wxBitmap m_background;

  wxComboBox* m_portCombo = nullptr;
  CString m_portText;
  int m_comPortNumber = 0;
  wxComboBox* m_idCombo = nullptr;
  CString m_idText;
  int m_currentId = 0;
  bool m_bootloader = false;
  wxGauge* m_progress = nullptr;

  wxComboBox* m_queryCombo = nullptr;
  CString m_freeFormatText;
  CString m_queryText;
  CString m_queryDescription;
  wxListBox* m_log = nullptr;
  wxComboBox* m_actionCombo = nullptr;
  CString m_actionText;
  CString m_actionValue;
  CString m_actionDescription;
  wxComboBox* m_configCombo = nullptr;
  CString m_configText;
  CString m_configValue;
  CString m_configDescription;

  // The trace start tick, the paused time and the start of a pause in progress.
  CTraceTimeBase m_timeBase;
  BOOL m_pause = FALSE;
  BYTE m_busy = 0;

  BOOL m_traceOn[kTraceCount] = {};
  CSpectrumData m_traceData[kTraceCount];
  STraceActionProfile m_profile;
  CZSpectrumWnd* m_plot = nullptr;
  CString m_traceReadoutText[kTraceCount];
  int m_tracedServoId = CHVXProControlPort::kNoServo; // whose samples the trace data sets hold

  BYTE m_ctrlDown = 0;
  BYTE m_shiftDown = 0;
  CZLCDDisplay* m_positionReadout = nullptr;
  CZLCDDisplay* m_statusReadout = nullptr;
  CZLCDDisplay* m_errorReadout = nullptr;

  // The firmware writer with the dialog as its host; the running flag is the "idle" test.
  std::shared_ptr<IFirmwareWriterHost> m_firmwareWriterHost;
  std::unique_ptr<CFirmwareWriter> m_firmwareWriter;
  bool m_firmwareUpdateRunning = false;

  // What "<POS>" and "<OFFSET>" of the custom actions stand for.
  CRememberedServoValues m_servoValues;
  CString m_updateServerName;
  CString m_updateServerRefusal; // the last one logged
  CString m_latestProgramVersion;
  CString m_latestFirmwareVersion;
  bool m_onlineTableAvailable = false;
  CZStringGrid m_compatibilityTable;

  BYTE m_freeFormatFocus = 0;
  BYTE m_actionValueFocus = 0;
  BYTE m_configValueFocus = 0;
  BYTE m_eepromError = 0;
  BYTE m_calibrating = 0;
  BYTE m_verifyingCalibration = 0;
  int m_calibrationStep = 0;
  float m_calibrationAngle = 0.0f;
  float m_calibrationError = 0.0f;
  SCalibrationTables m_calibrationTables;
  int m_calibrationBucket = 0;
  CCalibrationSampler m_calibrationSampler;

  CCmdInfoList m_cmdInfoList;
  CWindowTimers m_timers;
  bool m_closed = false;
};
