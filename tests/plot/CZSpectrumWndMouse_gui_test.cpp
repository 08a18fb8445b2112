// The plot window under real pointer and key events (XTest through wxUIActionSimulator; the
// simulator has no wheel, so wheel events are queued to the window as the toolkit would).
#include "CZSpectrumWnd.h"
#include "GuiTestSupport.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/uiaction.h>

#include <cstring>

namespace {
constexpr COLORREF kBack = RGB(230, 230, 230);
constexpr COLORREF kPlot = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(220, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 220);

// The overlay's dark pixels in one column; the screen may soften black a little.
int CountDarkInColumn(const wxImage& image, int x, int top, int bottom)
{
  int n = 0;
  for (int y = top; y < bottom; ++y)
    n += image.GetRed(x, y) < 0x40 && image.GetGreen(x, y) < 0x40 && image.GetBlue(x, y) < 0x40;
  return n;
}

wxRect ToRect(const RECT& r)
{
  return wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

struct InteractionFrame {
  InteractionFrame()
  {
    frame = new wxFrame(nullptr, wxID_ANY, "plot", wxPoint(40, 40), wxSize(600, 420));
    plot = new CZSpectrumWnd();
    plot->Create(frame, 1027, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
    plot->SetFontSize(11);
    plot->SetPlotFont(nullptr);
    plot->SetColours(kBack, kPlot);
    plot->SetShowYTickLabels(true);
    plot->SetShowXTickLabels(true);
    plot->SetXTitleInline(false);
    ramp = MakeRamp(L"Ramp", 101, 0, 1, 0, 1);
    ramp->SetTraceColour(kRed);
    ramp->SetXLabel(L"Time");
    ramp->SetYLabel(L"Position");
    other = MakeRamp(L"Other", 101, 0, 1, 100, -0.5f);
    other->SetTraceColour(kBlue);
    plot->AddTrace(ramp.get(), false, false);
    plot->AddTrace(other.get(), false, false);
    for (wxEventType type : {wxEVT_SPECTRUM_LIMITS_CHANGED, wxEVT_SPECTRUM_TRACES_CHANGED,
                             wxEVT_SPECTRUM_MARKER_MOVING, wxEVT_SPECTRUM_MARKER_DROPPED})
      frame->Bind(wxEventTypeTag<CZSpectrumEvent>(type),
                  [this](CZSpectrumEvent& e) { events.push_back(e.GetEventType()); });
    frame->Show();
    frame->Raise();
    PumpEvents(150);
    plot->Update();
    PumpEvents(50);
  }
  ~InteractionFrame()
  {
    simulator.KeyUp(WXK_CONTROL);
    simulator.KeyUp(WXK_SHIFT);
    frame->Destroy();
    PumpEvents(20);
  }
  // A plot point on the screen, for the pointer.
  wxPoint Screen(float x, float y) const
  {
    return plot->ClientToScreen(wxPoint(plot->XToPixel(x), plot->YToPixel(y)));
  }
  void MoveTo(float x, float y)
  {
    simulator.MouseMove(Screen(x, y));
    PumpEvents(40);
  }
  void Wheel(int rotation, bool control, bool shift)
  {
    wxMouseEvent wheel(wxEVT_MOUSEWHEEL);
    wheel.SetEventObject(plot);
    wheel.SetPosition(wxPoint(plot->XToPixel(50), plot->YToPixel(50)));
    wheel.m_wheelRotation = rotation;
    wheel.m_wheelDelta = 120;
    wheel.SetControlDown(control);
    wheel.SetShiftDown(shift);
    plot->GetEventHandler()->ProcessEvent(wheel);
    PumpEvents(40);
  }
  int Count(wxEventType type) const { return int(std::count(events.begin(), events.end(), type)); }

  wxFrame* frame;
  CZSpectrumWnd* plot;
  std::unique_ptr<CSpectrumData> ramp, other;
  wxUIActionSimulator simulator;
  std::vector<wxEventType> events;
};
} // namespace

TEST(CZSpectrumWndMouse, CursorReadOutAndZoomBandArePaintedOverThePicture)
{
  InteractionFrame f;
  CZSpectrumWnd& p = *f.plot;
  f.MoveTo(30, 30);
  f.simulator.MouseClick();
  ASSERT_TRUE(WaitUntil([&] { return p.GetCursorIndex() == 30; }));
  const int column = p.XToPixel(30);
  const RECT plotRect = p.GetPlotRect();
  // The dotted cursor line on screen, the value box under the axis; the cached picture stays clean.
  ASSERT_TRUE(WaitUntil([&] {
    const wxImage screen = CaptureWindow(f.plot).ConvertToImage();
    return CountDarkInColumn(screen, column, plotRect.top + 5, plotRect.bottom - 5) > 20;
  }));
  EXPECT_EQ(CountDarkInColumn(p.GetPlotBitmap().ConvertToImage(), column, plotRect.top + 5, p.YToPixel(32)),
            0);
  EXPECT_FALSE(SaveSnapshot(f.frame, "plot_cursor_readout").IsEmpty());

  // Ctrl+drag: the X band from the start's data point to the pointer's, until release.
  f.MoveTo(20, 50);
  f.simulator.KeyDown(WXK_CONTROL);
  EXPECT_TRUE(
      WaitUntil([&] { return p.MouseCursorShape() == EPlotMouseCursor::Zoom; })); // the key reached it
  f.simulator.MouseDown();
  PumpEvents(40);
  f.MoveTo(40, 50);
  f.MoveTo(60, 50);
  ASSERT_TRUE(WaitUntil([&] { return p.IsZooming(); }));
  const int left = p.XToPixel(20), right = p.XToPixel(60);
  ASSERT_TRUE(WaitUntil([&] {
    const wxImage screen = CaptureWindow(f.plot).ConvertToImage();
    return CountDarkInColumn(screen, left, plotRect.top + 2, plotRect.bottom - 2) >
               RectHeight(plotRect) / 2 &&
           CountDarkInColumn(screen, right, plotRect.top + 2, plotRect.bottom - 2) > RectHeight(plotRect) / 2;
  }));
  EXPECT_FALSE(SaveSnapshot(f.frame, "plot_zoom_band").IsEmpty());
  f.simulator.MouseUp();
  f.simulator.KeyUp(WXK_CONTROL);
  ASSERT_TRUE(WaitUntil([&] { return p.IsXMinFixed(); }));
  EXPECT_EQ(p.GetXMin(), 20.0f);
  EXPECT_EQ(p.GetXMax(), 60.0f);
  EXPECT_GE(f.Count(wxEVT_SPECTRUM_LIMITS_CHANGED), 1);
}

// A move repaints only where the overlay was and is: nothing of the old lines may stay behind.
TEST(CZSpectrumWndMouse, ADraggedCursorLeavesNothingOfItsOldLinesOnScreen)
{
  InteractionFrame f;
  CZSpectrumWnd& p = *f.plot;
  const RECT plotRect = p.GetPlotRect();
  auto darkInRow = [&](const wxImage& image, int y, int right) {
    int n = 0;
    for (int x = plotRect.left + 5; x < right; ++x)
      n += image.GetRed(x, y) < 0x40 && image.GetGreen(x, y) < 0x40 && image.GetBlue(x, y) < 0x40;
    return n;
  };
  f.MoveTo(30, 30);
  f.simulator.MouseDown();
  ASSERT_TRUE(WaitUntil([&] { return p.GetCursorIndex() == 30; }));
  const int oldColumn = p.XToPixel(30), oldRow = p.YToPixel(30);
  ASSERT_TRUE(WaitUntil([&] {
    const wxImage screen = CaptureWindow(f.plot).ConvertToImage();
    return CountDarkInColumn(screen, oldColumn, plotRect.top + 5, plotRect.bottom - 5) > 20 &&
           darkInRow(screen, oldRow, plotRect.right - 5) > 20;
  }));
  f.MoveTo(70, 70);
  ASSERT_TRUE(WaitUntil([&] { return p.GetCursorIndex() == 70; }));
  const int column = p.XToPixel(70), row = p.YToPixel(70);
  // The old lines up to where the new ones cross them.
  EXPECT_TRUE(WaitUntil([&] {
    const wxImage screen = CaptureWindow(f.plot).ConvertToImage();
    return CountDarkInColumn(screen, column, plotRect.top + 5, plotRect.bottom - 5) > 20 &&
           darkInRow(screen, row, plotRect.right - 5) > 20 &&
           CountDarkInColumn(screen, oldColumn, row + 2, plotRect.bottom - 5) == 0 &&
           darkInRow(screen, oldRow, column - 2) == 0;
  }));
  f.simulator.MouseUp();
}

TEST(CZSpectrumWndMouse, WheelDoubleClickAndMarkerDragOnTheWindow)
{
  InteractionFrame f;
  CZSpectrumWnd& p = *f.plot;
  // No keys: the next trace becomes the active one.
  f.Wheel(120, false, false);
  EXPECT_EQ(p.GetActiveTrace(), f.other.get());
  f.Wheel(-120, false, false);
  EXPECT_EQ(p.GetActiveTrace(), f.ramp.get());
  // Ctrl: X zoom in around the middle, and the axis shows its new labels; Ctrl+Shift: Y max alone.
  p.Update();
  const RECT xBand = p.GetXLabelRect();
  const wxImage before = p.GetPlotBitmap().GetSubBitmap(ToRect(xBand)).ConvertToImage();
  f.Wheel(120, true, false);
  EXPECT_FLOAT_EQ(p.GetXMin(), 10.0f);
  EXPECT_FLOAT_EQ(p.GetXMax(), 90.0f);
  p.Update();
  const wxImage after = p.GetPlotBitmap().GetSubBitmap(ToRect(xBand)).ConvertToImage();
  EXPECT_NE(memcmp(before.GetData(), after.GetData(), size_t(before.GetWidth() * before.GetHeight() * 3)), 0);
  p.Update();
  const float yMax = p.GetYMax();
  f.Wheel(120, true, true);
  EXPECT_LT(p.GetYMax(), yMax);
  EXPECT_TRUE(p.IsYMaxFixed());

  // Ctrl+double-click gives X back, Ctrl+Shift+double-click Y.
  f.MoveTo(50, 50);
  f.simulator.KeyDown(WXK_CONTROL);
  f.simulator.MouseDblClick();
  ASSERT_TRUE(WaitUntil([&] { return !p.IsXMinFixed() && !p.IsXMaxFixed(); }));
  EXPECT_TRUE(p.IsYMaxFixed());
  f.simulator.KeyUp(WXK_CONTROL);
  // The display makes no second double click of a click series: this one is queued directly.
  wxMouseEvent doubleClick(wxEVT_LEFT_DCLICK);
  doubleClick.SetEventObject(f.plot);
  doubleClick.SetControlDown(true);
  doubleClick.SetShiftDown(true);
  f.plot->GetEventHandler()->ProcessEvent(doubleClick);
  EXPECT_FALSE(p.IsYMaxFixed());
  PumpEvents(40);
  p.Update();
  PumpEvents(40);

  // A movable marker: hovered, dragged across data points, dropped; the parent hears each step.
  SSpectrumMarker marker;
  marker.m_label = L"m";
  marker.m_shown = 1;
  marker.m_secondFlag = 1;
  marker.m_colour = RGB(0, 160, 0);
  marker.m_position = 50;
  p.GetMarkerList().AddTail(marker);
  p.Refresh();
  p.Update();
  PumpEvents(40);
  f.MoveTo(50, 20);
  ASSERT_TRUE(WaitUntil([&] { return p.IsMarkerHovered(); }));
  f.simulator.MouseDown();
  PumpEvents(40);
  f.MoveTo(60, 20);
  f.MoveTo(70, 20);
  f.simulator.MouseUp();
  ASSERT_TRUE(WaitUntil([&] { return f.Count(wxEVT_SPECTRUM_MARKER_DROPPED) == 1; }));
  EXPECT_GE(f.Count(wxEVT_SPECTRUM_MARKER_MOVING), 3);
  EXPECT_NEAR(p.GetMarkerList().GetHead().m_position, 70.0f, 1.0f);
  const wxImage picture = p.GetPlotBitmap().ConvertToImage();
  EXPECT_EQ(PixelAt(picture, p.XToPixel(70) + 1, p.YToPixel(80)), RGB(0, 160, 0));
}
