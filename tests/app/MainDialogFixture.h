#pragma once
// The main dialog against a simulated servo chain, with its own per-user folders, an application
// object for the profile, answers for the program's message boxes and waits that cost nothing.
//
// The dialog runs modeless here. Its status poll is a real 300 ms timer, so a test that checks
// traffic steps the poll with FireTimer and lets only posted calls run (RunPosted), never the
// whole event loop, between sending and checking.
#include "CZHVXProConfigApp.h"
#include "CZHVXProConfigDlg.h"
#include "CZLCDDisplay.h"
#include "CZSpectrumWnd.h"
#include "GuiTestSupport.h"
#include "LocalTimeAt.h"
#include "MainDialogIds.h"
#include "MessageBoxTypes.h"
#include "ModalTestSupport.h"
#include "SimulatedServoChain.h"
#include "TempUserFolders.h"
#include "WinTime.h"

#include <gtest/gtest.h>
#include <wx/anybutton.h>
#include <wx/app.h>
#include <wx/combobox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tglbtn.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// Answers every prompt with OK after running tick, as the timers would run in the nested message
// loop of an open prompt.
class TickingResponder : public IModalResponder {
public:
  explicit TickingResponder(std::function<void()> tick)
      : m_tick(std::move(tick)), m_previous(SetModalResponder(this))
  {}
  ~TickingResponder() override { SetModalResponder(m_previous); }
  SModalAnswer Answer(const SModalRequest&) override
  {
    m_tick();
    return {IDOK};
  }

private:
  std::function<void()> m_tick;
  IModalResponder* m_previous;
};

class MainDialogTest : public ::testing::Test {
protected:
  MainDialogTest()
  {
    // Waits of seconds take a moment only, long enough for the chain's thread to act on what it
    // was sent.
    SetSleeper([this](DWORD ms) {
      sleeps.push_back(ms);
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min<DWORD>(ms, 20)));
    });
    chain.SetReplyDelay(std::chrono::microseconds(300));
    app = std::make_unique<CZHVXProConfigApp>();
    app->StartUp();
  }
  ~MainDialogTest() override
  {
    CloseDialog();
    app.reset();
    SetSleeper({});
    SetLocalTimeSource({});
  }

  CZHVXProConfigDlg& OpenDialog()
  {
    dialog = std::make_unique<CZHVXProConfigDlg>(nullptr);
    EXPECT_TRUE(dialog->CreateDialog());
    dialog->Show();
    return *dialog;
  }
  void CloseDialog()
  {
    if (!dialog)
      return;
    // Taken off the screen first, so that the next test's window is not captured under its
    // picture.
    dialog->Hide();
    PumpEvents(20);
    dialog.reset();
  }
  // The program closing and starting again: a new application object reads the profile afresh.
  void RestartProgram()
  {
    CloseDialog();
    app.reset();
    app = std::make_unique<CZHVXProConfigApp>();
    app->StartUp();
  }

  template <typename T> T* Get(int id) const
  {
    T* control = dynamic_cast<T*>(dialog->FindWindow(id));
    EXPECT_NE(control, nullptr) << "control " << id;
    return control;
  }
  bool Enabled(int id) const { return dialog->FindWindow(id) && dialog->FindWindow(id)->IsEnabled(); }
  std::wstring Text(int id) const { return dialog->FindWindow(id)->GetLabel().ToStdWstring(); }
  std::wstring ComboText(int id) const { return Get<wxComboBox>(id)->GetValue().ToStdWstring(); }
  std::vector<std::wstring> ComboRows(int id) const
  {
    std::vector<std::wstring> rows;
    for (const wxString& row : Get<wxComboBox>(id)->GetStrings())
      rows.push_back(row.ToStdWstring());
    return rows;
  }

  // As the user does it: picks the first row that starts with the text, which raises the
  // combo's selection event. False when there is no such row or the combo is disabled.
  bool Choose(int comboId, const std::wstring& rowStart)
  {
    auto* combo = Get<wxComboBox>(comboId);
    if (!combo->IsEnabled())
      return false;
    for (unsigned i = 0; i < combo->GetCount(); ++i)
      if (combo->GetString(i).ToStdWstring().starts_with(rowStart)) {
        combo->SetSelection(int(i));
        wxCommandEvent event(wxEVT_COMBOBOX, comboId);
        event.SetEventObject(combo);
        event.SetInt(int(i));
        event.SetString(combo->GetString(i));
        combo->ProcessWindowEvent(event);
        return true;
      }
    return false;
  }
  // A click on an enabled button; false (and nothing happens) when it is disabled.
  bool Click(int id)
  {
    wxWindow* button = dialog->FindWindow(id);
    if (!button || !button->IsEnabled())
      return false;
    auto* toggle = dynamic_cast<wxToggleButton*>(button);
    if (toggle)
      toggle->SetValue(!toggle->GetValue());
    wxCommandEvent event(toggle ? wxEVT_TOGGLEBUTTON : wxEVT_BUTTON, id);
    event.SetEventObject(button);
    button->ProcessWindowEvent(event);
    return true;
  }
  void Type(int editId, const wchar_t* text) { Get<wxTextCtrl>(editId)->ChangeValue(text); }
  void Key(int keyCode, wxEventType type = wxEVT_CHAR_HOOK)
  {
    wxKeyEvent event(type);
    event.m_keyCode = keyCode;
    event.SetEventObject(dialog.get());
    dialog->ProcessWindowEvent(event);
  }
  // Runs what the dialog posted to itself (CallAfter), without letting timers tick.
  void RunPosted()
  {
    for (int i = 0; i < 5; ++i)
      wxTheApp->ProcessPendingEvents();
  }

  std::wstring PortRow() const
  {
    std::wstring row = chain.PortName().Str();
    return row + L" ";
  }
  void ChoosePort() { ASSERT_TRUE(Choose(IDC_PORT_COMBO, PortRow())) << "the chain's port is listed"; }
  // Connects to the chain and picks the servo; the traffic of both is forgotten.
  void ConnectAndSelect(int id)
  {
    ChoosePort();
    ASSERT_TRUE(Click(IDC_CONNECT));
    ASSERT_TRUE(dialog->Port().IsConnected());
    ASSERT_TRUE(Choose(IDC_ID_COMBO, std::to_wstring(id) + L" - "));
    ASSERT_EQ(dialog->CurrentId(), id);
    chain.ClearReceived();
  }
  std::vector<std::wstring> MessageTexts() const
  {
    std::vector<std::wstring> texts;
    for (const SModalRequest& request : answers.Requests())
      texts.push_back(request.text.Str());
    return texts;
  }
  std::vector<std::wstring> Log() const
  {
    std::vector<std::wstring> lines;
    for (const CString& line : dialog->LogLines())
      lines.push_back(line.Str());
    return lines;
  }
  std::vector<std::string> Traffic() const { return chain.ReceivedTexts(); }
  // The traffic once the line is in it, or whatever came within the chain's wait when it never
  // comes. A line that gets no reply can still be on its way when the click that sent it returns.
  std::vector<std::string> TrafficWith(const std::string& line) const
  {
    std::vector<std::string> lines = chain.ReceivedTexts();
    while (!Has(lines, line)) {
      const size_t seen = lines.size();
      lines = chain.WaitForLines(seen + 1);
      if (lines.size() == seen)
        break;
    }
    return lines;
  }
  static bool Has(const std::vector<std::string>& lines, const std::string& line)
  {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  TempUserFolders folders;
  // No test reaches an update server unless it sets one.
  ScopedEnvironment updateServer{"HVX_UPDATE_SERVER", nullptr};
  std::vector<DWORD> sleeps;
  CModalAnswerQueue answers;
  SimulatedServoChain chain;
  std::unique_ptr<CZHVXProConfigApp> app;
  std::unique_ptr<CZHVXProConfigDlg> dialog;
};
