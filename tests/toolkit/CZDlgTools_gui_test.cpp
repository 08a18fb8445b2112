#include "CStringPrinting.h"
#include "CZDlgTools.h"
#include "GuiTestSupport.h"
#include "StringResources.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/stattext.h>

namespace {
struct DialogPanel {
  DialogPanel()
  {
    frame = new wxFrame(nullptr, wxID_ANY, "layout", wxPoint(60, 60), wxDefaultSize);
    frame->SetClientSize(300, 200);
    panel = new wxPanel(frame, wxID_ANY, wxPoint(0, 0), wxSize(300, 200));
    for (int id : {101, 102, 103})
      new wxButton(panel, id, wxString::Format("B%d", id), wxPoint(0, 0), wxSize(50, 30));
    new wxStaticText(panel, 201, "Label", wxPoint(0, 0), wxSize(40, 20), wxST_NO_AUTORESIZE);
    new wxStaticText(panel, 202, "Field", wxPoint(0, 0), wxSize(60, 20), wxST_NO_AUTORESIZE);
    frame->Show();
    PumpEvents(50);
  }
  ~DialogPanel()
  {
    frame->Destroy();
    PumpEvents(20);
  }
  wxRect Rect(int id) const { return panel->FindWindow(id)->GetRect(); }
  wxFrame* frame;
  wxPanel* panel;
};
} // namespace

TEST(CZDlgTools, ThreeButtonsInThreeColumnsSpanTheRightOfA300PixelArea)
{
  DialogPanel d;
  ASSERT_EQ(d.panel->GetClientSize().x, 300);
  CZDlgTools tools(d.panel);
  for (int id : {101, 102, 103})
    tools.AddButton(id, true);
  ASSERT_TRUE(tools.Layout(3));
  EXPECT_EQ(d.Rect(101), wxRect(53, 3, 80, 30));
  EXPECT_EQ(d.Rect(102), wxRect(134, 3, 80, 30));
  EXPECT_EQ(d.Rect(103), wxRect(215, 3, 80, 30));
  EXPECT_EQ(tools.GetCurrentY(), 33);
  // Laid-out controls are forgotten: a second Layout has nothing to do.
  EXPECT_FALSE(tools.Layout(3));
  EXPECT_EQ(tools.GetCurrentY(), 33);
  EXPECT_FALSE(SaveSnapshot(d.frame, "dlgtools_three_buttons").IsEmpty());
}

TEST(CZDlgTools, HiddenControlsTakeNoRoom)
{
  DialogPanel d;
  CZDlgTools tools(d.panel);
  tools.AddButton(101, true);
  tools.AddButton(102, false);
  tools.AddButton(103, true);
  ASSERT_TRUE(tools.Layout(2));
  EXPECT_FALSE(d.panel->FindWindow(102)->IsShown());
  EXPECT_TRUE(d.panel->FindWindow(101)->IsShown());
  EXPECT_EQ(d.Rect(101).x, 134);
  EXPECT_EQ(d.Rect(103).x, 215);
  // A control that does not exist is neither listed nor an error.
  tools.AddItem(999, true);
  EXPECT_FALSE(tools.Layout(1));
}

TEST(CZDlgTools, PairStretchAndPinBottom)
{
  DialogPanel d;
  CZDlgTools tools(d.panel);
  EXPECT_FALSE(tools.StretchRight(0));
  EXPECT_EQ(tools.GetCurrentY(), 5);
  tools.SetMargins(8);
  tools.SetRowSpacing(8);
  tools.AddItemPair(201, 202, 50, true);
  ASSERT_TRUE(tools.Layout(1));
  EXPECT_EQ(d.Rect(201), wxRect(8, 13, 40, 20));
  EXPECT_EQ(d.Rect(202), wxRect(49, 13, 300 - 8 - 49, 50));
  EXPECT_EQ(tools.GetCurrentY(), 63);

  EXPECT_TRUE(tools.StretchRight(101));
  EXPECT_EQ(d.Rect(101), wxRect(8, 8, 284, 30));
  EXPECT_EQ(tools.GetCurrentY(), 46);

  EXPECT_TRUE(tools.PinBottom(103));
  const wxRect before = d.Rect(102);
  EXPECT_TRUE(tools.PinBottom(102));
  EXPECT_EQ(d.Rect(102), wxRect(before.x, 200 - 8 - 30, before.width, 30));
  EXPECT_FALSE(tools.PinBottom(999));
  EXPECT_FALSE(tools.StretchRight(999));

  // Hiding a pair hides both of its controls.
  tools.AddItemPair(201, 202, 0, false);
  EXPECT_FALSE(d.panel->FindWindow(201)->IsShown());
  EXPECT_FALSE(d.panel->FindWindow(202)->IsShown());
  EXPECT_FALSE(tools.Layout(1));
}

TEST(CZDlgTools, LoadResStringGivesTheTextOrQuestionMarks)
{
  SetStringResource(40500, L"Zero position");
  EXPECT_EQ(LoadResString(40500), CString(L"Zero position"));
  EXPECT_EQ(LoadResString(40501), CString(L"???"));
}
