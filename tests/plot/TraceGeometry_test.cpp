#include "PlotTestSupport.h"
#include "TraceIndex.h"
#include "TracePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

namespace {
const RECT kArea = MakeRect(0, 0, 400, 300);

// The straightforward paint: every point read in turn, the path cutting what lies outside.
STraceGeometry ReferenceGeometry(const CZSpectrumPlot& plot, CSpectrumData& d)
{
  STraceGeometry reference;
  CTracePath path(plot, reference, true);
  for (int i = d.GetFirstIndex(); i <= d.GetLastIndex(); ++i) {
    const float y = d.GetY(i) * d.GetYScale() + d.GetYOffset();
    if (!(d.MaskEnabled() && d.IsMasked(i)) && std::isfinite(y))
      path.Add(d.GetX(i), y);
  }
  return reference;
}

bool SamePoints(const std::vector<POINT>& a, const std::vector<POINT>& b)
{
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](POINT p, POINT q) { return p.x == q.x && p.y == q.y; });
}
} // namespace

TEST(TraceIndex, BinarySearchGivesTheDataSetsOwnNearestPoint)
{
  std::mt19937 random(7);
  std::uniform_real_distribution<float> step(0.0f, 2.0f);
  std::uniform_real_distribution<float> probe(-10.0f, 210.0f);
  for (int round = 0; round < 40; ++round) {
    CSpectrumData data;
    float x = 0;
    for (int i = 0; i < 150; ++i) {
      data.AddPoint(x, float(i));
      if (random() % 4)
        x += std::floor(step(random) * 2) / 2; // repeated x values and half steps, so ties happen
    }
    if (round % 2) {
      data.EnableMask(true);
      for (int i = 0; i < 150; ++i)
        if (random() % 3 == 0)
          data.Mask(i, true);
    }
    if (round % 5 == 4) {
      data.SetFirstIndex(20);
      data.SetLastIndex(120);
    }
    ASSERT_TRUE(XRises(data));
    for (int k = 0; k < 200; ++k) {
      const float v = k < 150 ? probe(random) : data.GetX(int(random() % 150)) + (k % 3 - 1) * 0.25f;
      ASSERT_EQ(NearestIndex(data, v, true), data.GetIndex(v)) << "round " << round << " value " << v;
    }
    EXPECT_EQ(NearestIndex(data, std::numeric_limits<float>::quiet_NaN(), true),
              data.GetIndex(std::numeric_limits<float>::quiet_NaN()));
  }
}

TEST(TraceIndex, InAnyOrderTheNearestXWinsAndTheFirstOfEqualsCounts)
{
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::mt19937 random(5);
  std::uniform_int_distribution<int> grid(0, 40); // few values, so that equal x values happen
  for (int round = 0; round < 30; ++round) {
    CSpectrumData data;
    for (int i = 0; i < 60; ++i)
      data.AddPoint(random() % 9 == 0 ? nan : float(grid(random)) * 0.5f, float(i));
    data.EnableMask(round % 2 == 1);
    for (int i = 0; i < 60; ++i)
      data.Mask(i, random() % 3 == 0);
    ASSERT_FALSE(XRises(data));
    std::vector<float> xs(60);
    data.GetXData(xs.data());
    for (int k = 0; k < 50; ++k) {
      const float v = float(grid(random)) * 0.5f + float(k % 4) * 0.125f;
      int expected = -1;
      for (int i = 0; i < 60; ++i)
        if (!(data.MaskEnabled() && data.IsMasked(i)) && !std::isnan(data.GetX(i)) &&
            (expected < 0 || std::fabs(data.GetX(i) - v) < std::fabs(data.GetX(expected) - v)))
          expected = i;
      ASSERT_EQ(NearestIndex(data, v, false), expected) << "round " << round << " value " << v;
      ASSERT_EQ(NearestIndex(data, v, false, xs.data()), expected);
    }
  }
  // Falling x: a walk from the first point would stop there, at x = 5.
  auto falling = MakeTrace(L"F", {5, 4, 3, 2, 1}, {0, 0, 0, 0, 0});
  EXPECT_EQ(NearestIndex(*falling, 2.2f, false), 3);
}

TEST(TraceGeometry, FastPaintDrawsTheSamePictureAsTheWalk)
{
  std::mt19937 random(11);
  std::normal_distribution<float> noise(0.0f, 5.0f);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (int round = 0; round < 16; ++round) {
    CZSpectrumPlot plot;
    FixedMeasure measure;
    const int points = round < 6 ? 5000 : round < 12 ? 300 : 200000;
    // Later rounds repeat x values (several samples in one timer tick) and hold failed readings.
    const int repeat = round >= 8 ? 1 + round % 4 : 1;
    std::vector<float> xs(static_cast<size_t>(points)), ys(static_cast<size_t>(points));
    for (int i = 0; i < points; ++i) {
      xs[size_t(i)] = float(i / repeat) * 0.1f * float(repeat) / float(points / 300 + 1);
      ys[size_t(i)] = round >= 10 && i % 37 == 5 ? nan : noise(random);
    }
    auto data = std::make_unique<CSpectrumData>(L"R", points, 1);
    data->SetXData(xs.data());
    data->SetYData(ys.data(), 0);
    if (round % 3 == 1) {
      data->EnableMask(true);
      for (int i = 0; i < points; i += 7)
        data->Mask(i, true);
    }
    plot.AddTrace(data.get(), false, false);
    if (round % 4 == 2) {
      plot.SetXMin(3.33f);
      plot.SetXMax(17.77f);
      plot.SetYMax(4.0f); // clamps the tops
    }
    if (round % 4 == 3)
      plot.SetXSpan(12.34f);
    ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
    STraceGeometry geometry;
    plot.BuildTraceGeometry(*data, geometry);
    const STraceGeometry reference = ReferenceGeometry(plot, *data);
    EXPECT_TRUE(SamePoints(geometry.points, reference.points)) << "round " << round;
    EXPECT_EQ(geometry.runStarts, reference.runStarts) << "round " << round;
    // Cut at the top, the line comes back into the window many times.
    EXPECT_LE(geometry.points.size(), size_t(RectWidth(plot.GetPlotRect())) * (round % 4 == 2 ? 2 : 1));
    if (round % 4 == 2) {
      EXPECT_GT(geometry.runStarts.size(), 1u);
    }
  }
}

TEST(TraceGeometry, PointsOutOfOrderAreDrawnAtTheirOwnY)
{
  // Pasted data whose x repeats and falls back: every point keeps its own value.
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeTrace(L"P", {0, 1, 1, 2, 1.5f, 3}, {0, 10, 20, 30, 40, 50});
  plot.AddTrace(data.get(), false, false);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  STraceGeometry geometry;
  plot.BuildTraceGeometry(*data, geometry);
  const float xs[] = {0, 1, 2, 1.5f, 3};
  const float ys[] = {0, 10, 30, 40, 50}; // the second x = 1 shares its column and is skipped
  ASSERT_EQ(geometry.points.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(geometry.points[i].x, plot.XToPixel(xs[i]));
    EXPECT_EQ(geometry.points[i].y, plot.YToPixel(ys[i])) << i;
  }

  // Falling and unsorted x: every point, in the order it comes.
  auto falling = MakeTrace(L"F", {5, 4, 3, 2, 1}, {1, 2, 3, 4, 5});
  auto unsorted = MakeTrace(L"U", {0, 5, 1, 3}, {1, 2, 3, 4});
  for (CSpectrumData* d : {falling.get(), unsorted.get()}) {
    CZSpectrumPlot one;
    one.AddTrace(d, false, false);
    ASSERT_TRUE(one.PrepareFrame(measure, kArea, nullptr));
    one.BuildTraceGeometry(*d, geometry);
    ASSERT_EQ(geometry.points.size(), size_t(d->GetIndexRange()));
    for (int i = 0; i < d->GetIndexRange(); ++i) {
      EXPECT_EQ(geometry.points[size_t(i)].x, one.XToPixel(d->GetX(i)));
      EXPECT_EQ(geometry.points[size_t(i)].y, one.YToPixel(d->GetY(i)));
    }
  }
}

TEST(TraceGeometry, OnePointPerColumnMasksAndMarks)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto dense = MakeRamp(L"D", 20000, 0, 0.001f, 0, 1);
  plot.AddTrace(dense.get(), false, false);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  STraceGeometry geometry;
  plot.BuildTraceGeometry(*dense, geometry);
  ASSERT_GT(geometry.points.size(), 300u);
  for (size_t i = 1; i < geometry.points.size(); ++i)
    ASSERT_GT(geometry.points[i].x, geometry.points[i - 1].x);
  EXPECT_EQ(geometry.points.front().x, plot.GetXOriginPixel());

  // A masked point is left out: the line joins its neighbours.
  CZSpectrumPlot sparse;
  auto data = MakeTrace(L"M", {0, 1, 2, 3}, {0, 9, 1, 2});
  data->EnableMask(true);
  data->Mask(1, true);
  sparse.AddTrace(data.get(), false, false);
  ASSERT_TRUE(sparse.PrepareFrame(measure, kArea, nullptr));
  sparse.BuildTraceGeometry(*data, geometry);
  EXPECT_EQ(geometry.mark, ETraceMark::Line);
  ASSERT_EQ(geometry.points.size(), 3u);
  EXPECT_EQ(geometry.points[1].x, sparse.XToPixel(2));

  data->SetTraceLineStyle(PlotLineDot);
  sparse.BuildTraceGeometry(*data, geometry);
  EXPECT_EQ(geometry.mark, ETraceMark::Pixel);
  EXPECT_EQ(geometry.points.size(), 3u);
  data->SetTraceLineStyle(PlotLineDotSymbol);
  sparse.BuildTraceGeometry(*data, geometry);
  EXPECT_EQ(geometry.mark, ETraceMark::Symbol);
  ASSERT_EQ(geometry.points.size(), 3u); // the first point has its symbol too
  EXPECT_EQ(geometry.points[0].x, sparse.XToPixel(0));
}

TEST(TraceGeometry, AnEdgePointOutsideTheWindowKeepsTheSlope)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeTrace(L"E", {0, 10, 20}, {0, 100, 0});
  plot.AddTrace(data.get(), false, false);
  plot.SetXMin(4);
  plot.SetXMax(16);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  STraceGeometry geometry;
  plot.BuildTraceGeometry(*data, geometry);
  ASSERT_EQ(geometry.points.size(), 3u);
  EXPECT_EQ(geometry.points[0].x, plot.XToPixel(4));
  EXPECT_EQ(geometry.points[0].y, plot.YToPixel(40));
  EXPECT_EQ(geometry.points[2].y, plot.YToPixel(40));
}

TEST(TraceGeometry, StrokesLeavingTheWindowAreCutAtItsEdge)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  STraceGeometry geometry;
  auto at = [&](float x, float y) { return POINT{plot.XToPixel(x), plot.YToPixel(y)}; };
  // Pasted data zoomed in: a stroke to a point outside ends where it crosses the edge, and the
  // line starts again where the next stroke comes back in.
  auto pasted = MakeTrace(L"U", {0, 5, 1, 3}, {1, 2, 3, 4});
  plot.AddTrace(pasted.get(), false, false);
  plot.SetXMin(0.5f);
  plot.SetXMax(3.5f);
  plot.SetYMin(0);
  plot.SetYMax(5);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  plot.BuildTraceGeometry(*pasted, geometry);
  EXPECT_TRUE(
      SamePoints(geometry.points, {at(0.5f, 1.1f), at(3.5f, 1.7f), at(3.5f, 2.375f), at(1, 3), at(3, 4)}));
  EXPECT_EQ(geometry.runStarts, (std::vector<size_t>{0, 2}));

  // Automatic Y limits hold the strokes to the outer points where they cross the window too: the
  // same line is drawn, the symbols only on the points inside.
  plot.SetYMinAuto(true);
  plot.SetYMaxAuto(true);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  EXPECT_FLOAT_EQ(plot.GetDrawnYMin(), 1.1f);
  plot.BuildTraceGeometry(*pasted, geometry);
  EXPECT_TRUE(
      SamePoints(geometry.points, {at(0.5f, 1.1f), at(3.5f, 1.7f), at(3.5f, 2.375f), at(1, 3), at(3, 4)}));
  pasted->SetTraceLineStyle(PlotLineDotSymbol);
  plot.BuildTraceGeometry(*pasted, geometry);
  EXPECT_TRUE(SamePoints(geometry.points, {at(1, 3), at(3, 4)}));

  // Rising x under a fixed Y max: a spike is cut at the top, not flattened along it.
  CZSpectrumPlot rising;
  auto spike = MakeTrace(L"S", {0, 1, 2, 3, 4}, {0, 0, 10, 0, 0});
  rising.AddTrace(spike.get(), false, false);
  rising.SetYMin(0);
  rising.SetYMax(5);
  ASSERT_TRUE(rising.PrepareFrame(measure, kArea, nullptr));
  rising.BuildTraceGeometry(*spike, geometry);
  auto on = [&](float x, float y) { return POINT{rising.XToPixel(x), rising.YToPixel(y)}; };
  EXPECT_TRUE(
      SamePoints(geometry.points, {on(0, 0), on(1, 0), on(1.5f, 5), on(2.5f, 5), on(3, 0), on(4, 0)}));
  EXPECT_EQ(geometry.runStarts, (std::vector<size_t>{0, 3}));
}

TEST(TraceGeometry, ATraceAtItsOwnLimitsStaysInsideTheTraceClip)
{
  // A servo holding its largest position lies on Y max for seconds: that flat stretch must land on
  // the first row inside the clip, not on the row above it, whatever the rounding of the scale.
  FixedMeasure measure;
  STraceGeometry geometry;
  for (const float top : {9000.0f, 1234.5f, 0.3f, 77.7f, 1e6f}) {
    for (int height = 120; height <= 360; height += 7) {
      CZSpectrumPlot plot;
      auto held = MakeTrace(L"Held", {0, 1, 2, 3, 4, 5}, {0, top / 3, top, top, top, 0});
      plot.AddTrace(held.get(), false, false);
      ASSERT_TRUE(plot.PrepareFrame(measure, MakeRect(0, 0, 400, height), nullptr));
      plot.BuildTraceGeometry(*held, geometry);
      const RECT clip = plot.GetTraceClipRect();
      for (const POINT& p : geometry.points)
        ASSERT_TRUE(PointInRect(clip, p.x, p.y)) << top << " in " << height << ": " << p.x << "," << p.y;
    }
  }
}

TEST(TraceGeometry, ClipSegmentCutsExactlyAtTheEdges)
{
  const SDataWindow window{0, 10, 0, 10};
  auto clip = [&](float ax, float ay, float bx, float by) {
    const bool shown = ClipSegment(window, ax, ay, bx, by);
    return std::make_pair(shown, std::vector<float>{ax, ay, bx, by});
  };
  EXPECT_EQ(clip(1, 2, 3, 4), std::make_pair(true, std::vector<float>{1, 2, 3, 4}));
  EXPECT_EQ(clip(-10, 5, 20, 5), std::make_pair(true, std::vector<float>{0, 5, 10, 5}));
  EXPECT_EQ(clip(5, 5, 5, 30), std::make_pair(true, std::vector<float>{5, 5, 5, 10}));
  // Through two edges: in at the left, out at the top.
  EXPECT_EQ(clip(-2, 6, 6, 14), std::make_pair(true, std::vector<float>{0, 8, 2, 10}));
  // Past a corner, beside the window, on no number.
  EXPECT_FALSE(clip(-1, 9, 9, 21).first);
  EXPECT_FALSE(clip(11, 0, 12, 10).first);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  float ax = 1, ay = 1, bx = 2, by = 2;
  EXPECT_FALSE(ClipSegment(SDataWindow{0, nan, 0, 10}, ax, ay, bx, by));
}

TEST(TraceGeometry, DrawingOrderHoldRuleMarkersAndZeroLine)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto a = MakeTrace(L"A", {0, 10}, {-5, 5});
  auto b = MakeTrace(L"B", {0, 10}, {0, 1});
  auto hold = MakeTrace(L"Hold", {0, 10}, {0, 1});
  CSpectrumData empty;
  empty.SetName(L"E");
  a->AddVerticalMarker(L"m", 5, 0.1f, 0x0000FF, true);
  a->AddVerticalMarker(L"hidden", 6, 0.1f, 0x0000FF, false);
  for (CSpectrumData* d : {a.get(), b.get(), &empty, hold.get()})
    plot.AddTrace(d, false, false);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  EXPECT_EQ(plot.TracesInDrawingOrder(), (std::vector<CSpectrumData*>{hold.get(), b.get(), a.get()}));
  plot.SetLimitsFromAllTraces(false);
  EXPECT_EQ(plot.TracesInDrawingOrder(), (std::vector<CSpectrumData*>{hold.get(), a.get()}));

  STraceGeometry geometry;
  plot.BuildTraceGeometry(*a, geometry);
  ASSERT_EQ(geometry.markers.size(), 1u);
  EXPECT_EQ(geometry.markers[0].from.x, plot.XToPixel(5.5f));
  EXPECT_EQ(geometry.markers[0].colour, 0x0000FFu);

  SSpectrumMarker window;
  window.m_shown = 1;
  window.m_position = 2;
  window.m_width = 0.01f;
  window.m_secondFlag = 1;
  window.m_colour = 0x00FF00;
  plot.GetMarkerList().AddTail(window);
  std::vector<SPlotSegment> lines = plot.WindowMarkerLines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].width, 3); // a movable marker is at least 3 pixels wide
  EXPECT_EQ(lines[0].from.y, plot.GetYOriginPixel());
  EXPECT_EQ(lines[0].to.y, plot.YToPixel(5));

  SPlotSegment zero;
  ASSERT_TRUE(plot.ZeroLine(zero));
  EXPECT_EQ(zero.from.y, plot.YToPixel(0));
}

// The library has no peak search yet: its layout friend writes the records a search would leave.
struct CSpectrumDataLayout {
  static void SetPeak(CSpectrumData& data, int k, float x, float intensity)
  {
    data.m_peaks[size_t(k)].m_wavelength = x;
    data.m_peaks[size_t(k)].m_intensity = intensity;
  }
};

TEST(TraceGeometry, APeakAtZeroIsMarkedAndSoAreTheOnesAfterIt)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeRamp(L"P", 21, -10, 1, 0, 1);
  data->InitPeakArray(4);
  CSpectrumDataLayout::SetPeak(*data, 0, 0.0f, 10.0f);
  CSpectrumDataLayout::SetPeak(*data, 1, 5.0f, 15.0f);
  EXPECT_EQ(FoundPeakCount(*data, 0), 2);
  plot.AddTrace(data.get(), false, false);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  STraceGeometry geometry;
  plot.BuildTraceGeometry(*data, geometry);
  ASSERT_EQ(geometry.peaks.size(), 2u);
  EXPECT_EQ(geometry.peaks[0].from.x, plot.XToPixel(0));
  EXPECT_EQ(geometry.peaks[1].from.x, plot.XToPixel(5));
  int labels = 0;
  for (const SPlotText& t : plot.XAxisTexts(measure))
    labels += t.fillBox && (t.text == L" 0 " || t.text == L" 5 ");
  EXPECT_EQ(labels, 2);
}

TEST(TraceGeometry, AWindowWithOneSampleOrNoneStillShowsTheLineThroughIt)
{
  // Zoomed in on a live trace until one sample, or none, lies in the X window: the line crossing
  // the window sets the automatic Y range and is drawn from edge to edge.
  FixedMeasure measure;
  STraceGeometry geometry;
  auto data = MakeTrace(L"Z", {0, 1, 2, 3, 4, 5, 6, 7}, {0, 3, 1, 4, 1, 5, 9, 2});
  struct SCase {
    float x0, x1;
    std::vector<std::pair<float, float>> line; // what the path passes through
    float yMin, yMax;
  };
  const SCase cases[] = {
      {4.6f, 5.4f, {{4.6f, 3.4f}, {5, 5}, {5.4f, 6.6f}}, 3.4f, 6.6f},
      // No sample inside: the nearest sample (4, 1) still counts, as it always has.
      {4.2f, 4.4f, {{4.2f, 1.8f}, {4.4f, 2.6f}}, 1.0f, 2.6f},
  };
  for (const SCase& c : cases) {
    CZSpectrumPlot plot;
    plot.AddTrace(data.get(), false, false);
    plot.SetXMin(c.x0);
    plot.SetXMax(c.x1);
    ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
    EXPECT_NEAR(plot.GetDrawnYMin(), c.yMin, 1e-5) << c.x0;
    EXPECT_NEAR(plot.GetDrawnYMax(), c.yMax, 1e-5) << c.x0;
    ASSERT_TRUE(plot.ShouldDrawTraces()) << c.x0;
    plot.BuildTraceGeometry(*data, geometry);
    std::vector<POINT> expected;
    for (auto [x, y] : c.line)
      expected.push_back(POINT{plot.XToPixel(x), plot.YToPixel(y)});
    EXPECT_TRUE(SamePoints(geometry.points, expected)) << c.x0;
    EXPECT_EQ(geometry.runStarts, std::vector<size_t>{0}) << c.x0;
  }
}

TEST(TraceGeometry, LimitsInTheWrongOrderDrawNoTraceAndNeverThrow)
{
  // Only a caller's own setters can still give them; the frame is drawn, the traces are not.
  FixedMeasure measure;
  CZSpectrumPlot plot;
  auto data = MakeRamp(L"R", 11, 0, 1, 0, 1);
  plot.AddTrace(data.get(), false, false);
  plot.SetXMin(9);
  plot.SetXMax(3);
  plot.SetYMin(0);
  plot.SetYMax(10);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  EXPECT_FALSE(plot.ShouldDrawTraces());
  STraceGeometry geometry;
  EXPECT_NO_THROW(plot.BuildTraceGeometry(*data, geometry));
  EXPECT_TRUE(geometry.points.empty());
}

TEST(TraceGeometry, AFailedXIsLeftOutOfTheLine)
{
  // A reading whose x is no number: the line joins the points either side of it.
  FixedMeasure measure;
  CZSpectrumPlot plot;
  auto data = MakeTrace(L"N", {0, 1, std::nanf(""), 3, 4}, {0, 4, 9, 1, 2});
  plot.AddTrace(data.get(), false, false);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  STraceGeometry geometry;
  plot.BuildTraceGeometry(*data, geometry);
  auto at = [&](float x, float y) { return POINT{plot.XToPixel(x), plot.YToPixel(y)}; };
  EXPECT_TRUE(SamePoints(geometry.points, {at(0, 0), at(1, 4), at(3, 1), at(4, 2)}));
  EXPECT_EQ(geometry.runStarts, std::vector<size_t>{0});
}

TEST(TraceGeometry, AKeptPathGoesWithItsPointsLimitsAndScale)
{
  // A repaint reuses the path of the last one; every change below must build it again.
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeRamp(L"R", 3000, 0.0f, 0.01f, 0.0f, 0.0f);
  for (int i = 0; i < 3000; ++i)
    data->SetY(i, std::sin(float(i) * 0.01f));
  plot.AddTrace(data.get(), false, false);
  STraceGeometry geometry;
  auto expectFresh = [&](const char* step) {
    ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr)) << step;
    plot.BuildTraceGeometry(*data, geometry);
    const STraceGeometry reference = ReferenceGeometry(plot, *data);
    EXPECT_TRUE(SamePoints(geometry.points, reference.points)) << step;
    EXPECT_EQ(geometry.runStarts, reference.runStarts) << step;
  };
  expectFresh("first paint");
  expectFresh("repaint");
  plot.SetYMin(-0.5f); // the tops are cut: new runs at unchanged x limits
  plot.SetYMax(0.5f);
  expectFresh("Y limits");
  data->SetYScale(0.25f);
  expectFresh("Y scale");
  data->SetYOffset(0.3f);
  expectFresh("Y offset");
  plot.SetXMin(5.0f);
  plot.SetXMax(12.0f);
  expectFresh("X limits");
  data->SetY(900, 40.0f); // inside the points, where nothing but the owner's word shows it
  plot.TraceDataChanged(data.get());
  expectFresh("a point changed");
  data->AddPoint(30.0f, 0.0f);
  expectFresh("a point added");
  ASSERT_TRUE(plot.PrepareFrame(measure, MakeRect(0, 0, 250, 300), nullptr));
  expectFresh("a narrower plot");
}

TEST(TraceGeometry, PixelsSnapAsRoundingToTheNearestWholeDoes)
{
  // The paint's own rounding stands in for std::round; this is what it must give.
  auto reference = [](float value) {
    const float whole = std::round(value);
    return PixelOf(std::fabs(value - whole) < 1e-3f ? whole : value);
  };
  std::vector<float> values = {0.0f,
                               -0.0f,
                               0.5f,
                               -0.5f,
                               2.9995f,
                               2.998f,
                               -2.9995f,
                               -2.998f,
                               3.0005f,
                               -3.0005f,
                               1.5f,
                               -1.5f,
                               0.9999f,
                               -0.9999f,
                               1e6f,
                               -1e6f,
                               999999.9f,
                               1e7f,
                               -1e9f,
                               3e38f,
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity(),
                               std::numeric_limits<float>::quiet_NaN()};
  std::mt19937 random(13);
  std::uniform_real_distribution<float> spread(-2000.0f, 2000.0f);
  for (int i = 0; i < 20000; ++i) {
    const float v = spread(random);
    values.push_back(v);
    values.push_back(std::round(v) + (i % 2 ? 1 : -1) * 0.0009f);
  }
  for (float v : values)
    ASSERT_EQ(SnappedPixelOf(v), reference(v)) << v;
}
