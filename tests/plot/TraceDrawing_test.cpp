// What a paint lights for each trace, written through the paint's own line writer: a trace that
// holds a finite point inside the window must come out as at least a dot.
#include "LineRaster.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <vector>

namespace {
const RECT kArea = MakeRect(0, 0, 400, 300);

// The lit pixels of each trace colour after a paint of the prepared plot, inside the trace clip.
std::map<COLORREF, int> LitPixels(CZSpectrumPlot& plot, const RECT& area = kArea)
{
  const int width = RectWidth(area), height = RectHeight(area);
  std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0);
  CLineRaster raster(reinterpret_cast<unsigned char*>(pixels.data()), width * 4, width, height);
  std::map<COLORREF, int> lit;
  if (!plot.ShouldDrawTraces())
    return lit;
  const RECT clip = plot.GetTraceClipRect();
  STraceGeometry geometry;
  for (CSpectrumData* trace : plot.TracesInDrawingOrder()) {
    plot.BuildTraceGeometry(*trace, geometry);
    if (geometry.mark == ETraceMark::Line) {
      raster.DrawRuns(geometry.points, geometry.runStarts, geometry.colour, clip);
      continue;
    }
    for (const POINT& p : geometry.points)
      if (PointInRect(clip, p.x, p.y))
        pixels[size_t(p.y) * size_t(width) + size_t(p.x)] = NativePixel(geometry.colour);
  }
  for (uint32_t pixel : pixels)
    if (pixel != 0)
      ++lit[COLORREF(((pixel >> 16) & 0xFF) | (pixel & 0xFF00) | ((pixel & 0xFF) << 16))];
  return lit;
}

constexpr COLORREF kActive = 0x0000FF, kOther = 0x00FF00;

void FixLimits(CZSpectrumPlot& plot, float x0, float x1, float y0, float y1)
{
  plot.SetXMin(x0);
  plot.SetXMax(x1);
  plot.SetYMin(y0);
  plot.SetYMax(y1);
}
} // namespace

TEST(TraceDrawing, ALonePointOrATraceWithinOneColumnIsDrawn)
{
  FixedMeasure measure;
  // Flat along the bottom, where the other traces never reach to be drawn over.
  auto ramp = MakeRamp(L"Live", 11, 0, 1, 0, 0);
  ramp->SetTraceColour(kActive);
  struct SCase {
    const char* name;
    std::unique_ptr<CSpectrumData> other;
    float x0, x1;
    int leastLit; // of the other trace
  };
  SCase cases[] = {
      {"a single sample beside the active trace", MakeTrace(L"Hold", {5}, {5}), 0, 10, 1},
      // A vertical stroke over most of the inner height (about 200 rows from y 1 to 9).
      {"a trace narrower than a pixel", MakeRamp(L"Hold", 50, 5, 1e-5f, 1, 8.0f / 49), 0, 10, 150},
      {"an X window 800 times wider than the data", MakeRamp(L"Hold", 11, 0, 1, 1, 0.8f), 0, 8000, 150},
      {"two data sets far apart in X", MakeRamp(L"Hold", 11, 1e6f, 1, 1, 0.8f), 0, 1e6f + 10, 150},
  };
  for (SCase& c : cases) {
    CZSpectrumPlot plot;
    c.other->SetTraceColour(kOther);
    plot.AddTrace(ramp.get(), false, false);
    plot.AddTrace(c.other.get(), false, false);
    FixLimits(plot, c.x0, c.x1, 0, 10);
    ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr)) << c.name;
    ASSERT_TRUE(plot.ShouldDrawTraces()) << c.name;
    const std::map<COLORREF, int> lit = LitPixels(plot);
    EXPECT_GE(lit.count(kOther) ? lit.at(kOther) : 0, c.leastLit) << c.name;
    EXPECT_GE(lit.count(kActive) ? lit.at(kActive) : 0, 1) << c.name;
    plot.RemoveAllTraces(false);
  }
}

TEST(TraceDrawing, AWindowWithoutInnerAreaDrawsNoTraceAndKeepsItsScalesSigned)
{
  // Every character 200 pixels high: the font alone fills an 800 x 500 window.
  struct HugeMeasure : IPlotTextMeasure {
    SIZE MeasureText(const CString& text) override { return SIZE{LONG(120 * text.GetLength()), 270}; }
  } huge;
  FixedMeasure small;
  auto ramp = MakeRamp(L"R", 11, 0, 1, 0, 1);
  struct SCase {
    RECT area;
    IPlotTextMeasure* measure;
  };
  const SCase cases[] = {
      {MakeRect(0, 0, 20, 20), &small}, {MakeRect(0, 0, 1, 1), &small}, {MakeRect(0, 0, 800, 500), &huge}};
  for (const SCase& c : cases) {
    CZSpectrumPlot plot;
    plot.SetShowXTickLabels(true);
    plot.SetShowYTickLabels(true);
    plot.AddTrace(ramp.get(), false, false);
    ASSERT_TRUE(plot.PrepareFrame(*c.measure, c.area, nullptr));
    EXPECT_FALSE(plot.HasTraceArea()) << c.area.right;
    EXPECT_FALSE(plot.ShouldDrawTraces()) << c.area.right;
    const RECT clip = plot.GetTraceClipRect();
    EXPECT_TRUE(RectWidth(clip) == 0 && RectHeight(clip) == 0) << c.area.right;
    EXPECT_GT(plot.GetXPixelsPerUnit(), 0.0f) << c.area.right;
    EXPECT_LT(plot.GetYPixelsPerUnit(), 0.0f) << c.area.right;
    plot.RemoveAllTraces(false);
  }
}

TEST(TraceDrawing, PixelScalesStayFiniteOverSpansNearTheEndsOfFloat)
{
  FixedMeasure measure;
  const float big = std::numeric_limits<float>::max();
  struct SCase {
    float x0, x1;       // fixed X limits
    double first, last; // the trace's x, 11 points evenly apart
  };
  const SCase cases[] = {
      {-big, big, -3e38, 3e38},
      {0, 1e-44f, 0, 9e-45},
      {0, 1e-37f, 0, 1e-37},
      {-3e38f, 3e38f, -3e38, 3e38},
  };
  for (const SCase& c : cases) {
    CZSpectrumPlot plot;
    auto trace = std::make_unique<CSpectrumData>();
    for (int k = 0; k <= 10; ++k)
      trace->AddPoint(float(c.first + (c.last - c.first) * k / 10), float(k));
    plot.AddTrace(trace.get(), false, false);
    FixLimits(plot, c.x0, c.x1, 0, 10);
    ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr)) << c.x1;
    ASSERT_TRUE(plot.ShouldDrawTraces()) << c.x1;
    EXPECT_TRUE(std::isfinite(plot.GetXPixelsPerUnit()) && plot.GetXPixelsPerUnit() > 0) << c.x1;
    // The trace runs across the plot, not into one column.
    const int left = plot.XToPixel(trace->GetX(0)), right = plot.XToPixel(trace->GetX(10));
    EXPECT_GT(right - left, RectWidth(plot.GetPlotRect()) / 2) << c.x1;
    EXPECT_GE(LitPixels(plot)[trace->GetTraceColour()], right - left) << c.x1;
    plot.RemoveAllTraces(false);
  }
}

TEST(TraceDrawing, ALogAxisDrawsTheScaledValuesAndLeavesZerosOut)
{
  FixedMeasure measure;
  CZSpectrumPlot plot;
  auto trace = MakeTrace(L"L", {0, 1, 2, 3, 4}, {10, 0, 100, 1000, 100});
  trace->SetYScale(10);
  plot.AddTrace(trace.get(), false, false);
  plot.SetLogY(true);
  FixLimits(plot, 0, 4, -1, 5);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  STraceGeometry geometry;
  plot.BuildTraceGeometry(*trace, geometry);
  // log10 of 10 y, the 0 left out: the line goes from x 0 straight to x 2.
  auto at = [&](float x, float y) { return POINT{plot.XToPixel(x), plot.YToPixel(std::log10(10 * y))}; };
  const std::vector<POINT> expected = {at(0, 10), at(2, 100), at(3, 1000), at(4, 100)};
  ASSERT_EQ(geometry.points.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k)
    EXPECT_TRUE(geometry.points[k].x == expected[k].x && geometry.points[k].y == expected[k].y) << k;
  plot.RemoveAllTraces(false);
}
