#include "AxisSteps.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
struct SLimits {
  float xMin = -99, xMax = -99, yMin = -99, yMax = -99;
};

SLimits Limits(CZSpectrumPlot& plot)
{
  SLimits l;
  plot.CalcLimits(l.xMin, l.xMax, l.yMin, l.yMax);
  return l;
}
} // namespace

TEST(CZSpectrumPlotLimits, NothingChangesWithoutPoints)
{
  CZSpectrumPlot plot;
  SLimits l = Limits(plot);
  EXPECT_EQ(l.xMin, -99);
  CSpectrumData empty;
  empty.SetName(L"E");
  plot.AddTrace(&empty, false, false);
  l = Limits(plot);
  EXPECT_EQ(l.xMin, -99);
  EXPECT_EQ(l.yMax, -99);
}

TEST(CZSpectrumPlotLimits, SpanFloorAndFixedLimits)
{
  CZSpectrumPlot plot;
  auto data = MakeRamp(L"T", 1501, 0, 1, 0, 2); // x 0..1500
  plot.AddTrace(data.get(), true, false);
  plot.SetXSpan(1200);
  SLimits l = Limits(plot);
  EXPECT_FLOAT_EQ(l.xMin, 300);
  EXPECT_FLOAT_EQ(l.xMax, 1500);
  // The span only moves X: Y covers every point.
  EXPECT_FLOAT_EQ(l.yMin, 0);
  EXPECT_FLOAT_EQ(l.yMax, 3000);
  EXPECT_FLOAT_EQ(plot.GetXMin(), 300);

  // A fixed X max with an automatic X min: the span is not applied, and Y is taken over the
  // visible window only.
  plot.SetXMax(1000);
  l = Limits(plot);
  EXPECT_FLOAT_EQ(l.xMin, 0);
  EXPECT_FLOAT_EQ(l.xMax, 1000);
  EXPECT_FLOAT_EQ(l.yMax, 2000);
  EXPECT_EQ(data->GetLastIndex(), 1500); // the data set itself is not cut

  CZSpectrumPlot live;
  auto early = MakeRamp(L"T", 41, 0.5f, 0.5f, 10, 0); // x 0.5..20.5, flat at 10
  live.AddTrace(early.get(), true, false);
  live.SetXMaxFloor(30, true);
  l = Limits(live);
  EXPECT_FLOAT_EQ(l.xMin, 0.5f);
  EXPECT_FLOAT_EQ(l.xMax, 30);

  live.SetYMinCeiling(0, true);
  l = Limits(live);
  EXPECT_FLOAT_EQ(l.yMin, 0);
  EXPECT_FLOAT_EQ(l.yMax, 10);
  live.SetYMin(-5);
  l = Limits(live);
  EXPECT_FLOAT_EQ(l.yMin, -5);
}

TEST(CZSpectrumPlotLimits, OtherTracesJoinOnlyWhenAllowedOrNamedHold)
{
  CZSpectrumPlot plot;
  auto a = MakeTrace(L"A", {0, 10}, {0, 1});
  auto wide = MakeTrace(L"B", {-5, 20}, {-3, 7});
  wide->SetYScale(2.0f);
  wide->SetYOffset(1.0f);
  plot.AddTrace(a.get(), false, false);
  plot.AddTrace(wide.get(), false, false);

  SLimits l = Limits(plot);
  EXPECT_FLOAT_EQ(l.xMin, -5);
  EXPECT_FLOAT_EQ(l.xMax, 20);
  EXPECT_FLOAT_EQ(l.yMin, -3);
  EXPECT_FLOAT_EQ(l.yMax, 7);
  EXPECT_FLOAT_EQ(wide->GetYScale(), 1.0f);

  wide->SetYScale(2.0f);
  plot.SetLimitsFromAllTraces(false);
  l = Limits(plot);
  EXPECT_FLOAT_EQ(l.xMin, 0);
  EXPECT_FLOAT_EQ(l.xMax, 10);
  EXPECT_FLOAT_EQ(l.yMax, 1);
  EXPECT_FLOAT_EQ(wide->GetYScale(), 2.0f); // a trace that does not join keeps its scale

  wide->SetName(L"Hold");
  l = Limits(plot);
  EXPECT_FLOAT_EQ(l.xMax, 20);
}

TEST(CZSpectrumPlotLimits, AutoScaleAllMapsEveryTraceOntoTheActiveRange)
{
  CZSpectrumPlot plot;
  plot.SetAutoScaleAll(true);
  auto a = MakeTrace(L"A", {0, 1, 2}, {10, 30, 20});
  auto b = MakeTrace(L"B", {0, 1, 2}, {-1, 0, 1});
  plot.AddTrace(a.get(), false, false);
  plot.AddTrace(b.get(), false, false);
  SLimits l = Limits(plot);
  EXPECT_FLOAT_EQ(l.yMin, 10);
  EXPECT_FLOAT_EQ(l.yMax, 30);
  EXPECT_FLOAT_EQ(-1 * b->GetYScale() + b->GetYOffset(), 10);
  EXPECT_FLOAT_EQ(1 * b->GetYScale() + b->GetYOffset(), 30);
}

TEST(CZSpectrumPlotLimits, FlatAndSinglePointTracesGetScaleOne)
{
  // The live plot scales every trace onto the active one; a temperature that does not move (or a
  // trace just switched on with one sample) has no Y range to divide by.
  CZSpectrumPlot plot;
  plot.SetAutoScaleAll(true);
  auto a = MakeTrace(L"A", {0, 1, 2}, {10, 30, 20});
  auto flat = MakeTrace(L"Flat", {0, 1, 2}, {25, 25, 25});
  auto single = MakeTrace(L"One", {1}, {4});
  plot.AddTrace(a.get(), false, false);
  plot.AddTrace(flat.get(), false, false);
  plot.AddTrace(single.get(), false, false);
  SLimits l = Limits(plot);
  EXPECT_FLOAT_EQ(l.yMin, 10);
  EXPECT_FLOAT_EQ(l.yMax, 30);
  EXPECT_EQ(flat->GetYScale(), 1.0f);
  EXPECT_FLOAT_EQ(flat->GetYOffset(), 10 - 25);
  EXPECT_EQ(single->GetYScale(), 1.0f);
  EXPECT_TRUE(std::isfinite(single->GetYOffset()));

  // With the origins matched, a trace of zeros has nothing to match either.
  plot.SetMatchOrigin(true);
  auto zeros = MakeTrace(L"Z", {0, 1, 2}, {0, 0, 0});
  plot.AddTrace(zeros.get(), false, false);
  l = Limits(plot);
  EXPECT_EQ(zeros->GetYScale(), 1.0f);
  EXPECT_TRUE(std::isfinite(l.yMin) && std::isfinite(l.yMax));
  EXPECT_FLOAT_EQ(flat->GetYScale(), 30.0f / 25.0f); // a flat trace away from 0 still matches
}

TEST(CZSpectrumPlotLimits, ScaleOverlappedKeepsTheScaleWhereTheTraceIsZero)
{
  CZSpectrumPlot plot;
  auto a = MakeTrace(L"A", {0, 10}, {0, 10});
  auto b = MakeTrace(L"B", {0, 10}, {0, 20});
  auto zero = MakeTrace(L"Z", {0, 10}, {0, 0});
  zero->SetYScale(3.0f);
  zero->SetYOffset(2.0f);
  plot.AddTrace(a.get(), false, false);
  plot.AddTrace(b.get(), false, false);
  plot.AddTrace(zero.get(), false, false);
  plot.SetScaleOverlapped(true, 5.0f);
  Limits(plot);
  EXPECT_FLOAT_EQ(b->GetYScale(), 0.5f);
  EXPECT_FLOAT_EQ(zero->GetYScale(), 3.0f);
  EXPECT_FLOAT_EQ(zero->GetYOffset(), 0.0f);

  // A value so small that the ratio overflows, or none at all, keeps the scale as well.
  auto tiny = MakeTrace(L"T", {0, 10}, {1e-38f, 1e-38f});
  auto nan = MakeTrace(L"N", {0, 10}, {std::nanf(""), std::nanf("")});
  tiny->SetYScale(4.0f);
  nan->SetYScale(5.0f);
  plot.AddTrace(tiny.get(), false, false);
  plot.AddTrace(nan.get(), false, false);
  plot.SetScaleOverlapped(true, 5.0f);
  Limits(plot);
  EXPECT_FLOAT_EQ(tiny->GetYScale(), 4.0f);
  EXPECT_FLOAT_EQ(nan->GetYScale(), 5.0f);
}

TEST(CZSpectrumPlotLimits, FailedReadingsAndUnsortedXGiveTheRealExtent)
{
  const float inf = std::numeric_limits<float>::infinity();
  CZSpectrumPlot plot;
  // A reading of inf or NaN, even the first one, takes no part in the limits.
  auto live = MakeTrace(L"L", {0, 1, 2, 3, 4}, {std::nanf(""), 2, inf, -1, -inf});
  plot.AddTrace(live.get(), false, false);
  SLimits l = Limits(plot);
  EXPECT_EQ(l.yMin, -1.0f);
  EXPECT_EQ(l.yMax, 2.0f);
  EXPECT_EQ(l.xMax, 4.0f);

  // Falling or unsorted x spans from its smallest to its largest value.
  auto falling = MakeTrace(L"F", {5, 4, 3, 2, 1}, {1, 2, 3, 4, 5});
  auto unsorted = MakeTrace(L"U", {0, 5, 1, 3}, {1, 2, 3, 4});
  CZSpectrumPlot second;
  second.AddTrace(falling.get(), false, false);
  l = Limits(second);
  EXPECT_EQ(l.xMin, 1.0f);
  EXPECT_EQ(l.xMax, 5.0f);
  second.RemoveAllTraces(false);
  second.AddTrace(unsorted.get(), false, false);
  l = Limits(second);
  EXPECT_EQ(l.xMin, 0.0f);
  EXPECT_EQ(l.xMax, 5.0f);

  // A fixed X window over unsorted x: the Y limits of the line inside it, the points and the
  // strokes that cross its ends (from (0, 1) to (5, 2) at 0.5 and 3.5, back to (1, 3) at 3.5).
  second.SetXMin(0.5f);
  second.SetXMax(3.5f);
  l = Limits(second);
  EXPECT_FLOAT_EQ(l.yMin, 1.1f);
  EXPECT_EQ(l.yMax, 4.0f);
}

TEST(CZSpectrumPlotLimits, KeptScansFollowTheData)
{
  CZSpectrumPlot plot;
  auto data = MakeTrace(L"D", {0, 1, 2}, {0, 5, 1});
  plot.AddTrace(data.get(), false, false);
  EXPECT_EQ(Limits(plot).yMax, 5.0f);
  data->AddPoint(3, 9); // a live sample: the window grows
  EXPECT_EQ(Limits(plot).yMax, 9.0f);
  EXPECT_EQ(Limits(plot).xMax, 3.0f);
  data->SetY(1, 20); // inside, with the ends unchanged: kept until told
  EXPECT_EQ(Limits(plot).yMax, 9.0f);
  plot.TraceDataChanged(data.get());
  EXPECT_EQ(Limits(plot).yMax, 20.0f);
  EXPECT_EQ(data->GetYMax(false), 20.0f); // the data set's own limits are brought up to date too
}

TEST(CZSpectrumPlotLimits, RoundingChangesWhatIsDrawnNotWhatIsStored)
{
  CZSpectrumPlot plot;
  auto a = MakeTrace(L"A", {0.3f, 9.7f}, {1.2f, 8.6f});
  plot.AddTrace(a.get(), false, false);
  plot.SetXRounding(1.0f, true);
  plot.SetYRounding(2.0f, true);
  SLimits l = Limits(plot);
  // Outward: the data stays inside.
  EXPECT_FLOAT_EQ(l.xMin, 0);
  EXPECT_FLOAT_EQ(l.xMax, 10);
  EXPECT_FLOAT_EQ(l.yMin, 0);
  EXPECT_FLOAT_EQ(l.yMax, 10);
  EXPECT_FLOAT_EQ(plot.GetXMin(), 0.3f);
  EXPECT_FLOAT_EQ(plot.GetYMax(), 8.6f);
}

TEST(CZSpectrumPlotLimits, AnEmptyActiveTraceGivesWayToOneWithPoints)
{
  CZSpectrumPlot plot;
  CSpectrumData empty;
  empty.SetName(L"E");
  auto b = MakeTrace(L"B", {1, 2}, {3, 4});
  plot.AddTrace(&empty, false, false);
  plot.AddTrace(b.get(), false, false);
  SLimits l = Limits(plot);
  EXPECT_EQ(plot.GetActiveTrace(), b.get());
  // The empty trace, now behind it, has no limits to add: the axes keep to the data.
  EXPECT_FLOAT_EQ(l.xMin, 1);
  EXPECT_FLOAT_EQ(l.xMax, 2);
  EXPECT_FLOAT_EQ(l.yMin, 3);
  EXPECT_FLOAT_EQ(l.yMax, 4);
  float lo = 0, hi = 0;
  EXPECT_TRUE(plot.GetCommonXRange(lo, hi));
  EXPECT_FLOAT_EQ(lo, 1);
  EXPECT_FLOAT_EQ(hi, 2);

  // A live trace switched on before its first sample, behind one with points, scaled or not.
  CZSpectrumPlot live;
  auto position = MakeTrace(L"Position", {10, 20}, {500, 600});
  CSpectrumData fresh;
  fresh.SetName(L"Speed");
  live.AddTrace(position.get(), true, false);
  live.AddTrace(&fresh, true, false);
  l = Limits(live);
  EXPECT_FLOAT_EQ(l.xMin, 10);
  EXPECT_FLOAT_EQ(l.yMin, 500);
  live.SetAutoScaleAll(true);
  l = Limits(live);
  EXPECT_FLOAT_EQ(l.yMin, 500);
  EXPECT_FLOAT_EQ(l.yMax, 600);
}

TEST(CZSpectrumPlotLimits, CommonXRange)
{
  CZSpectrumPlot plot;
  float lo = 0, hi = 0;
  EXPECT_FALSE(plot.GetCommonXRange(lo, hi));
  auto a = MakeTrace(L"A", {0, 10}, {0, 1});
  auto b = MakeTrace(L"B", {4, 20}, {0, 1});
  auto far = MakeTrace(L"C", {30, 40}, {0, 1});
  plot.AddTrace(a.get(), false, false);
  plot.AddTrace(b.get(), false, false);
  EXPECT_TRUE(plot.GetCommonXRange(lo, hi));
  EXPECT_FLOAT_EQ(lo, 4);
  EXPECT_FLOAT_EQ(hi, 10);
  plot.AddTrace(far.get(), false, false);
  EXPECT_FALSE(plot.GetCommonXRange(lo, hi));
  EXPECT_FLOAT_EQ(lo, 30);
  EXPECT_FLOAT_EQ(hi, 30);
}

TEST(CZSpectrumPlotLimits, AnAutomaticLimitNeverPassesAFixedOne)
{
  // A fixed limit beyond all the data (typed for data still to come): the automatic one stays on
  // the far side of it, as far as the data spans, and the axis stays in order.
  CZSpectrumPlot plot;
  auto data = MakeTrace(L"A", {0, 5}, {1, 3});
  plot.AddTrace(data.get(), false, false);
  plot.SetXMin(9);
  SLimits l = Limits(plot);
  EXPECT_EQ(l.xMin, 9.0f);
  EXPECT_EQ(l.xMax, 14.0f);
  EXPECT_EQ(plot.GetXMax(), 14.0f); // remembered as the automatic limit
  plot.SetXMinAuto(true);
  plot.SetYMax(-1);
  l = Limits(plot);
  EXPECT_EQ(l.yMin, -3.0f);
  EXPECT_EQ(l.yMax, -1.0f);

  // A single sample has no span: a round step of a tenth of its value; beyond what float can
  // add, a few floats.
  auto one = MakeTrace(L"O", {3}, {1});
  CZSpectrumPlot single;
  single.AddTrace(one.get(), false, false);
  single.SetXMax(3);
  single.SetYMin(1e30f);
  l = Limits(single);
  EXPECT_EQ(l.xMin, 2.5f);
  EXPECT_GT(l.yMax, 1e30f);
  EXPECT_TRUE(IsDrawableRange(l.yMin, l.yMax));
}
