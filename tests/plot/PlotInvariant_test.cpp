// Random plots mixing every setting that moves the limits: whatever the data, scales, sheet and
// record values, window size and mouse zooms, every limit is finite, ordered and non-empty, and
// each trace the paint draws that holds a finite point inside the window shows pixels through
// the paint's own line writer.
#include "LineRaster.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>

namespace {
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kBig = 3e38f;

// Text sizes of a font of some size: 7 x 13 pixels a character at 12 points.
class ScaledMeasure : public IPlotTextMeasure {
public:
  explicit ScaledMeasure(int factor) : m_factor(factor) {}
  SIZE MeasureText(const CString& text) override
  {
    SIZE size;
    size.cx = LONG(7 * m_factor * text.GetLength());
    size.cy = LONG(13 * m_factor);
    return size;
  }

private:
  int m_factor;
};

class CRandomPlots {
public:
  explicit CRandomPlots(unsigned seed) : m_random(seed) {}

  template <typename T> const T& Pick(std::initializer_list<T> values)
  {
    return values.begin()[Below(int(values.size()))];
  }
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(m_random) < p; }
  float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(m_random); }

  std::unique_ptr<CSpectrumData> Trace(int k)
  {
    auto data = std::make_unique<CSpectrumData>();
    data->SetName(Chance(0.15) ? L"Hold" : (L"T" + std::to_wstring(k)).c_str());
    const float x0 = Pick({0.0f, 0.5f, 1000.0f, -5.0f, 1e6f, 1e4f * float(k), 1e-37f, -kBig});
    const float dx = Pick({1.0f, 0.5f, 0.001f, 1e-38f, 1e5f, 0.0f});
    const int n = Pick({1, 2, 3, 10, 50, 300});
    const int shape = Below(10);
    for (int i = 0; i < n; ++i) {
      const float t = float(i);
      float y = 0;
      switch (shape) {
      case 0:
        y = 3 * t;
        break; // ramp
      case 1:
        y = 45;
        break; // flat
      case 2:
        y = std::sin(t * 0.3f);
        break; // sign-symmetric
      case 3:
        y = Pick({0.0f, 0.1f, 0.2f, 0.5f});
        break; // touches 0, all below 1
      case 4:
        y = -100 + 9 * t;
        break; // mostly negative
      case 5:
        y = 1e-37f * (1 + t);
        break; // far below 1
      case 6:
        y = i % 2 ? kBig : -kBig;
        break; // the ends of float
      case 7:
        y = Chance(0.1) ? Pick({kNaN, kInf}) : Uniform(-5, 5);
        break;
      case 8:
        y = 0;
        break; // zeros
      default:
        y = 1000 + 0.001f * t;
        break; // a slope float barely splits
      }
      data->AddPoint(x0 + dx * t, y);
    }
    if (Chance(0.3)) {
      data->SetYScale(Pick({2.0f, -0.5f, 1e-3f, kNaN, kInf, 1e30f}));
      data->SetYOffset(Pick({0.0f, 1000.0f, -3.0f, kNaN, -kInf}));
    }
    data->SetTraceLineStyle(Chance(0.8) ? PlotLineSolid : Pick({PlotLineDot, PlotLineDotSymbol}));
    data->SetTraceColour(COLORREF(0x010101 * (k + 1)));
    return data;
  }

  float TypedLimit() { return Pick({0.0f, 10.0f, 4.6f, 8000.0f, -3.4e38f, 3.4e38f, 1e-44f, 45.0f, -1.0f}); }

  void Sheet(CZSpectrumPlot& plot)
  {
    SXAxisPageValues x;
    SYAxisPageValues y;
    plot.GetAxisPageValues(x, y);
    x.m_autoMin = Chance(0.5);
    x.m_autoMax = Chance(0.5);
    x.m_min = TypedLimit();
    x.m_max = TypedLimit();
    y.m_autoMin = Chance(0.5);
    y.m_autoMax = Chance(0.5);
    y.m_min = TypedLimit();
    y.m_max = TypedLimit();
    y.m_autoScaleAll = Chance(0.3);
    y.m_matchOrigin = Chance(0.5);
    y.m_logScale = Chance(0.3);
    y.m_scaleOverlapped = Chance(0.3);
    // OK closes the sheet only on limits it takes.
    if (!RefusedLimitsText(x) && !RefusedLimitsText(y))
      plot.ApplyAxisPageValues(x, y);
  }

  void Record(CZSpectrumPlot& plot)
  {
    if (Chance(0.4))
      plot.SetXSpan(Pick({-1.0f, 0.0f, 1e-9f, -1e30f, 5.0f, 1200.0f, kNaN}));
    if (Chance(0.3))
      plot.SetXMaxFloor(Pick({30.0f, 8000.0f, kInf}), true);
    if (Chance(0.3))
      plot.SetYMinCeiling(Pick({0.0f, 5.0f, -kInf}), true);
    if (Chance(0.3))
      plot.SetXRounding(Pick({1.0f, 0.1f, 2.0f, 1e30f, 0.0f}), true);
    if (Chance(0.3))
      plot.SetYRounding(Pick({1.0f, 0.1f, 5.0f, 1e30f, 0.0f}), true);
  }

  void Mouse(CZSpectrumPlot& plot)
  {
    const RECT r = plot.GetInnerPlotRect();
    if (r.right <= r.left + 1 || r.bottom <= r.top + 1)
      return;
    auto anywhere = [&] { return POINT{r.left + Below(r.right - r.left), r.top + Below(r.bottom - r.top)}; };
    CSpectrumData* active = plot.GetActiveTrace();
    switch (Below(5)) {
    case 0:
    case 1:
      plot.SetCursorIndex(Chance(0.5) && active && active->GetIndexRange() > 0
                              ? active->GetFirstIndex() + Below(active->GetIndexRange())
                              : -1);
      plot.MouseWheel(Chance(0.5) ? MK_CONTROL : MK_CONTROL | MK_SHIFT, Chance(0.7) ? 120 : -120);
      break;
    case 2: {
      const POINT from = anywhere(), to = anywhere();
      plot.LButtonDown(MK_CONTROL | MK_LBUTTON, from);
      plot.MouseMove(MK_CONTROL | MK_LBUTTON, to);
      plot.LButtonUp(Chance(0.5) ? MK_CONTROL : MK_CONTROL | MK_SHIFT, to);
      break;
    }
    case 3:
      plot.MouseWheel(0, 120); // the next trace is the active one
      break;
    default:
      plot.LButtonDblClk(Chance(0.5) ? MK_CONTROL : MK_CONTROL | MK_SHIFT);
      break;
    }
  }

private:
  std::mt19937 m_random;
};

bool IsAxis(float lo, float hi)
{
  return std::isfinite(lo) && std::isfinite(hi) && lo < hi && std::isfinite(hi - lo);
}

// The limits of the last paint, and its scales when it draws traces.
bool LimitsHold(const CZSpectrumPlot& plot)
{
  if (!IsAxis(plot.GetDrawnXMin(), plot.GetDrawnXMax()) || !IsAxis(plot.GetDrawnYMin(), plot.GetDrawnYMax()))
    return false;
  if (!plot.ShouldDrawTraces())
    return true;
  const float sx = plot.GetXPixelsPerUnit(), sy = plot.GetYPixelsPerUnit();
  return std::isfinite(sx) && sx != 0 && std::isfinite(sy) && sy != 0;
}

// A point of the trace that the paint places inside the window: finite, unmasked, within both
// axes' limits as the paint draws its y.
bool HasPointInside(const CZSpectrumPlot& plot, CSpectrumData& trace)
{
  for (int i = trace.GetFirstIndex(); i <= trace.GetLastIndex(); ++i) {
    const float x = trace.GetX(i);
    const float y = DrawnY(trace.GetY(i), trace.GetYScale(), trace.GetYOffset(), plot.GetLogY());
    if (trace.MaskEnabled() && trace.IsMasked(i))
      continue;
    if (x >= plot.GetDrawnXMin() && x <= plot.GetDrawnXMax() && y >= plot.GetDrawnYMin() &&
        y <= plot.GetDrawnYMax())
      return true;
  }
  return false;
}

// Lit pixels of the trace as the paint puts them in the image: lines through the line writer,
// dots and symbols where their points fall inside the trace clip.
int LitPixels(CZSpectrumPlot& plot, CSpectrumData& trace, const RECT& area)
{
  STraceGeometry geometry;
  plot.BuildTraceGeometry(trace, geometry);
  const RECT clip = plot.GetTraceClipRect();
  if (geometry.mark != ETraceMark::Line) {
    int lit = 0;
    for (const POINT& p : geometry.points)
      lit += PointInRect(clip, p.x, p.y) ? 1 : 0;
    return lit;
  }
  const int width = RectWidth(area), height = RectHeight(area);
  std::vector<uint32_t> pixels(size_t(width) * size_t(height), 0);
  CLineRaster(reinterpret_cast<unsigned char*>(pixels.data()), width * 4, width, height)
      .DrawRuns(geometry.points, geometry.runStarts, geometry.colour, clip);
  int lit = 0;
  for (uint32_t p : pixels)
    lit += p != 0;
  return lit;
}

struct SSweep {
  int plots = 0;
  int badLimits = 0;   // a paint with a limit that is not finite, ordered and non-empty
  int blankTraces = 0; // a drawn trace with a point inside the window and no pixel
  int violating = 0;   // either
};

// Every paint of every plot is checked; a plot counts once for each kind of fault it shows.
SSweep Sweep(int plots, bool pixels)
{
  CRandomPlots random(20261210);
  SSweep sweep;
  for (int n = 0; n < plots; ++n) {
    CZSpectrumPlot plot;
    std::vector<std::unique_ptr<CSpectrumData>> traces;
    const int count = 1 + random.Below(4);
    for (int k = 0; k < count; ++k) {
      traces.push_back(random.Trace(k));
      plot.AddTrace(traces.back().get(), false, false);
    }
    plot.SetLimitsFromAllTraces(random.Chance(0.8));
    plot.SetLogY(random.Chance(0.25));
    plot.SetAutoScaleAll(random.Chance(0.3));
    plot.SetMatchOrigin(random.Chance(0.5));
    plot.SetScaleOverlapped(random.Chance(0.25), random.Pick({5.0f, 0.0f, 1000.0f, 1e6f}));
    if (random.Chance(0.3))
      random.Sheet(plot);
    if (random.Chance(0.3))
      random.Record(plot);
    const RECT area =
        random.Pick({MakeRect(0, 0, 800, 500), MakeRect(0, 0, 300, 200), MakeRect(0, 0, 1600, 400),
                     MakeRect(0, 0, 20, 20), MakeRect(0, 0, 1, 1), MakeRect(0, 0, 120, 90)});
    ScaledMeasure measure(random.Pick({1, 1, 1, 2, 16}));
    const int steps = random.Chance(0.5) ? random.Below(16) : 0;
    bool badLimits = false, blank = false;
    for (int step = 0; step <= steps; ++step) {
      if (step > 0)
        random.Mouse(plot);
      EXPECT_TRUE(plot.PrepareFrame(measure, area, nullptr));
      badLimits = badLimits || !LimitsHold(plot);
      if (!pixels || !plot.ShouldDrawTraces())
        continue;
      for (CSpectrumData* trace : plot.TracesInDrawingOrder())
        if (HasPointInside(plot, *trace) && LitPixels(plot, *trace, area) == 0)
          blank = true;
    }
    ++sweep.plots;
    sweep.badLimits += badLimits;
    sweep.blankTraces += blank;
    sweep.violating += badLimits || blank;
  }
  return sweep;
}
} // namespace

TEST(PlotInvariant, EveryLimitOfRandomPlotsIsFiniteOrderedAndNonEmpty)
{
  const SSweep sweep = Sweep(4000, false);
  EXPECT_EQ(sweep.badLimits, 0) << "of " << sweep.plots << " plots";
}

TEST(PlotInvariant, EveryDrawnTraceOfRandomPlotsShowsItsPoints)
{
  const SSweep sweep = Sweep(4000, true);
  EXPECT_EQ(sweep.violating, 0) << "of " << sweep.plots << " plots; " << sweep.badLimits
                                << " with a bad limit, " << sweep.blankTraces << " with a blank trace";
}
