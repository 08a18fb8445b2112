#include "AxisSteps.h"
#include "CStringPrinting.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
const RECT kArea = MakeRect(0, 0, 400, 300);

// A plot laid out as a paint would lay it out, counting what it asks to be repainted.
class MousePlot : public CZSpectrumPlot {
public:
  MousePlot() { SetNotificationSink(&sink); }
  void Layout() { ASSERT_TRUE(PrepareFrame(measure, kArea, nullptr)); }
  POINT At(float x, float y) const { return POINT{XToPixel(x), YToPixel(y)}; }
  void CtrlDrag(POINT from, std::initializer_list<POINT> through, UINT upFlags = MK_CONTROL)
  {
    LButtonDown(MK_CONTROL | MK_LBUTTON, from);
    POINT last = from;
    for (POINT p : through) {
      MouseMove(MK_CONTROL | MK_LBUTTON, p);
      last = p;
    }
    LButtonUp(upFlags, last);
  }
  RecordingSink sink;
  FixedMeasure measure;
  int pictures = 0, overlays = 0;

protected:
  void InvalidatePlot(bool) override { ++pictures; }
  void InvalidateOverlay() override { ++overlays; }
  int GetControlId() const override { return 1027; }
};
} // namespace

TEST(CZSpectrumPlotMouse, CtrlDragZoomsXToTheDataPointsEitherWay)
{
  auto data = MakeRamp(L"R", 11, 0, 10, 0, 1); // x 0..100, y 0..10
  for (bool leftwards : {false, true}) {
    MousePlot plot;
    plot.AddTrace(data.get(), false, false);
    plot.Layout();
    const POINT a = plot.At(21, 5), b = plot.At(69, 5); // nearest points 20 and 70
    plot.CtrlDrag(leftwards ? b : a, {plot.At(45, 5), leftwards ? a : b});
    EXPECT_EQ(plot.GetXMin(), 20.0f) << leftwards;
    EXPECT_EQ(plot.GetXMax(), 70.0f) << leftwards;
    EXPECT_TRUE(plot.IsXMinFixed() && plot.IsXMaxFixed());
    EXPECT_FALSE(plot.IsYMinFixed());
    EXPECT_EQ(plot.GetCursorIndex(), -1);
    EXPECT_FALSE(plot.IsZooming());
    EXPECT_EQ(plot.sink.Count(WM_SPECTRUM_LIMITS_CHANGED), 1); // SetXMax posts nothing
  }
}

TEST(CZSpectrumPlotMouse, CursorAndXBandFindTheNearestXWhateverItsOrder)
{
  auto falling = MakeTrace(L"F", {5, 4, 3, 2, 1}, {1, 2, 3, 4, 5});
  auto unsorted = MakeTrace(L"U", {0, 5, 1, 3}, {1, 2, 3, 4});
  for (CSpectrumData* data : {falling.get(), unsorted.get()}) {
    for (bool leftwards : {false, true}) {
      MousePlot plot;
      plot.AddTrace(data, false, false);
      plot.Layout();
      plot.LButtonDown(MK_LBUTTON, plot.At(2.9f, 2));
      ASSERT_GE(plot.GetCursorIndex(), 0);
      EXPECT_EQ(data->GetX(plot.GetCursorIndex()), 3.0f) << data->GetName().GetString();
      plot.LButtonUp(0, plot.At(2.9f, 2));

      const POINT a = plot.At(1.1f, 2), b = plot.At(2.9f, 2);
      plot.CtrlDrag(leftwards ? b : a, {plot.At(2, 2), leftwards ? a : b});
      EXPECT_EQ(plot.GetXMin(), 1.0f) << data->GetName().GetString() << leftwards;
      EXPECT_EQ(plot.GetXMax(), 3.0f) << data->GetName().GetString() << leftwards;
      EXPECT_TRUE(plot.IsXMinFixed() && plot.IsXMaxFixed());
    }
  }
}

TEST(CZSpectrumPlotMouse, ZoomRectangleCancelsAndNoTrace)
{
  auto data = MakeRamp(L"R", 11, 0, 10, 0, 1);
  {
    // Ending on the first data point zooms to the dragged rectangle, X and Y.
    MousePlot plot;
    plot.AddTrace(data.get(), false, false);
    plot.Layout();
    const POINT from = plot.At(40, 8), to = plot.At(1, 2);
    plot.CtrlDrag(from, {to});
    EXPECT_NEAR(plot.GetXMin(), plot.PixelToX(to.x, 0), 1e-4);
    EXPECT_NEAR(plot.GetXMax(), 40.0f, 0.5f);
    EXPECT_NEAR(plot.GetYMin(), 2.0f, 0.1f);
    EXPECT_NEAR(plot.GetYMax(), 8.0f, 0.1f);
    EXPECT_TRUE(plot.IsYMinFixed() && plot.IsYMaxFixed());
  }
  {
    // A drag that never reaches another point, or one released after Ctrl, changes nothing.
    MousePlot plot;
    plot.AddTrace(data.get(), false, false);
    plot.Layout();
    plot.CtrlDrag(plot.At(50, 5), {plot.At(51, 5), plot.At(52, 6)});
    plot.CtrlDrag(plot.At(10, 5), {plot.At(80, 5)}, 0);
    plot.CtrlDrag(plot.At(10, 5), {plot.At(80, 5), POINT{kArea.right - 1, 1}});
    EXPECT_FALSE(plot.IsXMinFixed() || plot.IsXMaxFixed() || plot.IsYMinFixed() || plot.IsYMaxFixed());
    EXPECT_EQ(plot.GetZoomRect().left, -1);
  }
  {
    // Without a trace a Ctrl+drag does nothing at all; a click still tells the parent.
    MousePlot plot;
    plot.AddTrace(data.get(), false, false);
    plot.Layout(); // laid out with a trace, then emptied: the plot rectangle stays
    plot.RemoveAllTraces(false);
    plot.sink.seen.clear();
    plot.CtrlDrag(POINT{100, 100}, {POINT{150, 150}, POINT{200, 120}});
    EXPECT_FALSE(plot.IsZooming());
    EXPECT_EQ(plot.GetCrosshairPoint().x, -1);
    EXPECT_EQ(plot.overlays, 1);
    EXPECT_EQ(plot.sink.seen, (std::vector<SNotification>{{WM_SPECTRUM_CURSOR, 1027, 0, false}}));
    EXPECT_FALSE(plot.MouseWheel(MK_CONTROL, 120));
    EXPECT_TRUE(plot.CursorOverlay(plot.measure).xText.text.IsEmpty());
  }
}

TEST(CZSpectrumPlotMouse, CursorFollowsTheDataAndRepaintsOnlyTheOverlay)
{
  MousePlot plot;
  auto data = MakeRamp(L"R", 11, 0, 10, 0, 1);
  plot.AddTrace(data.get(), false, false);
  plot.SetShowYTickLabels(true);
  plot.Layout();
  plot.pictures = 0;
  plot.LButtonDown(MK_LBUTTON, plot.At(31, 1));
  EXPECT_EQ(plot.GetCursorIndex(), 3);
  plot.MouseMove(MK_LBUTTON, plot.At(32, 1)); // the same data point: nothing
  EXPECT_EQ(plot.overlays, 1);
  plot.MouseMove(MK_LBUTTON, plot.At(99, 1));
  EXPECT_EQ(plot.GetCursorIndex(), 10);
  EXPECT_EQ(plot.overlays, 2);
  EXPECT_EQ(plot.pictures, 0);
  EXPECT_EQ(plot.sink.Count(WM_SPECTRUM_CURSOR), 2);

  // At the right edge the X box moves back inside the plot; the Y box sits on the label column.
  const SCursorOverlay overlay = plot.CursorOverlay(plot.measure);
  ASSERT_TRUE(overlay.lines && overlay.xBox && overlay.yBox);
  EXPECT_EQ(overlay.vertical.from.x, plot.XToPixel(100));
  EXPECT_EQ(overlay.horizontal.from.y, plot.YToPixel(10));
  EXPECT_EQ(overlay.xText.text, L" 100 ");
  EXPECT_EQ(overlay.xText.box.right, plot.GetPlotRect().right);
  EXPECT_EQ(overlay.yText.text, L" 10 ");
  EXPECT_EQ(overlay.yText.box.top, plot.GetPlotRect().top);
  EXPECT_EQ(overlay.yText.box.right, plot.GetYLabelRect().right);

  // A click outside the plot clears the cursor.
  plot.LButtonDown(MK_LBUTTON, POINT{1, 1});
  EXPECT_EQ(plot.GetCursorIndex(), -1);
  EXPECT_FALSE(plot.CursorOverlay(plot.measure).lines);
}

TEST(CZSpectrumPlotMouse, WheelCyclesZoomsAndStepsTheArray)
{
  MousePlot plot;
  auto a = MakeRamp(L"A", 11, 0, 10, 0, 1);
  CSpectrumData empty;
  empty.SetName(L"E");
  auto c = MakeRamp(L"C", 11, 0, 10, 5, 1);
  for (CSpectrumData* d : {a.get(), &empty, c.get()})
    plot.AddTrace(d, false, false);
  plot.Layout();
  plot.SetCursorIndex(4);
  ASSERT_TRUE(plot.MouseWheel(0, 120)); // forward: the empty trace is passed over
  EXPECT_EQ(plot.GetActiveTrace(), c.get());
  EXPECT_EQ(plot.GetCursorIndex(), 4);
  ASSERT_TRUE(plot.MouseWheel(0, -120)); // backward: the tail comes to the head
  EXPECT_EQ(plot.GetActiveTrace(), a.get());
  EXPECT_EQ(plot.sink.Count(WM_SPECTRUM_TRACES_CHANGED), 3 + 2);
  plot.SetCursorIndex(-1);

  // Ctrl: zoom in around the middle never past the limits; zoom out stays on the data.
  plot.MouseWheel(MK_CONTROL, 120);
  EXPECT_FLOAT_EQ(plot.GetXMin(), 10.0f);
  EXPECT_FLOAT_EQ(plot.GetXMax(), 90.0f);
  plot.MouseWheel(MK_CONTROL, -120);
  plot.MouseWheel(MK_CONTROL, -120);
  EXPECT_FLOAT_EQ(plot.GetXMin(), 0.0f);
  EXPECT_FLOAT_EQ(plot.GetXMax(), 100.0f);

  // Ctrl+Shift without a cursor point: Y max alone, by a fifth of the range.
  plot.Layout();
  const float yMin = plot.GetYMin(), yMax = plot.GetYMax();
  plot.MouseWheel(MK_CONTROL | MK_SHIFT, -120);
  EXPECT_FLOAT_EQ(plot.GetYMax(), yMax + (yMax - yMin) * 0.2f);
  EXPECT_EQ(plot.GetYMin(), yMin);
  EXPECT_FALSE(plot.IsYMinFixed());

  // Shift on a single-entry trace posts nothing; on a layered one it steps, never below 0.
  plot.sink.seen.clear();
  plot.MouseWheel(MK_SHIFT, 120);
  EXPECT_EQ(plot.sink.Count(WM_SPECTRUM_TRACES_CHANGED), 0);
  CSpectrumData layers(L"L", 3, 3);
  plot.AddTrace(&layers, false, false);
  plot.BringTraceToFront(L"L");
  plot.sink.seen.clear();
  plot.MouseWheel(MK_SHIFT, -120);
  EXPECT_EQ(layers.GetArrayIndex(), 0);
  plot.MouseWheel(MK_SHIFT, 120);
  EXPECT_EQ(layers.GetArrayIndex(), 1);
  EXPECT_EQ(plot.sink.Count(WM_SPECTRUM_TRACES_CHANGED), 2);
}

TEST(CZSpectrumPlotMouse, CtrlShiftWheelZoomsYAroundTheCursorPointButNeverToANaN)
{
  MousePlot plot;
  auto data = MakeTrace(L"R", {0, 1, 2, 3}, {0, 10, std::numeric_limits<float>::quiet_NaN(), 4});
  plot.AddTrace(data.get(), false, false);
  plot.Layout();
  ASSERT_EQ(plot.GetYMin(), 0.0f);
  ASSERT_EQ(plot.GetYMax(), 10.0f);
  plot.SetCursorIndex(3); // y = 4

  // Backward: 0.6 of the range on each side of the cursor's y; forward 0.4.
  ASSERT_TRUE(plot.MouseWheel(MK_CONTROL | MK_SHIFT, -120));
  EXPECT_FLOAT_EQ(plot.GetYMin(), 4.0f - 6.0f);
  EXPECT_FLOAT_EQ(plot.GetYMax(), 4.0f + 6.0f);
  plot.MouseWheel(MK_CONTROL | MK_SHIFT, 120);
  EXPECT_FLOAT_EQ(plot.GetYMin(), 4.0f - 12.0f * 0.4f);
  EXPECT_FLOAT_EQ(plot.GetYMax(), 4.0f + 12.0f * 0.4f);
  EXPECT_TRUE(plot.IsYMinFixed() && plot.IsYMaxFixed());
  EXPECT_EQ(plot.sink.seen.back(), (SNotification{WM_SPECTRUM_LIMITS_CHANGED, 1027, 1, false}));

  // On a failed reading the limits stay as they were, and nothing is told.
  plot.SetCursorIndex(2);
  plot.sink.seen.clear();
  const float yMin = plot.GetYMin(), yMax = plot.GetYMax();
  EXPECT_TRUE(plot.MouseWheel(MK_CONTROL | MK_SHIFT, -120));
  EXPECT_EQ(plot.GetYMin(), yMin);
  EXPECT_EQ(plot.GetYMax(), yMax);
  EXPECT_TRUE(plot.sink.seen.empty());
}

TEST(CZSpectrumPlotMouse, ZoomingInAroundACursorOnAnotherTraceKeepsTheXAxisInOrder)
{
  // The cursor point, found again on the trace the wheel brought forward, lies outside the
  // zoomed window: zooming in goes on at the window's nearer end.
  MousePlot plot;
  auto near = MakeRamp(L"Near", 11, 0, 1, 0, 1);
  auto far = MakeRamp(L"Far", 11, 20, 1, 0, 1);
  plot.AddTrace(near.get(), false, false);
  plot.AddTrace(far.get(), false, false);
  plot.Layout();
  plot.LButtonDown(MK_LBUTTON, plot.At(4, 4));
  plot.LButtonUp(0, plot.At(4, 4));
  ASSERT_EQ(plot.GetActiveTrace(), near.get());
  plot.MouseWheel(MK_CONTROL | MK_SHIFT, -120);
  for (int step = 0; step < 5; ++step) {
    plot.MouseWheel(MK_CONTROL, 120);
    plot.Layout();
  }
  const float xMin = plot.GetXMin(), xMax = plot.GetXMax();
  plot.MouseWheel(0, 120);
  ASSERT_EQ(plot.GetActiveTrace(), far.get());
  plot.Layout();
  plot.MouseWheel(MK_CONTROL, 120);
  EXPECT_LT(plot.GetXMin(), plot.GetXMax());
  EXPECT_GE(plot.GetXMin(), xMin);
  EXPECT_EQ(plot.GetXMax(), xMax);
  plot.Layout();
  EXPECT_TRUE(plot.ShouldDrawTraces());
  STraceGeometry geometry;
  EXPECT_NO_THROW(plot.BuildTraceGeometry(*far, geometry));
}

TEST(CZSpectrumPlotMouse, NoZoomSetsALimitBeyondFloat)
{
  const float inf = std::numeric_limits<float>::infinity();
  {
    // Ctrl+wheel out over data at the end of the float range: moved back onto the data, not
    // pushed out to infinity on the way.
    MousePlot plot;
    auto data = MakeTrace(L"Top", {3e38f, 3.1e38f}, {0, 1});
    plot.AddTrace(data.get(), false, false);
    plot.SetXMin(-1.6e38f);
    plot.SetXMax(1.6e38f);
    ASSERT_TRUE(plot.MouseWheel(MK_CONTROL, -120));
    EXPECT_EQ(plot.GetXMin(), 3e38f);
    EXPECT_EQ(plot.GetXMax(), 3.1e38f);
  }
  {
    // Ctrl+Shift+wheel without a cursor point: a fifth more than float holds changes nothing.
    MousePlot plot;
    auto data = MakeRamp(L"R", 11, 0, 1, 0, 1);
    plot.AddTrace(data.get(), false, false);
    plot.SetYMin(-1e38f);
    plot.SetYMax(3e38f);
    plot.sink.seen.clear();
    ASSERT_TRUE(plot.MouseWheel(MK_CONTROL | MK_SHIFT, -120));
    EXPECT_EQ(plot.GetYMax(), 3e38f);
    EXPECT_TRUE(plot.sink.seen.empty());
  }
  // Data across the whole float range: its automatic limits are cut to a span float can scale,
  // and a column left of the X origin is still at -inf.
  auto wide = MakeTrace(L"W", {-inf, -3e38f, 0, 3e38f}, {-3e38f, 0, 3e38f, 1});
  {
    // The X band from the failed first reading: X stays as it was.
    MousePlot plot;
    plot.AddTrace(wide.get(), false, false);
    plot.Layout();
    const int row = plot.GetYOriginPixel() - 20;
    plot.CtrlDrag(POINT{plot.GetPlotRect().left, row}, {POINT{plot.GetXOriginPixel() + 50, row}});
    EXPECT_FALSE(plot.IsXMinFixed() || plot.IsXMaxFixed());
  }
  {
    // The rectangle, ending on the first point: X is zoomed, and Y within what float scales.
    auto ramp = MakeTrace(L"Y", {0, 1, 2, 3}, {-3e38f, 0, 3e38f, 1});
    MousePlot plot;
    plot.AddTrace(ramp.get(), false, false);
    plot.Layout();
    plot.CtrlDrag(POINT{plot.XToPixel(2.5f), 50}, {POINT{plot.XToPixel(0), 100}});
    EXPECT_TRUE(plot.IsXMinFixed() && plot.IsXMaxFixed());
    EXPECT_LT(plot.GetXMin(), plot.GetXMax());
    EXPECT_TRUE(IsDrawableRange(plot.GetYMin(), plot.GetYMax()));
  }
}

TEST(CZSpectrumPlotMouse, ARectangleAlongOneRowZoomsXOnly)
{
  // Falling x: the first point is on the right, and a drag along a row to it ends the zoom there.
  MousePlot plot;
  auto falling = MakeTrace(L"F", {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  plot.AddTrace(falling.get(), false, false);
  plot.Layout();
  plot.CtrlDrag(plot.At(4, 5), {plot.At(7, 5), plot.At(10, 5)});
  EXPECT_TRUE(plot.IsXMinFixed() && plot.IsXMaxFixed());
  EXPECT_NEAR(plot.GetXMin(), 4.0f, 0.1f);
  EXPECT_NEAR(plot.GetXMax(), 10.0f, 0.1f);
  EXPECT_FALSE(plot.IsYMinFixed() || plot.IsYMaxFixed());
  plot.Layout();
  EXPECT_TRUE(plot.ShouldDrawTraces());
}

TEST(CZSpectrumPlotMouse, DoubleClickGivesTheLimitsBack)
{
  MousePlot plot;
  plot.SetXMin(1);
  plot.SetXMax(2);
  plot.SetYMin(1);
  plot.SetYMax(2);
  EXPECT_FALSE(plot.LButtonDblClk(0));
  EXPECT_TRUE(plot.LButtonDblClk(MK_CONTROL | MK_SHIFT));
  EXPECT_TRUE(plot.IsXMinFixed() && !plot.IsYMinFixed() && !plot.IsYMaxFixed());
  EXPECT_TRUE(plot.LButtonDblClk(MK_CONTROL));
  EXPECT_FALSE(plot.IsXMinFixed() || plot.IsXMaxFixed());
  EXPECT_EQ(plot.sink.seen.back(), (SNotification{WM_SPECTRUM_LIMITS_CHANGED, 1027, 0, false}));
}

TEST(CZSpectrumPlotMouse, KeysChooseTheMouseCursor)
{
  MousePlot plot;
  EXPECT_EQ(plot.KeyDown(EPlotKey::Control, true, false), EPlotMouseCursor::Zoom);
  EXPECT_EQ(plot.KeyDown(EPlotKey::Shift, true, true), EPlotMouseCursor::YZoom);
  EXPECT_EQ(plot.MouseCursorShape(), EPlotMouseCursor::YZoom); // a mouse move keeps it
  EXPECT_EQ(plot.KeyUp(EPlotKey::Shift), EPlotMouseCursor::Arrow);
  EXPECT_EQ(plot.MouseCursorShape(), EPlotMouseCursor::Zoom); // Ctrl is still held
  EXPECT_EQ(plot.KeyUp(EPlotKey::Control), EPlotMouseCursor::Arrow);
  EXPECT_EQ(plot.KeyDown(EPlotKey::Shift, false, true), EPlotMouseCursor::None);
  EXPECT_EQ(plot.KeyDown(EPlotKey::Other, false, false), EPlotMouseCursor::None);
  EXPECT_EQ(plot.MouseCursorShape(), EPlotMouseCursor::Arrow);
}

namespace {
struct MarkerSink : RecordingSink {
  LRESULT SendNotification(UINT message, WPARAM wParam, LPARAM lParam) override
  {
    positions.push_back(reinterpret_cast<SSpectrumMarker*>(lParam)->m_position);
    return RecordingSink::SendNotification(message, wParam, lParam);
  }
  std::vector<float> positions;
};
} // namespace

TEST(CZSpectrumPlotMouse, MovableMarkersAreHoveredDraggedAndDropped)
{
  MousePlot plot;
  MarkerSink sink;
  plot.SetNotificationSink(&sink);
  auto data = MakeRamp(L"R", 11, 0, 10, 0, 1);
  plot.AddTrace(data.get(), false, false);
  SSpectrumMarker fixed, movable;
  fixed.m_label = L"fixed";
  fixed.m_position = 50;
  movable.m_label = L"m";
  movable.m_position = 50;
  movable.m_secondFlag = 1;
  plot.GetMarkerList().AddTail(fixed);
  plot.GetMarkerList().AddTail(movable);
  plot.Layout();

  plot.MouseMove(0, plot.At(20, 5));
  EXPECT_FALSE(plot.IsMarkerHovered());
  plot.MouseMove(0, POINT{plot.XToPixel(50) + 1, plot.YToPixel(5)});
  EXPECT_TRUE(plot.IsMarkerHovered());
  EXPECT_EQ(plot.MouseCursorShape(), EPlotMouseCursor::Marker);

  plot.LButtonDown(MK_LBUTTON, plot.At(50, 5));
  EXPECT_TRUE(plot.IsMarkerDragging());
  plot.MouseMove(MK_LBUTTON, plot.At(51, 5)); // the same data point: no move
  plot.MouseMove(MK_LBUTTON, plot.At(70, 5));
  plot.MouseMove(MK_LBUTTON, plot.At(80, 5));
  EXPECT_FALSE(plot.CursorOverlay(plot.measure).lines); // only the X box while dragging
  plot.LButtonUp(0, plot.At(81, 5));
  EXPECT_EQ(sink.Count(WM_SPECTRUM_MARKER_MOVING), 3);
  EXPECT_EQ(sink.Count(WM_SPECTRUM_MARKER_DROPPED), 1);
  EXPECT_EQ(sink.seen.back().message, WM_SPECTRUM_MARKER_DROPPED);
  ASSERT_EQ(sink.positions.size(), 4u);
  EXPECT_NEAR(sink.positions[1], 80.0f, 0.5f);
  EXPECT_NEAR(sink.positions[3], 81.0f, 0.5f);
  EXPECT_NEAR(plot.GetMarkerList().GetTail().m_position, 81.0f, 0.5f);
  EXPECT_EQ(plot.GetMarkerList().GetHead().m_position, 50.0f);
  EXPECT_FALSE(plot.IsMarkerDragging() || plot.IsMarkerHovered());
}

TEST(CZSpectrumPlotMouse, CtrlShiftWheelAroundACursorKeepsYFiniteOrderedAndNonEmpty)
{
  // Out around a point at the top of float: the far end would pass it.
  {
    MousePlot plot;
    auto top = MakeTrace(L"T", {0, 1, 2}, {0, 1e38f, 3e38f});
    plot.AddTrace(top.get(), false, false);
    plot.Layout();
    plot.SetCursorIndex(2);
    for (int click = 0; click < 5; ++click) {
      plot.MouseWheel(MK_CONTROL | MK_SHIFT, -120);
      plot.Layout();
      ASSERT_TRUE(IsDrawableRange(plot.GetYMin(), plot.GetYMax())) << click;
    }
  }
  // In around a point of a slope float barely splits, far past where the range has room left.
  {
    MousePlot plot;
    auto slope = MakeRamp(L"S", 11, 0, 1, 1000, 0.001f);
    plot.AddTrace(slope.get(), false, false);
    plot.Layout();
    plot.SetCursorIndex(5);
    for (int click = 0; click < 80; ++click) {
      plot.MouseWheel(MK_CONTROL | MK_SHIFT, 120);
      plot.Layout();
      ASSERT_TRUE(IsDrawableRange(plot.GetYMin(), plot.GetYMax())) << click;
      ASSERT_TRUE(plot.ShouldDrawTraces()) << click;
    }
    EXPECT_TRUE(plot.IsYMinFixed() && plot.IsYMaxFixed());
  }
}
