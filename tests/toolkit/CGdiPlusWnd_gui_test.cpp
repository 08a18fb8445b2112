#include "CGdiBorder.h"
#include "CGdiPlusWnd.h"
#include "GdiPlusHelpers.h"
#include "GuiTestSupport.h"
#include "MemDC.h"

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/graphics.h>
#include <wx/image.h>
#include <wx/panel.h>

#include <memory>

namespace {
// A window whose background is a grey frame of 4 pixels and whose content is a green square in
// the area the background leaves; it counts how often each layer is painted.
class CountingWnd : public CGdiPlusWnd<wxWindow> {
public:
  BOOL PaintBackground(wxGraphicsContext& g, RECT* rect) override
  {
    ++backgrounds;
    g.SetPen(*wxTRANSPARENT_PEN);
    g.SetBrush(wxBrush(wxColour(128, 128, 128)));
    g.DrawRectangle(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    *rect = RECT{rect->left + 4, rect->top + 4, rect->right - 4, rect->bottom - 4};
    return CGdiPlusWnd::PaintBackground(g, rect);
  }
  void PaintContent(wxGraphicsContext& g, RECT* rect) override
  {
    ++contents;
    contentRect = *rect;
    // Drawn at (0, 0): the world transform already starts at the area the background left.
    g.SetBrush(wxBrush(wxColour(0, 200, 0)));
    g.DrawRectangle(0, 0, 10, 10);
  }
  int backgrounds = 0;
  int contents = 0;
  RECT contentRect;
};

struct Window {
  Window()
  {
    frame = new wxFrame(nullptr, wxID_ANY, "gdi", wxPoint(70, 70), wxSize(200, 150));
    wnd = new CountingWnd();
    // A frame stretches a only child over itself; the panel keeps the window at its own size.
    auto* panel = new wxPanel(frame);
    wnd->Create(panel, 1100, wxPoint(10, 10), wxSize(60, 40));
    frame->Show();
    PumpEvents(80);
  }
  ~Window()
  {
    frame->Destroy();
    PumpEvents(20);
  }
  wxFrame* frame;
  CountingWnd* wnd;
};

// Draws a border with the given settings around the whole of a white bitmap.
wxImage DrawBorder(CGdiBorder& border, RECT& rect, int width = 100, int height = 60)
{
  wxBitmap bitmap(width, height, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    std::unique_ptr<wxGraphicsContext> g(wxGraphicsContext::Create(dc));
    rect = RECT{0, 0, width, height};
    border.Draw(*g, &rect);
  }
  return bitmap.ConvertToImage();
}
} // namespace

TEST(CGdiPlusWnd, BackgroundIsPaintedOnceUntilTheWindowIsDirty)
{
  Window w;
  const wxImage first = w.wnd->PaintToBitmap().ConvertToImage();
  EXPECT_EQ(ColourAt(first, 1, 1), wxColour(128, 128, 128));
  EXPECT_EQ(ColourAt(first, 8, 8), wxColour(0, 200, 0));
  EXPECT_EQ(ColourAt(first, 20, 20), wxColour(128, 128, 128));
  EXPECT_EQ(w.wnd->contentRect.left, 4);
  EXPECT_EQ(w.wnd->contentRect.right, 56);

  const int backgrounds = w.wnd->backgrounds;
  const int contents = w.wnd->contents;
  const wxImage second = w.wnd->PaintToBitmap().ConvertToImage();
  EXPECT_EQ(w.wnd->backgrounds, backgrounds);
  EXPECT_EQ(w.wnd->contents, contents + 1);
  EXPECT_EQ(ColourAt(second, 1, 1), wxColour(128, 128, 128));
  EXPECT_EQ(ColourAt(second, 8, 8), wxColour(0, 200, 0));

  w.wnd->MarkDirty();
  w.wnd->PaintToBitmap();
  EXPECT_EQ(w.wnd->backgrounds, backgrounds + 1);
  w.wnd->SetSize(80, 40);
  PumpEvents(30);
  EXPECT_GE(w.wnd->backgrounds, backgrounds + 1);
  const int afterResize = w.wnd->backgrounds;
  w.wnd->PaintToBitmap();
  EXPECT_GE(w.wnd->backgrounds, afterResize);
  EXPECT_EQ(w.wnd->contentRect.right, 76);
}

TEST(CGdiPlusWnd, WindowTextIsHeldHereAndAnEqualTextDoesNotRepaint)
{
  Window w;
  w.wnd->SetWindowText(L"Connected");
  EXPECT_EQ(w.wnd->GetWindowText(), CString(L"Connected"));
  EXPECT_EQ(w.wnd->GetWindowTextLength(), 9);
  EXPECT_EQ(w.wnd->GetLabel(), wxString("Connected"));
  wchar_t buffer[5];
  EXPECT_EQ(w.wnd->GetWindowText(buffer, 5), 4);
  EXPECT_STREQ(buffer, L"Conn");
  wchar_t whole[20];
  EXPECT_EQ(w.wnd->GetWindowText(whole, 20), 9);
  EXPECT_STREQ(whole, L"Connected");

  w.wnd->Update();
  PumpEvents(50);
  const int contents = w.wnd->contents;
  w.wnd->SetWindowText(L"Connected");
  PumpEvents(50);
  EXPECT_EQ(w.wnd->contents, contents);
  EXPECT_FALSE(w.wnd->IsDirty());

  w.wnd->SetWindowText(L"Disconnected");
  PumpEvents(50);
  EXPECT_GT(w.wnd->contents, contents);
  EXPECT_FALSE(w.wnd->IsDirty());
  const int backgrounds = w.wnd->backgrounds;
  w.wnd->SetRedrawBackgroundOnText(TRUE);
  w.wnd->SetWindowText(L"Firmware Update");
  w.wnd->PaintToBitmap();
  EXPECT_EQ(w.wnd->backgrounds, backgrounds + 1);
}

TEST(MemDC, DrawsOffScreenOverACopyOfTheTargetAndCopiesItBack)
{
  wxBitmap target(40, 30, 24);
  {
    wxMemoryDC dc(target);
    dc.SetBackground(*wxBLUE_BRUSH);
    dc.Clear();
    MemDC memory(&dc, RECT{10, 5, 30, 25}, true);
    ASSERT_TRUE(memory.IsValid());
    // The target's coordinates: the left half of the rectangle only.
    memory.SetPen(*wxTRANSPARENT_PEN);
    memory.SetBrush(*wxRED_BRUSH);
    memory.DrawRectangle(10, 5, 10, 20);
  }
  const wxImage image = target.ConvertToImage();
  EXPECT_EQ(ColourAt(image, 12, 7), *wxRED);
  EXPECT_EQ(ColourAt(image, 19, 24), *wxRED);
  // The rest of the rectangle is the target's own picture, copied in and back out.
  EXPECT_EQ(ColourAt(image, 25, 7), *wxBLUE);
  EXPECT_EQ(ColourAt(image, 5, 7), *wxBLUE);
  EXPECT_EQ(ColourAt(image, 12, 27), *wxBLUE);
}

TEST(CGdiBorder, StyleFiveDrawsNothingAndLeavesTheRectangle)
{
  CGdiBorder border;
  border.SetWidth(5);
  RECT rect;
  const wxImage image = DrawBorder(border, rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, 100);
  EXPECT_EQ(rect.bottom, 60);
  for (int x = 0; x < 100; x += 3)
    EXPECT_EQ(ColourAt(image, x, 0), *wxWHITE);
}

TEST(CGdiBorder, TwoRingStylesInsetTwoThirdsThenTheRest)
{
  CGdiBorder border;
  border.SetWidth(5);
  border.SetStyle(0);
  RECT rect;
  wxImage image = DrawBorder(border, rect);
  EXPECT_EQ(rect.left, 4);
  EXPECT_EQ(rect.top, 4);
  EXPECT_EQ(rect.right, 96);
  EXPECT_EQ(rect.bottom, 56);
  EXPECT_NE(ColourAt(image, 1, 40), *wxWHITE);
  EXPECT_NE(ColourAt(image, 3, 40), *wxWHITE);
  EXPECT_EQ(ColourAt(image, 50, 30), *wxWHITE);
  EXPECT_FALSE(SaveSnapshot(wxBitmap(image), "border_style0").IsEmpty());

  border.SetStyle(3);
  border.SetWidth(7);
  DrawBorder(border, rect);
  EXPECT_EQ(rect.left, 4 + 2);
  for (int style : {1, 2, 4}) {
    border.SetStyle(style);
    DrawBorder(border, rect);
    EXPECT_EQ(rect.left, 7) << "style " << style;
    EXPECT_EQ(rect.bottom, 53) << "style " << style;
  }
}

TEST(CGdiBorder, GradientRunsFromTheTopColourToTheBottomColour)
{
  CGdiBorder border;
  border.SetWidth(6);
  border.SetStyle(1);
  border.SetColours(0xFFFFFFFF, 0xFF000000);
  RECT rect;
  wxImage image = DrawBorder(border, rect, 100, 100);
  // Style 1: dark at the top, light at the bottom; the inside stays untouched.
  EXPECT_LT(image.GetRed(50, 1), 30);
  EXPECT_GT(image.GetRed(50, 98), 225);
  EXPECT_EQ(ColourAt(image, 50, 50), *wxWHITE);
  border.SetStyle(2);
  image = DrawBorder(border, rect, 100, 100);
  EXPECT_GT(image.GetRed(50, 1), 225);
  EXPECT_LT(image.GetRed(50, 98), 30);
}

TEST(CGdiBorder, RoundedRingIsWholeAllAround)
{
  CGdiBorder border;
  border.SetWidth(8);
  border.SetStyle(1);
  border.SetShape(3);
  border.SetCornerDiameter(16);
  border.SetColours(0xFF0000FF, 0xFF0000FF);
  RECT rect;
  const wxImage image = DrawBorder(border, rect, 120, 80);
  EXPECT_FALSE(SaveSnapshot(wxBitmap(image), "border_rounded_ring").IsEmpty());
  // Every pixel well inside the ring's straight sides is the ring's colour, none shows through.
  for (int y = 20; y < 60; ++y)
    for (int x : {1, 2, 3, 4, 5, 6, 113, 114, 115, 116, 117, 118})
      EXPECT_EQ(ColourAt(image, x, y), *wxBLUE) << x << "," << y;
  for (int x = 20; x < 100; ++x)
    for (int y : {1, 6, 73, 78})
      EXPECT_EQ(ColourAt(image, x, y), *wxBLUE) << x << "," << y;
  EXPECT_EQ(ColourAt(image, 60, 40), *wxWHITE);
  EXPECT_EQ(ColourAt(image, 0, 0), *wxWHITE);
}

TEST(GdiPlusHelpers, RoundRectCutsItsCornersAndFillsItsMiddle)
{
  wxBitmap bitmap(60, 40, 24);
  {
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    std::unique_ptr<wxGraphicsContext> g(wxGraphicsContext::Create(dc));
    wxGraphicsPath path = g->CreatePath();
    AddRoundRect(path, 20, 0, 0, 60, 40);
    g->SetBrush(*wxBLACK_BRUSH);
    g->FillPath(path);
  }
  const wxImage image = bitmap.ConvertToImage();
  EXPECT_EQ(ColourAt(image, 0, 0), *wxWHITE);
  EXPECT_EQ(ColourAt(image, 59, 39), *wxWHITE);
  EXPECT_EQ(ColourAt(image, 30, 20), *wxBLACK);
  EXPECT_EQ(ColourAt(image, 30, 1), *wxBLACK);
  EXPECT_EQ(ColourAt(image, 1, 20), *wxBLACK);
}
