#include "CZHVXProConfigDlg.h"

#include "AppImages.h"
#include "ButtonCaptionFit.h"
#include "CAboutDlg.h"
#include "CZHVXProConfigApp.h"
#include "CZLCDDisplay.h"
#include "CZMessageBox.h"
#include "CZSpectrumWnd.h"
#include "Colours.h"
#include "ControlStates.h"
#include "FileVersion.h"
#include "MainDialogIds.h"
#include "MainDialogLayout.h"
#include "ServoSelection.h"
#include "StatusReadouts.h"
#include "UserFolders.h"

#include <wx/button.h>
#include <wx/clntdata.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/gauge.h>
#include <wx/listbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>
#include <wx/timer.h>

namespace {
// A caption wider than its button (the profile's titles can be anything) is set in a smaller
// font, down to a legible limit, and the whole caption becomes the button's tool tip. What still
// does not fit is cut at its end: the toolkit centres a button's image and label together, so a
// label wider than its room would lose its start and run under the trace's colour mark.
void FitCaption(wxAnyButton* button, const CString& caption)
{
  constexpr int kSmallestPoints = 7;
  const int width = button->GetSize().x;
  // The toolkit measures a button anew when its label changes but not when only its font does,
  // so each width is taken with the label set afresh. A button never measures narrower than it is.
  auto bestWidth = [button](const CString& label) {
    button->SetLabel(L" ");
    button->SetLabel(label.GetString());
    button->InvalidateBestSize();
    return button->GetBestSize().x;
  };
  auto textWidth = [button](const CString& text) { return button->GetTextExtent(text.GetString()).x; };
  wxFont font = button->GetParent()->GetFont();
  button->UnsetToolTip();
  for (;;) {
    button->SetFont(font);
    const int best = bestWidth(caption);
    if (caption.IsEmpty() || best <= width)
      return;
    button->SetToolTip(caption.GetString());
    if (font.GetPointSize() <= kSmallestPoints) {
      // The text's width aside, the best width is the image, gaps and border, whatever the text.
      const int textRoom = width - (best - textWidth(caption));
      button->SetLabel(CaptionThatFits(caption, textRoom, textWidth).GetString());
      button->InvalidateBestSize();
      return;
    }
    font.SetPointSize(font.GetPointSize() - 1);
  }
}

constexpr COLORREF kStopHoldFace = 0x64FFFF;
constexpr COLORREF kStopLimpFace = 0x6464FF;
constexpr const wchar_t* kMessageBoxCaption = L"HVX PRO Config";
constexpr const wchar_t* kTemplateCaption = L"HVX Pro Config";
} // namespace

CZHVXProConfigDlg::CZHVXProConfigDlg(wxWindow* parent) : m_parentWindow(parent), m_timers(this)
{
  AddDefaultCommands(m_cmdInfoList);
  m_icon = LoadAppIcon();
  m_profile = ReadTraceActionProfile(&CZHVXProConfigDlg::ProfileString);
  SetDefaultCaption(kMessageBoxCaption);
}

CZHVXProConfigDlg::~CZHVXProConfigDlg()
{
  m_timers.KillAll();
  // The plot window holds pointers to the trace data sets, which go before the window does.
  if (m_plot)
    m_plot->RemoveAllTraces(false);
}

bool CZHVXProConfigDlg::CreateDialog()
{
  if (GetHandle())
    return true;
  if (!wxDialog::Create(m_parentWindow, wxID_ANY, kTemplateCaption, wxDefaultPosition, wxDefaultSize,
                        wxDEFAULT_DIALOG_STYLE | wxMINIMIZE_BOX))
    return false;
  SetClientSize(DialogUnitsToPixels(this, kMainDialogWidthDlu, kMainDialogHeightDlu));
  CreateControls();
  BindHandlers();
  OnInitDialog();
  Centre();
  return true;
}

int CZHVXProConfigDlg::DoModal()
{
  if (!CreateDialog())
    return -1;
  return ShowModal();
}

void CZHVXProConfigDlg::CreateControls()
{
  for (const SDialogControl& control : MainDialogControls()) {
    const wxRect r = DialogUnitsToPixels(this, control.rect);
    if (control.kind != EDialogControlKind::Placeholder) {
      wxWindow* window = CreateDialogControl(this, control);
      // An entry's natural width is far wider than the value fields of the template.
      if (control.kind == EDialogControlKind::Edit)
        window->SetSize(r.x, r.y, r.width, window->GetSize().y);
      continue;
    }
    if (control.id == IDC_PROGRESS) {
      m_progress = new wxGauge(this, IDC_PROGRESS, 100, r.GetPosition(), r.GetSize());
    } else if (control.id == IDC_POSITION_READOUT || control.id == IDC_STATUS_READOUT ||
               control.id == IDC_ERROR_READOUT) {
      auto* readout = new CZLCDDisplay();
      const RECT bounds{r.GetLeft(), r.GetTop(), r.GetRight() + 1, r.GetBottom() + 1};
      readout->Create(L"", 0, bounds, this, UINT(control.id));
      (control.id == IDC_POSITION_READOUT ? m_positionReadout
       : control.id == IDC_STATUS_READOUT ? m_statusReadout
                                          : m_errorReadout) = readout;
    } else {
      // Trace boxes and the pause button stay down while on.
      auto* toggle = new wxToggleButton(this, control.id, L"", r.GetPosition(), r.GetSize(), wxBU_EXACTFIT);
      const wxSize best = toggle->GetBestSize();
      toggle->SetSize(r.x, r.y, r.width, std::max(r.height, best.y));
    }
  }
  m_portCombo = Control<wxComboBox>(IDC_PORT_COMBO);
  m_idCombo = Control<wxComboBox>(IDC_ID_COMBO);
  m_queryCombo = Control<wxComboBox>(IDC_QUERY_COMBO);
  m_actionCombo = Control<wxComboBox>(IDC_ACTION_COMBO);
  m_configCombo = Control<wxComboBox>(IDC_CONFIG_COMBO);
  m_log = Control<wxListBox>(IDC_LOG);
  // The template's port list starts with one row.
  m_portCombo->Append(L"COM1");
}

template <typename T> T* CZHVXProConfigDlg::Control(int id) const
{
  return dynamic_cast<T*>(FindWindow(id));
}

void CZHVXProConfigDlg::BindHandlers()
{
  auto onClick = [this](int id, void (CZHVXProConfigDlg::*handler)()) {
    Bind(
        wxEVT_BUTTON, [this, handler](wxCommandEvent&) { (this->*handler)(); }, id);
  };
  onClick(IDC_CONNECT, &CZHVXProConfigDlg::ConnectToggle);
  onClick(IDC_CLOSE, &CZHVXProConfigDlg::OnCloseButton);
  onClick(IDC_FIRMWARE_UPDATE, &CZHVXProConfigDlg::OnFirmwareUpdate);
  onClick(IDC_QUERY_SEND, &CZHVXProConfigDlg::OnQuerySend);
  onClick(IDC_ACTION_SEND, &CZHVXProConfigDlg::OnActionSend);
  onClick(IDC_CONFIG_SEND, &CZHVXProConfigDlg::OnConfigSend);
  onClick(IDC_CLEAR_LOG, &CZHVXProConfigDlg::OnClearLog);
  onClick(IDC_RESET, &CZHVXProConfigDlg::OnReset);
  onClick(IDC_DEFAULT, &CZHVXProConfigDlg::OnDefault);
  onClick(IDC_STOP_LIMP, &CZHVXProConfigDlg::OnStopLimp);
  onClick(IDC_STOP_HOLD, &CZHVXProConfigDlg::OnStopHold);
  onClick(IDC_RESTART, &CZHVXProConfigDlg::OnRestart);
  onClick(IDC_LOAD, &CZHVXProConfigDlg::OnLoadSettings);
  onClick(IDC_SAVE, &CZHVXProConfigDlg::OnSaveSettings);
  onClick(IDC_FREE_FORMAT_SEND, &CZHVXProConfigDlg::OnFreeFormatSend);
  onClick(IDC_HELP_BUTTON, &CZHVXProConfigDlg::OnHelpButton);

  auto onSelect = [this](int id, void (CZHVXProConfigDlg::*handler)()) {
    Bind(
        wxEVT_COMBOBOX, [this, handler](wxCommandEvent&) { (this->*handler)(); }, id);
  };
  onSelect(IDC_PORT_COMBO, &CZHVXProConfigDlg::OnPortComboSelChange);
  onSelect(IDC_ID_COMBO, &CZHVXProConfigDlg::SelectServoId);
  onSelect(IDC_QUERY_COMBO, &CZHVXProConfigDlg::OnQueryComboSelChange);
  onSelect(IDC_ACTION_COMBO, &CZHVXProConfigDlg::OnActionComboSelChange);
  onSelect(IDC_CONFIG_COMBO, &CZHVXProConfigDlg::OnConfigComboSelChange);
  Bind(
      wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent&) { OnPortComboDropDown(); }, IDC_PORT_COMBO);
  Bind(
      wxEVT_COMBOBOX_DROPDOWN, [this](wxCommandEvent&) { FillIdCombo(); }, IDC_ID_COMBO);

  for (int n = 0; n < kTraceCount; ++n)
    Bind(
        wxEVT_TOGGLEBUTTON, [this, n](wxCommandEvent&) { OnTraceToggle(n); }, kTraceBoxIds[n]);
  Bind(
      wxEVT_TOGGLEBUTTON, [this](wxCommandEvent&) { OnTracePause(); }, IDC_PAUSE);
  for (int n = 0; n < kActionCount; ++n)
    Bind(
        wxEVT_BUTTON, [this, n](wxCommandEvent&) { RunCustomAction(n); }, kActionButtonIds[n]);

  // Focus events stay with the window that gets them.
  for (int id : {IDC_FREE_FORMAT_TEXT, IDC_ACTION_VALUE, IDC_CONFIG_VALUE}) {
    wxWindow* edit = FindWindow(id);
    edit->Bind(wxEVT_SET_FOCUS, [this, id](wxFocusEvent& e) {
      OnEditFocus(id, true);
      e.Skip();
    });
    edit->Bind(wxEVT_KILL_FOCUS, [this, id](wxFocusEvent& e) {
      OnEditFocus(id, false);
      e.Skip();
    });
  }

  Bind(wxEVT_TIMER, [this](wxTimerEvent& e) { OnTimer(UINT_PTR(e.GetId())); });
  Bind(wxEVT_CHAR_HOOK, &CZHVXProConfigDlg::OnCharHook, this);
  // Key-up events go to the focused window only.
  Bind(wxEVT_KEY_UP, &CZHVXProConfigDlg::OnKeyUp, this);
  for (wxWindow* child : GetChildren())
    child->Bind(wxEVT_KEY_UP, &CZHVXProConfigDlg::OnKeyUp, this);
  Bind(wxEVT_CLOSE_WINDOW, &CZHVXProConfigDlg::OnCloseWindow, this);
  Bind(wxEVT_PAINT, &CZHVXProConfigDlg::OnPaint, this);
}

bool CZHVXProConfigDlg::OnInitDialog()
{
  m_onlineTableAvailable = CheckOnlineForNewVersion();
  m_progress->Hide();

  SFileVersionInfo version;
  GetFileVersion(version, GetRunningProgramPath());
  SetTitle(MainWindowTitle(version.major, version.minor, version.revision, version.build).GetString());

  // A GTK dialog has no system menu to carry the About item; OnSysCommand still opens the box.
  if (m_icon.IsOk())
    SetIcon(m_icon);
  m_background = LoadAppBitmap(kBackgroundBitmap);

  EnumeratePorts();
  FillCommandCombos();

  m_plot = new CZSpectrumWnd();
  m_plot->CreateInPlaceOf(IDC_PLOT_PLACEHOLDER, this, wxBORDER_NONE, wxBORDER_SUNKEN);
  // Made after the handlers were bound: its key-up must reach the modifier flags too.
  m_plot->Bind(wxEVT_KEY_UP, &CZHVXProConfigDlg::OnKeyUp, this);
  SetupPlot();

  // Captions first: GTK drops a button's picture when its label is set afterwards.
  for (int n = 0; n < kTraceCount; ++n)
    SetButtonCaption(kTraceBoxIds[n], m_profile.traceTitle[n]);
  for (int n = 0; n < kActionCount; ++n)
    SetButtonCaption(kActionButtonIds[n], m_profile.actionTitle[n]);
  SetButtonImages(m_onlineTableAvailable);

  static const COLORREF traceColours[kTraceCount] = {0x00FFFF, 0xFF0000, 0x0000FF, 0x00FF00,
                                                     0xFF00FF, 0xFFFF00, 0x969696, 0xFFFF00};
  for (int n = 0; n < kTraceCount; ++n)
    m_traceData[n].SetTraceColour(traceColours[n]);

  SetupReadouts();
  UpdateControls();
  return true;
}

void CZHVXProConfigDlg::SetButtonImages(bool onlineTableAvailable)
{
  auto setImage = [this](int id, int image) {
    const wxBitmap bitmap = LoadAppBitmap(image);
    if (!bitmap.IsOk())
      return;
    if (auto* button = Control<wxAnyButton>(id))
      button->SetBitmap(bitmap);
  };
  if (onlineTableAvailable) {
    setImage(IDC_FIRMWARE_UPDATE, kFirmwareUpdateImage);
    setImage(IDC_HELP_BUTTON, kHelpOnlineImage);
  } else {
    setImage(IDC_HELP_BUTTON, kHelpOfflineImage);
  }
  for (int n = 0; n < kTraceCount; ++n)
    setImage(kTraceBoxIds[n], kTraceImages[n]);
  setImage(IDC_PAUSE, kPauseImage);
}

void CZHVXProConfigDlg::SetupReadouts()
{
  m_positionReadout->SetDisplayMode(0);
  m_positionReadout->SetDigits(6, 2, TRUE);
  m_positionReadout->SetSegmentColour(0x009696, 0, 0);
  m_positionReadout->SetShowSign(TRUE);
  m_positionReadout->SetText(L"");
  m_positionReadout->GetBorder().SetStyle(1);
  m_positionReadout->GetBorder().SetWidth(2);

  m_statusReadout->LoadDotMatrixFont(kDotMatrixFontBitmap);
  m_statusReadout->SetDisplayMode(2);
  m_statusReadout->SetScaleFactor(1.0f);
  m_statusReadout->SetDigits(12, 0, TRUE);
  m_statusReadout->SetSegmentColour(kStatusColour, 0, 0);
  m_statusReadout->SetTextMode(TRUE);
  m_statusReadout->SetText(L"");
  m_statusReadout->GetBorder().SetStyle(1);
  m_statusReadout->GetBorder().SetWidth(2);
  m_statusReadout->SetText(L"Disconnected");

  m_errorReadout->LoadDotMatrixFont(kDotMatrixFontBitmap);
  m_errorReadout->SetDisplayMode(2);
  m_errorReadout->SetDigits(20, 0, TRUE);
  m_errorReadout->SetStepPeriod(0);
  m_errorReadout->SetSegmentColour(kErrorColour, 0, 0);
  m_errorReadout->SetTextMode(TRUE);
  m_errorReadout->SetText(L"");
  m_errorReadout->GetBorder().SetStyle(1);
  m_errorReadout->GetBorder().SetWidth(2);
}

CString CZHVXProConfigDlg::ComboText(wxComboBox* combo) const
{
  return CString(combo->GetValue().ToStdWstring());
}

// As a drop-down list takes a text: the first row that starts with it (any case) is selected, an
// empty text selects nothing, and a text that no row starts with leaves the selection alone.
void CZHVXProConfigDlg::SetComboText(wxComboBox* combo, const CString& text)
{
  if (text.IsEmpty()) {
    combo->SetSelection(wxNOT_FOUND);
    // GTK keeps showing the last row without a selection.
    if (!combo->GetValue().empty())
      combo->ChangeValue(wxString());
    return;
  }
  const int exact = combo->FindString(text.GetString(), true);
  if (exact != wxNOT_FOUND) {
    combo->SetSelection(exact);
    return;
  }
  for (unsigned i = 0; i < combo->GetCount(); ++i) {
    const CString row(combo->GetString(i).ToStdWstring());
    if (row.Left(text.GetLength()).CompareNoCase(text) == 0) {
      combo->SetSelection(int(i));
      return;
    }
  }
}

void CZHVXProConfigDlg::DoDataExchange(bool save)
{
  auto comboText = [&](wxComboBox* combo, CString& text) {
    if (save)
      text = ComboText(combo);
    else
      SetComboText(combo, text);
  };
  auto editText = [&](int id, CString& text) {
    auto* edit = Control<wxTextCtrl>(id);
    if (save)
      text = CString(edit->GetValue().ToStdWstring());
    else if (CString(edit->GetValue().ToStdWstring()) != text)
      edit->ChangeValue(text.GetString());
  };
  auto staticText = [&](int id, CString& text) {
    auto* label = Control<wxStaticText>(id);
    if (save)
      text = CString(label->GetLabel().ToStdWstring());
    else if (CString(label->GetLabel().ToStdWstring()) != text)
      label->SetLabel(text.GetString());
  };
  auto check = [&](int id, BOOL& value) {
    auto* toggle = Control<wxToggleButton>(id);
    if (save)
      value = toggle->GetValue() ? TRUE : FALSE;
    else
      toggle->SetValue(value != FALSE);
  };

  comboText(m_portCombo, m_portText);
  comboText(m_idCombo, m_idText);
  comboText(m_queryCombo, m_queryText);
  staticText(IDC_QUERY_DESCRIPTION, m_queryDescription);
  editText(IDC_FREE_FORMAT_TEXT, m_freeFormatText);
  comboText(m_actionCombo, m_actionText);
  editText(IDC_ACTION_VALUE, m_actionValue);
  staticText(IDC_ACTION_DESCRIPTION, m_actionDescription);
  comboText(m_configCombo, m_configText);
  editText(IDC_CONFIG_VALUE, m_configValue);
  staticText(IDC_CONFIG_DESCRIPTION, m_configDescription);
  for (int n = 0; n < kTraceCount; ++n) {
    check(kTraceBoxIds[n], m_traceOn[n]);
    staticText(kTraceReadoutIds[n], m_traceReadoutText[n]);
  }
  check(IDC_PAUSE, m_pause);
}

void CZHVXProConfigDlg::UpdateData(bool saveAndValidate)
{
  DoDataExchange(saveAndValidate);
}

void CZHVXProConfigDlg::UpdateControls()
{
  // Every handler ends here: a port that went away under one of them is closed and said so.
  if (EndConnectionIfPortLost())
    return;
  SDialogState state;
  state.connected = m_port.IsConnected();
  state.firmwareWriterRunning = m_firmwareUpdateRunning;
  state.bootloader = m_bootloader;
  state.portText = m_portText;
  state.idText = m_idText;
  state.currentId = m_currentId;
  state.masterId = m_port.GetMasterId();
  state.queryText = m_queryText;
  state.actionText = m_actionText;
  state.configText = m_configText;
  state.tracesRunning = m_timeBase.IsStarted();
  const SControlStates c = ComputeControlStates(state);

  auto enable = [this](int id, bool on) {
    if (wxWindow* w = FindWindow(id))
      w->Enable(on);
  };
  enable(IDC_CONNECT, c.connect);
  SetButtonCaption(IDC_CONNECT, c.connectCaption);
  enable(IDC_ID_COMBO, c.idCombo);
  enable(IDC_FIRMWARE_UPDATE, c.firmwareUpdate);
  enable(IDC_PORT_COMBO, c.portCombo);
  for (int id : {IDC_QUERY_COMBO, IDC_CONFIG_COMBO, IDC_ACTION_COMBO})
    enable(id, c.commandCombos);
  enable(IDC_QUERY_SEND, c.querySend);
  enable(IDC_ACTION_SEND, c.actionSend);
  enable(IDC_ACTION_VALUE, c.actionSend);
  enable(IDC_CONFIG_SEND, c.configSend);
  enable(IDC_CONFIG_VALUE, c.configSend);
  for (int id :
       {IDC_RESET, IDC_DEFAULT, IDC_STOP_LIMP, IDC_STOP_HOLD, IDC_FREE_FORMAT_TEXT, IDC_FREE_FORMAT_SEND})
    enable(id, c.servoCommands);
  // The STOP buttons' faces are coloured while they can be pressed; GTK's greyed caption is
  // unreadable on them otherwise.
  auto face = [this](int id, COLORREF colour, bool on) {
    wxWindow* button = FindWindow(id);
    if (on && button->GetBackgroundColour() != ToWxColour(colour))
      button->SetBackgroundColour(ToWxColour(colour));
    else if (!on && button->UseBgCol())
      button->SetBackgroundColour(wxNullColour);
  };
  face(IDC_STOP_HOLD, kStopHoldFace, c.servoCommands);
  face(IDC_STOP_LIMP, kStopLimpFace, c.servoCommands);
  for (int n = 0; n < kTraceCount; ++n)
    enable(kTraceBoxIds[n], c.traceAndActionButtons);
  for (int n = 0; n < kActionCount; ++n)
    enable(kActionButtonIds[n], c.traceAndActionButtons);
  enable(IDC_RESTART, c.restart);
  enable(IDC_PAUSE, c.pause);
  UpdateData(false);
}

void CZHVXProConfigDlg::RefreshDialog()
{
  UpdateData(false);
  Refresh(true);
  Update();
}

void CZHVXProConfigDlg::SetButtonCaption(int id, const CString& caption)
{
  auto* button = Control<wxAnyButton>(id);
  if (!button || ButtonCaption(id) == caption)
    return;
  // The label may show only the caption's start: the button keeps the whole one beside it.
  button->SetClientObject(new wxStringClientData(caption.GetString()));
  FitCaption(button, caption);
}

CString CZHVXProConfigDlg::ButtonCaption(int id) const
{
  auto* button = Control<wxAnyButton>(id);
  if (!button)
    return {};
  if (auto* whole = dynamic_cast<wxStringClientData*>(button->GetClientObject()))
    return CString(whole->GetData().ToStdWstring());
  return CString(button->GetLabel().ToStdWstring());
}

void CZHVXProConfigDlg::OnEditFocus(int editId, bool gained)
{
  const BYTE value = gained ? 1 : 0;
  if (editId == IDC_FREE_FORMAT_TEXT)
    m_freeFormatFocus = value;
  else if (editId == IDC_ACTION_VALUE)
    m_actionValueFocus = value;
  else if (editId == IDC_CONFIG_VALUE)
    m_configValueFocus = value;
}

void CZHVXProConfigDlg::OnCharHook(wxKeyEvent& event)
{
  const int key = event.GetKeyCode();
  if (key == WXK_RETURN || key == WXK_NUMPAD_ENTER) {
    // Posted, so that the Send runs after the key has been dealt with; Enter never closes.
    if (m_freeFormatFocus)
      CallAfter(&CZHVXProConfigDlg::OnFreeFormatSend);
    if (m_actionValueFocus)
      CallAfter(&CZHVXProConfigDlg::OnActionSend);
    if (m_configValueFocus)
      CallAfter(&CZHVXProConfigDlg::OnConfigSend);
    return;
  }
  if (key == WXK_SHIFT) {
    m_shiftDown = 1;
    return;
  }
  if (key == WXK_CONTROL || key == WXK_RAW_CONTROL) {
    m_ctrlDown = 1;
    return;
  }
  if ((key == 'C' || key == 'V') && m_ctrlDown && m_shiftDown) {
    StartEncoderCalibration(key == 'V');
    return;
  }
  if (key == WXK_ESCAPE) {
    OnCancel();
    return;
  }
  event.Skip();
}

void CZHVXProConfigDlg::OnKeyUp(wxKeyEvent& event)
{
  const int key = event.GetKeyCode();
  if (key == WXK_SHIFT) {
    m_shiftDown = 0;
    return;
  }
  if (key == WXK_CONTROL || key == WXK_RAW_CONTROL) {
    m_ctrlDown = 0;
    return;
  }
  event.Skip();
}

void CZHVXProConfigDlg::OnCloseWindow(wxCloseEvent& event)
{
  OnCancel();
  if (!m_closed && event.CanVeto())
    event.Veto();
}

void CZHVXProConfigDlg::OnCancel()
{
  OnCloseButton();
}

void CZHVXProConfigDlg::OnCloseButton()
{
  if (m_port.IsConnected()) {
    m_busy = 1;
    const int answer = ZMessageBox(L"Disconnect and close HVX Pro Config?", MB_OKCANCEL, 0);
    m_busy = 0;
    if (answer != IDOK)
      return;
    KillTraceTimers();
    KillTimer(kStatusPollTimer);
    KillTimer(kFirmwareWriterTimer);
    m_port.Disconnect();
  }
  WriteTraceActionProfile(m_profile, &CZHVXProConfigDlg::WriteProfileString);
  if (FirmwareUpdateStatus() == L"STARTED")
    SetFirmwareUpdateStatus(L"ABORTED");
  EndDialog(wxID_OK);
}

CString CZHVXProConfigDlg::ProfileString(const CString& section, const CString& entry,
                                         const CString& fallback)
{
  CZHVXProConfigApp* app = GetHvxApp();
  return app ? app->GetProfileString(section, entry, fallback) : fallback;
}

void CZHVXProConfigDlg::WriteProfileString(const CString& section, const CString& entry, const CString& value)
{
  if (CZHVXProConfigApp* app = GetHvxApp())
    app->WriteProfileString(section, entry, value);
}

CString CZHVXProConfigDlg::FirmwareUpdateStatus()
{
  CZHVXProConfigApp* app = GetHvxApp();
  return app ? app->GetFirmwareUpdateStatus() : CString();
}

void CZHVXProConfigDlg::SetFirmwareUpdateStatus(const CString& status)
{
  if (CZHVXProConfigApp* app = GetHvxApp())
    app->SetFirmwareUpdateStatus(status);
}

void CZHVXProConfigDlg::EndDialog(int result)
{
  m_closed = true;
  if (IsModal())
    EndModal(result);
  else
    Hide();
}

void CZHVXProConfigDlg::OnSysCommand(UINT commandId)
{
  if ((commandId & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about(this);
    about.DoModal();
  }
}

void CZHVXProConfigDlg::OnPaint(wxPaintEvent&)
{
  wxPaintDC dc(this);
  if (m_background.IsOk())
    dc.DrawBitmap(m_background, 0, 0);
}

void CZHVXProConfigDlg::SetTimer(UINT_PTR timerId, UINT periodMs)
{
  m_timers.SetTimer(timerId, periodMs);
}

void CZHVXProConfigDlg::KillTimer(UINT_PTR timerId)
{
  m_timers.KillTimer(timerId);
}

bool CZHVXProConfigDlg::IsTimerRunning(UINT_PTR timerId) const
{
  return m_timers.IsRunning(timerId);
}

bool CZHVXProConfigDlg::FireTimer(UINT_PTR timerId)
{
  return m_timers.Fire(timerId);
}

void CZHVXProConfigDlg::KillTraceTimers()
{
  for (UINT_PTR n = kFirstTraceTimer; n <= kLastTraceTimer; ++n)
    KillTimer(n);
}

void CZHVXProConfigDlg::StartTraceTimers()
{
  for (int n = 0; n < kTraceCount; ++n)
    if (m_traceOn[n])
      SetTimer(kFirstTraceTimer + n, kTracePeriodMs);
}

void CZHVXProConfigDlg::LogLine(const CString& text)
{
  m_log->Append(text.GetString());
  m_log->SetSelection(wxNOT_FOUND);
  m_log->EnsureVisible(int(m_log->GetCount()) - 1);
}

std::vector<CString> CZHVXProConfigDlg::LogLines() const
{
  std::vector<CString> lines;
  for (unsigned i = 0; i < m_log->GetCount(); ++i)
    lines.emplace_back(m_log->GetString(i).ToStdWstring());
  return lines;
}

std::vector<CString> CZHVXProConfigDlg::IdRows() const
{
  std::vector<CString> rows;
  for (unsigned i = 0; i < m_idCombo->GetCount(); ++i)
    rows.emplace_back(m_idCombo->GetString(i).ToStdWstring());
  return rows;
}
