#include "GuiTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/panel.h>

#include <memory>

// A real window opens on the test display, paints, and can be captured as a PNG.
TEST(WindowSmoke, OpensPaintsAndSavesSnapshot)
{
  auto* frame = new wxFrame(nullptr, wxID_ANY, "smoke", wxPoint(20, 20), wxSize(200, 120));
  auto* panel = new wxPanel(frame);
  panel->SetBackgroundColour(wxColour(200, 30, 40));
  frame->Show();
  PumpEvents(200);

  wxImage image = CaptureWindow(panel).ConvertToImage();
  ASSERT_TRUE(image.IsOk());
  int x = image.GetWidth() / 2, y = image.GetHeight() / 2;
  EXPECT_EQ(image.GetRed(x, y), 200);
  EXPECT_EQ(image.GetGreen(x, y), 30);
  EXPECT_EQ(image.GetBlue(x, y), 40);
  EXPECT_FALSE(SaveSnapshot(frame, "window_smoke").IsEmpty());
  frame->Destroy();
  PumpEvents(20);
}
