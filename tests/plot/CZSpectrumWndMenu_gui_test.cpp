#include "CZSpectrumWnd.h"
#include "DialogUnits.h"
#include "GuiTestSupport.h"
#include "MessageBoxTypes.h"
#include "ModalTestSupport.h"
#include "PlotTestSupport.h"
#include "StringResources.h"

#include <gtest/gtest.h>
#include <wx/bookctrl.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/propdlg.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

namespace {
// Chooses from the context menu in place of a person and remembers what the menu offered.
class MenuPlot : public CZSpectrumWnd {
public:
  void SetCursor(int index) { m_cursorIndex = index; }
  UINT choice = 0;
  std::vector<int> offered;
  std::vector<wxString> labels;
  std::vector<bool> checked;
  wxPoint at;

protected:
  UINT TrackPopupMenu(const std::vector<SPlotMenuEntry>& entries, const wxPoint& point) override
  {
    offered.clear();
    labels.clear();
    checked.clear();
    for (const SPlotMenuEntry& entry : entries) {
      offered.push_back(int(entry.id));
      labels.push_back(wxString(entry.caption.GetString()));
      checked.push_back(entry.checked);
    }
    at = point;
    return choice;
  }
};

struct MenuFrame {
  MenuFrame()
  {
    frame = new wxFrame(nullptr, wxID_ANY, "plot", wxPoint(30, 30), wxSize(500, 360));
    other = new wxPanel(frame, wxID_ANY, wxPoint(0, 0), wxSize(10, 10));
    plot = new MenuPlot();
    plot->Create(frame, 1027, wxPoint(10, 10), wxSize(460, 300));
    plot->SetColours(RGB(57, 57, 57), RGB(20, 20, 80));
    frame->Bind(wxEVT_SPECTRUM_MENU_COMMAND,
                [this](CZSpectrumEvent& event) { menuCommands.push_back(UINT(event.GetLParam())); });
    frame->Show();
    PumpEvents(100);
  }
  ~MenuFrame()
  {
    frame->Destroy();
    PumpEvents(20);
  }
  // The menu key: the menu opens near the top left, and the choice runs once it has closed.
  void OpenMenuAndChoose(UINT id)
  {
    OpenMenu(id);
    PumpEvents(30);
  }
  // Only the menu's handling, which has closed it again when this returns.
  void OpenMenu(UINT id)
  {
    plot->choice = id;
    wxContextMenuEvent event(wxEVT_CONTEXT_MENU, plot->GetId(), wxDefaultPosition);
    event.SetEventObject(plot);
    plot->GetEventHandler()->ProcessEvent(event);
  }
  wxFrame* frame;
  wxPanel* other;
  MenuPlot* plot;
  std::vector<UINT> menuCommands;
};

void Click(wxWindow* window, int id)
{
  wxWindow* control = window->FindWindow(id);
  ASSERT_TRUE(control);
  if (auto* box = dynamic_cast<wxCheckBox*>(control)) {
    box->SetValue(!box->GetValue());
    wxCommandEvent click(wxEVT_CHECKBOX, id);
    click.SetEventObject(box);
    click.SetInt(box->GetValue());
    box->GetEventHandler()->ProcessEvent(click);
    return;
  }
  wxCommandEvent click(wxEVT_BUTTON, id);
  click.SetEventObject(control);
  control->GetEventHandler()->ProcessEvent(click);
}

// Typing into an edit: its text changes with a change notification, as keys would give.
void Type(wxWindow* page, int id, const wxString& text)
{
  static_cast<wxTextCtrl*>(page->FindWindow(id))->SetValue(text);
}

bool IsChecked(wxWindow* page, int id)
{
  return static_cast<wxCheckBox*>(page->FindWindow(id))->GetValue();
}
} // namespace

TEST(CZSpectrumWndMenu, ChoiceRunsAfterTheMenuClosedAndUserItemsReachTheirTargets)
{
  MenuFrame f;
  auto a = MakeTrace(L"A", {0, 1, 2}, {0, 1, 2});
  f.plot->AddTrace(a.get(), false, false);
  SetStringResource(41500, L"Export");
  SetStringResource(41501, L"Own");
  f.plot->GetUserMenuItems().AddTail({41600, 41500, f.other, TRUE});
  f.plot->GetUserMenuItems().AddTail({41601, 41501, f.plot, FALSE});
  std::vector<int> otherGot, plotGot;
  f.other->Bind(wxEVT_MENU, [&](wxCommandEvent& e) { otherGot.push_back(e.GetId()); });
  f.plot->Bind(wxEVT_MENU, [&](wxCommandEvent& e) { plotGot.push_back(e.GetId()); });

  // Nothing runs while the menu's handling is on the stack (a sheet would open inside the menu's
  // own loop); the choice comes with the next turn of the event loop.
  f.OpenMenu(ID_SPECTRUM_HOLD);
  EXPECT_EQ(f.plot->FindTrace(L"Hold"), nullptr);
  PumpEvents(30);
  // The owner's items follow the built-in ones, with their captions and check marks.
  ASSERT_GE(f.plot->offered.size(), 2u);
  const size_t own = f.plot->offered.size() - 2;
  EXPECT_EQ(f.plot->offered[own], 41600);
  EXPECT_EQ(f.plot->labels[own], "Export");
  EXPECT_TRUE(f.plot->checked[own]);
  EXPECT_FALSE(f.plot->checked[own + 1]);
  EXPECT_EQ(f.plot->at, wxPoint(5, 5));
  ASSERT_NE(f.plot->FindTrace(L"Hold"), nullptr);
  EXPECT_EQ(f.menuCommands, std::vector<UINT>{ID_SPECTRUM_HOLD});

  f.plot->SetCursor(1);
  f.OpenMenuAndChoose(ID_SPECTRUM_MASK);
  EXPECT_TRUE(a->IsMasked(1));

  f.OpenMenuAndChoose(41600);
  f.OpenMenuAndChoose(41601);
  EXPECT_EQ(otherGot, std::vector<int>{41600});
  // The window's own command handling sees every id, forwarded or not.
  EXPECT_EQ(plotGot, (std::vector<int>{41600, 41601}));
}

TEST(CZSpectrumWndMenu, SettingsSheetEditsTheLimitsAndEnablesByTheYPageRules)
{
  MenuFrame f;
  auto a = MakeTrace(L"A", {0, 10}, {0, 5});
  f.plot->AddTrace(a.get(), false, false);
  f.plot->SetXMax(8);

  ModalWatchdog().ExpectDialog([](wxDialog* dialog) {
    PumpEvents(30);
    auto* sheet = static_cast<wxPropertySheetDialog*>(dialog);
    wxWindow* xPage = sheet->GetBookCtrl()->GetPage(0);
    wxWindow* yPage = sheet->GetBookCtrl()->GetPage(1);
    EXPECT_TRUE(IsChecked(xPage, 1002));
    EXPECT_FALSE(IsChecked(xPage, 1003));
    EXPECT_EQ(static_cast<wxTextCtrl*>(xPage->FindWindow(1001))->GetValue(), "8");
    Type(xPage, 1000, "2.5");
    EXPECT_FALSE(IsChecked(xPage, 1002));
    Click(xPage, 1003); // automatic maximum again

    sheet->GetBookCtrl()->SetSelection(1);
    // A click re-runs the page's exchange, which applies the enabling rules.
    EXPECT_FALSE(yPage->FindWindow(1009)->IsEnabled());
    Click(yPage, 1006); // scale overlapped
    EXPECT_TRUE(yPage->FindWindow(1009)->IsEnabled());
    Click(yPage, 1009); // full range off
    Type(yPage, 1011, "3");
    Type(yPage, 1001, "x");
    PumpEvents(100);
    SaveSnapshot(dialog, "plot_settings_sheet");
    {
      // A limit that is not a number keeps the sheet open.
      CModalAnswerQueue answers;
      answers.Queue(IDOK);
      Click(dialog, wxID_OK);
      ASSERT_EQ(answers.Requests().size(), 1u);
      EXPECT_EQ(answers.Requests()[0].text, L"Please enter a number.");
      EXPECT_TRUE(dialog->IsModal());
    }
    Type(yPage, 1001, "7");
    Click(dialog, wxID_OK);
  });
  f.OpenMenuAndChoose(ID_SPECTRUM_SETTINGS);
  PumpEvents(50);
  EXPECT_EQ(ModalWatchdog().PendingDrivers(), 0u);
  // Both pages reached the plot.
  EXPECT_TRUE(f.plot->IsXMinFixed());
  EXPECT_EQ(f.plot->GetXMin(), 2.5f);
  EXPECT_FALSE(f.plot->IsXMaxFixed());
  EXPECT_EQ(f.plot->GetYMax(), 7.0f);
}

TEST(CZSpectrumWndMenu, SettingsSheetRefusesLimitsInTheWrongOrder)
{
  MenuFrame f;
  auto a = MakeTrace(L"A", {0, 10}, {0, 5});
  f.plot->AddTrace(a.get(), false, false);

  ModalWatchdog().ExpectDialog([](wxDialog* dialog) {
    PumpEvents(30);
    auto* sheet = static_cast<wxPropertySheetDialog*>(dialog);
    // X min above X max, an X range wider than float can scale, one narrower than float can
    // split, then an empty Y range: each keeps the sheet open on its page.
    const wchar_t* order = L"The minimum must be less than the maximum.";
    const wchar_t* beyond = L"The range from the minimum to the maximum is too wide or too narrow to draw.";
    const struct {
      size_t page;
      const char *min, *max, *mendedMin, *mendedMax;
      const wchar_t* text;
    } cases[] = {{0, "9", "3", "9", "12", order},
                 {0, "-3.4e38", "3.4e38", "9", "12", beyond},
                 {0, "0", "1e-44", "9", "12", beyond},
                 {1, "4", "4", "4", "6", order}};
    for (const auto& c : cases) {
      wxWindow* page = sheet->GetBookCtrl()->GetPage(c.page);
      sheet->GetBookCtrl()->SetSelection(0);
      Type(page, 1000, c.min);
      Type(page, 1001, c.max);
      CModalAnswerQueue answers;
      answers.Queue(IDOK);
      Click(dialog, wxID_OK);
      ASSERT_EQ(answers.Requests().size(), 1u) << c.page;
      EXPECT_EQ(answers.Requests()[0].text, c.text);
      EXPECT_TRUE(dialog->IsModal());
      EXPECT_EQ(size_t(sheet->GetBookCtrl()->GetSelection()), c.page);
      Type(page, 1000, c.mendedMin);
      Type(page, 1001, c.mendedMax);
    }
    Click(dialog, wxID_OK);
  });
  f.OpenMenuAndChoose(ID_SPECTRUM_SETTINGS);
  PumpEvents(50);
  EXPECT_EQ(ModalWatchdog().PendingDrivers(), 0u);
  EXPECT_EQ(f.plot->GetXMin(), 9.0f);
  EXPECT_EQ(f.plot->GetXMax(), 12.0f);
  EXPECT_EQ(f.plot->GetYMin(), 4.0f);
  EXPECT_EQ(f.plot->GetYMax(), 6.0f);
}

TEST(CZSpectrumWndMenu, ARightClickOpensTheMenuWhereTheMouseIs)
{
  MenuFrame f;
  f.plot->choice = 0;
  const wxPoint inside(200, 120);
  wxUIActionSimulator mouse;
  mouse.MouseMove(f.plot->ClientToScreen(inside));
  mouse.MouseClick(wxMOUSE_BTN_RIGHT);
  ASSERT_TRUE(WaitUntil([&] { return !f.plot->offered.empty(); }));
  EXPECT_EQ(f.plot->at, inside);
}
