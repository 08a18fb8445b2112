// The members of the limit computation that used to leave an axis empty, reversed or beyond
// float, or a trace off its axis.
#include "AxisSteps.h"
#include "PlotTestSupport.h"

#include <CArchive.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct SLimits {
  float xMin = -99, xMax = -99, yMin = -99, yMax = -99;
};

SLimits Limits(CZSpectrumPlot& plot)
{
  SLimits l;
  plot.CalcLimits(l.xMin, l.xMax, l.yMin, l.yMax);
  EXPECT_TRUE(IsDrawableRange(l.xMin, l.xMax)) << l.xMin << " " << l.xMax;
  EXPECT_TRUE(IsDrawableRange(l.yMin, l.yMax)) << l.yMin << " " << l.yMax;
  return l;
}

// A plot whose record fields a test sets as a settings record would hold them.
class RecordPlot : public CZSpectrumPlot {
public:
  void SetRecordedSpan(float span)
  {
    m_xSpan = span;
    m_xSpanOn = true;
  }
  std::vector<BYTE> Stored()
  {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    SerializeSettings(ar);
    ar.Close();
    return file.Data();
  }
};

void Load(CZSpectrumPlot& plot, const std::vector<BYTE>& bytes)
{
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  plot.SerializeSettings(ar);
}
} // namespace

TEST(CZSpectrumPlotRanges, CollapsedAutomaticRangesWidenAroundTheirValue)
{
  // A servo holding still: 50 samples at 45.
  CZSpectrumPlot plot;
  auto flat = MakeRamp(L"F", 50, 0, 1, 45, 0);
  plot.AddTrace(flat.get(), false, false);
  SLimits l = Limits(plot);
  EXPECT_FLOAT_EQ(l.yMin, 40);
  EXPECT_FLOAT_EQ(l.yMax, 50);
  EXPECT_EQ(plot.GetYMin(), l.yMin); // remembered, for the zooms that start from it

  // At 0: one either side. Too narrow for float to split: widened as well.
  auto zeros = MakeRamp(L"Z", 5, 0, 1, 0, 0);
  auto hair = MakeTrace(L"H", {0, 1}, {1000, std::nextafter(1000.0f, 2000.0f)});
  for (auto* data : {zeros.get(), hair.get()}) {
    CZSpectrumPlot p;
    p.AddTrace(data, false, false);
    l = Limits(p);
    EXPECT_LT(l.yMin, data->GetY(0));
    EXPECT_GT(l.yMax, data->GetY(1));
  }

  // One sample with Y fixed, and samples that all share one x: X widens the same way.
  auto one = MakeTrace(L"O", {5}, {5});
  auto column = MakeTrace(L"C", {3, 3, 3}, {1, 2, 3});
  for (auto* data : {one.get(), column.get()}) {
    CZSpectrumPlot p;
    p.AddTrace(data, false, false);
    p.SetYMin(0);
    p.SetYMax(10);
    l = Limits(p);
    EXPECT_LT(l.xMin, data->GetX(0));
    EXPECT_GT(l.xMax, data->GetX(0));
  }
}

TEST(CZSpectrumPlotRanges, TheActiveTraceCountsAsDrawnWithItsOwnScale)
{
  // An archive's Y offset of 1000 on a ramp 0..10.
  CZSpectrumPlot plot;
  auto ramp = MakeRamp(L"R", 11, 0, 1, 0, 1);
  ramp->SetYOffset(1000);
  plot.AddTrace(ramp.get(), false, false);
  SLimits l = Limits(plot);
  EXPECT_FLOAT_EQ(l.yMin, 1000);
  EXPECT_FLOAT_EQ(l.yMax, 1010);

  // A scale or offset that is no number is not used.
  for (auto [scale, offset] : {std::pair{kNaN, 0.0f}, std::pair{kInf, 0.0f}, std::pair{1.0f, -kInf}}) {
    ramp->SetYScale(scale);
    ramp->SetYOffset(offset);
    l = Limits(plot);
    EXPECT_EQ(ramp->GetYScale(), 1.0f);
    EXPECT_EQ(ramp->GetYOffset(), 0.0f);
    EXPECT_FLOAT_EQ(l.yMax, 10);
  }

  // Scale overlapped: the other trace draws at half size; made active by the wheel, it is drawn
  // with its own values again, and after unticking it has no scale of another trace's.
  auto twice = MakeRamp(L"T", 11, 0, 1, 0, 2);
  plot.AddTrace(twice.get(), false, false);
  plot.SetScaleOverlapped(true, 5);
  Limits(plot);
  EXPECT_FLOAT_EQ(twice->GetYScale(), 0.5f);
  ASSERT_TRUE(plot.MouseWheel(0, 120));
  ASSERT_EQ(plot.GetActiveTrace(), twice.get());
  l = Limits(plot);
  EXPECT_EQ(twice->GetYScale(), 1.0f);
  EXPECT_FLOAT_EQ(l.yMax, 20);
  EXPECT_FLOAT_EQ(ramp->GetYScale(), 2.0f);
}

TEST(CZSpectrumPlotRanges, ScaleOverlappedWidensYForTracesItCannotScale)
{
  // A trace that is 0 at the centre, and one whose X range does not meet the active one's.
  CZSpectrumPlot plot;
  auto a = MakeTrace(L"A", {0, 10}, {0, 10});
  auto zero = MakeTrace(L"Z", {0, 10}, {-50, 50});
  auto away = MakeTrace(L"W", {100, 110}, {200, 300});
  plot.AddTrace(a.get(), false, false);
  plot.AddTrace(zero.get(), false, false);
  plot.AddTrace(away.get(), false, false);
  plot.SetScaleOverlapped(true, 5);
  const SLimits l = Limits(plot);
  EXPECT_FLOAT_EQ(l.yMin, -50);
  EXPECT_FLOAT_EQ(l.yMax, 300);
}

TEST(CZSpectrumPlotRanges, LogLimitsRunFromTheSmallestNonZeroMagnitudeToTheLargest)
{
  auto negative = MakeTrace(L"N", {0, 1, 2}, {-100, -50, -10});
  auto touching = MakeTrace(L"T", {0, 1, 2, 3}, {0, 0.1f, 0.2f, 0.5f});
  auto sine = MakeTrace(L"S", {0, 1, 2, 3}, {-1, -0.5f, 0.25f, 1});
  const struct {
    CSpectrumData* data;
    float lo, hi;
  } cases[] = {
      {negative.get(), 1, 2}, {touching.get(), -1, std::log10(0.5f)}, {sine.get(), std::log10(0.25f), 0}};
  for (const auto& c : cases) {
    CZSpectrumPlot plot;
    plot.SetLogY(true);
    plot.AddTrace(c.data, false, false);
    const SLimits l = Limits(plot);
    EXPECT_FLOAT_EQ(l.yMin, c.lo);
    EXPECT_FLOAT_EQ(l.yMax, c.hi);
  }

  // Every drawn trace counts, as scaled: auto-scale all brings the other trace's largest
  // magnitude to the top, and its smallest widens the axis down.
  CZSpectrumPlot plot;
  plot.SetLogY(true);
  plot.SetAutoScaleAll(true);
  auto top = MakeTrace(L"A", {0, 1}, {10, 100});
  plot.AddTrace(top.get(), false, false);
  auto low = MakeTrace(L"L", {0, 1, 2}, {0, 0.001f, 0.5f});
  plot.AddTrace(low.get(), false, false);
  const SLimits l = Limits(plot);
  EXPECT_FLOAT_EQ(low->GetYScale(), 200);
  EXPECT_FLOAT_EQ(l.yMax, 2);
  EXPECT_FLOAT_EQ(l.yMin, std::log10(0.2f));
}

TEST(CZSpectrumPlotRanges, SpansBeyondFloatKeepAFiniteScale)
{
  FixedMeasure measure;
  // Data at the ends of float, scaled with their origins matched; data far below 1.
  auto ends = MakeTrace(L"E", {0, 1}, {-3e38f, 3e38f});
  auto other = MakeTrace(L"O", {0, 1}, {-1, 1});
  auto tiny = MakeTrace(L"T", {1e-37f, 2e-37f}, {1e-37f, 3e-37f});
  CZSpectrumPlot wide;
  wide.SetAutoScaleAll(true);
  wide.SetMatchOrigin(true);
  wide.AddTrace(ends.get(), false, false);
  wide.AddTrace(other.get(), false, false);
  CZSpectrumPlot small;
  small.AddTrace(tiny.get(), false, false);
  for (CZSpectrumPlot* plot : {&wide, &small}) {
    ASSERT_TRUE(plot->PrepareFrame(measure, MakeRect(0, 0, 800, 500), nullptr));
    EXPECT_TRUE(plot->ShouldDrawTraces());
    for (float k : {plot->GetXPixelsPerUnit(), plot->GetYPixelsPerUnit()})
      EXPECT_TRUE(std::isfinite(k) && k != 0) << k;
    EXPECT_TRUE(IsDrawableRange(plot->GetDrawnXMin(), plot->GetDrawnXMax()));
    EXPECT_TRUE(IsDrawableRange(plot->GetDrawnYMin(), plot->GetDrawnYMax()));
  }
}

TEST(CZSpectrumPlotRanges, SpansFloorsAndCeilingsThatLeaveNoRangeAreNotTaken)
{
  auto ramp = MakeRamp(L"R", 11, 0, 1, 0, 1); // x 0..10
  for (float span : {-1.0f, 0.0f, 1e-9f, -1e30f, kNaN, kInf}) {
    RecordPlot source;
    source.SetRecordedSpan(span);
    CZSpectrumPlot loaded;
    Load(loaded, source.Stored());
    // 1e-9 is a width, kept; only the limits leave it out where it leaves float no room.
    EXPECT_EQ(loaded.IsXSpanOn(), span == 1e-9f) << span;
    loaded.AddTrace(ramp.get(), false, false);
    SLimits l = Limits(loaded);
    EXPECT_EQ(l.xMin, 0.0f) << span;
    EXPECT_EQ(l.xMax, 10.0f) << span;

    CZSpectrumPlot set;
    set.SetXSpan(span);
    set.AddTrace(ramp.get(), false, false);
    l = Limits(set);
    EXPECT_EQ(l.xMin, 0.0f) << span;
  }

  // A floor or ceiling that is no finite number: the one before stays.
  CZSpectrumPlot plot;
  plot.AddTrace(ramp.get(), false, false);
  plot.SetXMaxFloor(20, true);
  plot.SetXMaxFloor(kInf, true);
  plot.SetYMinCeiling(-kInf, true);
  const SLimits l = Limits(plot);
  EXPECT_EQ(l.xMax, 20.0f);
  EXPECT_EQ(l.yMin, 0.0f);
}

TEST(CZSpectrumPlotRanges, RoundingGoesOutwardAndStaysInsideFloat)
{
  auto narrow = MakeTrace(L"N", {4.6f, 4.9f}, {-3e38f, 3e38f});
  CZSpectrumPlot plot;
  plot.AddTrace(narrow.get(), false, false);
  plot.SetXRounding(1, true);
  plot.SetYRounding(0.1f, true);
  const SLimits l = Limits(plot);
  EXPECT_EQ(l.xMin, 4.0f);
  EXPECT_EQ(l.xMax, 5.0f);
  float lo = 4.6f, hi = 4.9f;
  RoundRangeOutward(lo, hi, 1e-7f); // a step finer than float at this value
  EXPECT_LE(lo, 4.6f);
  EXPECT_GE(hi, 4.9f);
}
