#include "AxisSteps.h"
#include "CZSpectrumPlot.h"
#include "TraceIndex.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// A scale that maps a flat trace (or one of a single point) would divide by its zero range.
float ScaleOrOne(float numerator, float denominator)
{
  if (denominator == 0.0f)
    return 1.0f;
  const float k = numerator / denominator;
  return std::isfinite(k) && k != 0.0f ? k : 1.0f;
}

double HeldInFloat(double v)
{
  constexpr double kMax = std::numeric_limits<float>::max();
  return std::clamp(v, -kMax, kMax);
}

// log10 of a magnitude that float holds, from the smallest float above 0 to the largest.
double LogOfHeld(double magnitude)
{
  constexpr double kMin = std::numeric_limits<float>::denorm_min();
  constexpr double kMax = std::numeric_limits<float>::max();
  return std::log10(std::clamp(magnitude, kMin, kMax));
}

void Widen(bool& any, double& lo, double& hi, double a, double b)
{
  if (!any) {
    lo = a;
    hi = b;
    any = true;
  } else {
    lo = std::min(lo, a);
    hi = std::max(hi, b);
  }
}
} // namespace

CSpectrumData* CZSpectrumPlot::PromoteTraceWithPoints()
{
  if (m_traces.IsEmpty())
    return nullptr;
  if (m_traces.GetHead()->GetIndexRange() == 0) {
    for (POSITION pos = m_traces.GetHeadPosition(); pos;) {
      POSITION here = pos;
      CSpectrumData* data = m_traces.GetNext(pos);
      if (data->GetIndexRange() > 0) {
        m_traces.RemoveAt(here);
        m_traces.AddHead(data);
        break;
      }
    }
  }
  CSpectrumData* active = m_traces.GetHead();
  return active->GetIndexRange() == 0 ? nullptr : active;
}

bool CZSpectrumPlot::JoinsLimits(CSpectrumData* trace) const
{
  return m_limitsFromAllTraces || trace->GetName() == L"Hold";
}

bool CZSpectrumPlot::WidensLimits(CSpectrumData* trace) const
{
  // A trace without points (a live trace switched on before its first sample) has only the
  // limits of an empty data set, 0 everywhere: it would pull both axes out to 0 for one paint.
  return JoinsLimits(trace) && trace->GetIndexRange() > 0;
}

const STraceScan& CZSpectrumPlot::LimitScan(CSpectrumData& trace)
{
  if (!IsXWindowFixed())
    return m_scans.Scan(trace);
  return m_scans.ScanWindow(trace, m_xMin, m_xMinFixed, m_xMax, m_xMaxFixed);
}

const STraceScan& CZSpectrumPlot::ScanOf(CSpectrumData& trace) const
{
  return m_scans.Scan(trace);
}

void CZSpectrumPlot::SettleActiveScale(CSpectrumData& active)
{
  const auto overlay = m_overlayScales.find(&active);
  const bool foreign = overlay != m_overlayScales.end() && overlay->second.first == active.GetYScale() &&
                       overlay->second.second == active.GetYOffset();
  if (overlay != m_overlayScales.end())
    m_overlayScales.erase(overlay);
  if (foreign || !std::isfinite(active.GetYScale()) || active.GetYScale() == 0.0f ||
      !std::isfinite(active.GetYOffset())) {
    active.SetYScale(1.0f);
    active.SetYOffset(0.0f);
  }
}

void CZSpectrumPlot::SetOverlayScale(CSpectrumData& trace, float scale, float offset)
{
  if (!std::isfinite(scale) || scale == 0.0f || !std::isfinite(offset)) {
    scale = 1.0f;
    offset = 0.0f;
  }
  trace.SetYScale(scale);
  trace.SetYOffset(offset);
  m_overlayScales[&trace] = {trace.GetYScale(), trace.GetYOffset()};
}

bool CZSpectrumPlot::DrawnYRange(CSpectrumData& trace, const STraceScan& source, double& lo, double& hi)
{
  if (!source.hasY)
    return false;
  const double s = trace.GetYScale(), o = trace.GetYOffset();
  if (!m_logY) {
    const double a = s * source.yMin + o, b = s * source.yMax + o;
    lo = HeldInFloat(std::min(a, b));
    hi = HeldInFloat(std::max(a, b));
    return true;
  }
  if (o == 0.0) {
    if (!source.hasNonZeroY)
      return false;
    lo = LogOfHeld(std::fabs(s) * source.yAbsMin);
    hi = LogOfHeld(std::fabs(s) * std::max(std::fabs(source.yMin), std::fabs(source.yMax)));
    return true;
  }
  // An offset moves values through 0 where the scan cannot tell which comes nearest: a pass over
  // the points in the window, as the paint draws them.
  bool any = false;
  for (int i = trace.GetFirstIndex(); i <= trace.GetLastIndex(); ++i) {
    const float x = trace.GetX(i);
    if ((m_xMinFixed && !(x >= m_xMin)) || (m_xMaxFixed && !(x <= m_xMax)) ||
        (trace.MaskEnabled() && trace.IsMasked(i)))
      continue;
    for (int t = 0; t < trace.GetArraySize(); ++t) {
      const float v = DrawnY(trace.GetY(t, i), float(s), float(o), true);
      if (std::isfinite(v))
        Widen(any, lo, hi, v, v);
    }
  }
  return any;
}

void CZSpectrumPlot::CalcLimits(float& xMin, float& xMax, float& yMin, float& yMax)
{
  CSpectrumData* active = PromoteTraceWithPoints();
  if (!active)
    return;
  std::erase_if(m_overlayScales,
                [&](const auto& entry) { return !m_traces.Find(const_cast<CSpectrumData*>(entry.first)); });
  if (m_autoScaleAll) {
    active->SetYScale(1.0f);
    active->SetYOffset(0.0f);
  }
  SettleActiveScale(*active);

  // The real extent of x, whatever order the points come in; a data set whose x falls would
  // otherwise end below where it starts.
  const STraceScan& whole = m_scans.Scan(*active);
  double x0 = whole.xMin;
  double x1 = whole.xMax;
  if (m_xMaxFloorOn && !m_xMaxFixed && std::isfinite(m_xMaxFloor) && m_xMaxFloor > x1)
    x1 = m_xMaxFloor;
  // A span that leaves float no room below X max is not taken.
  if (m_xSpanOn && !IsXWindowFixed() && std::isfinite(m_xSpan) && m_xSpan > 0 && x1 - x0 > m_xSpan) {
    const float from = float(HeldInFloat(x1 - m_xSpan));
    if (IsDrawableRange(from, float(x1)))
      x0 = from;
  }
  // Y from the values as drawn: the active trace's own scale and offset (an archive's) count.
  bool anyY = false;
  double y0 = 0, y1 = 0, lo = 0, hi = 0;
  if (DrawnYRange(*active, LimitScan(*active), lo, hi))
    Widen(anyY, y0, y1, lo, hi);
  if (m_yMinCeilingOn && !m_yMinFixed && std::isfinite(m_yMinCeiling) && y0 > m_yMinCeiling)
    y0 = m_yMinCeiling;

  POSITION pos = m_traces.GetHeadPosition();
  m_traces.GetNext(pos);
  while (pos) {
    CSpectrumData* trace = m_traces.GetNext(pos);
    if (!WidensLimits(trace))
      continue;
    const STraceScan& source = LimitScan(*trace);
    if (source.hasX) {
      x0 = std::min<double>(x0, source.xMin);
      x1 = std::max<double>(x1, source.xMax);
    }
    if (!source.hasY)
      continue;
    const float minY = source.yMin;
    const float maxY = source.yMax;
    const float rangeY = maxY - minY;
    const float top = float(y1), bottom = float(y0);
    if (m_autoScaleAll && m_logY) {
      // On a logarithmic axis a scale only moves a trace up or down: its largest magnitude goes
      // to the top of the axis.
      const double largest = std::max(std::fabs(minY), std::fabs(maxY));
      const double k = anyY && largest > 0 ? std::pow(10.0, y1) / largest : 1.0;
      SetOverlayScale(*trace, std::fabs(k) <= std::numeric_limits<float>::max() ? float(k) : 1.0f, 0.0f);
    } else if (m_autoScaleAll && m_matchOrigin) {
      float k;
      if (top > 0)
        k = maxY > 0 ? ScaleOrOne(top, minY + rangeY) : ScaleOrOne(top, rangeY - maxY);
      else
        k = minY < 0 ? ScaleOrOne(bottom, rangeY - maxY) : ScaleOrOne(-bottom, rangeY + minY);
      SetOverlayScale(*trace, k, 0.0f);
    } else if (m_autoScaleAll) {
      const float k = ScaleOrOne(top - bottom, rangeY);
      SetOverlayScale(*trace, k, bottom - minY * k);
    } else if (m_scaleOverlapped) {
      // A value of 0 there keeps the previous scale; so does one so small, or so unreadable, that
      // the ratio is no number. The trace then still widens the axis, as it is drawn.
      float k = trace->GetYScale();
      const float here = trace->GetY(m_centreWavelength, false);
      if (here != 0.0f) {
        const float there =
            DrawnY(active->GetY(m_centreWavelength, false), active->GetYScale(), active->GetYOffset(), false);
        const float ratio = there / here;
        if (std::isfinite(ratio) && ratio != 0.0f)
          k = ratio;
      }
      SetOverlayScale(*trace, k, 0.0f);
    } else {
      trace->SetYScale(1.0f);
      trace->SetYOffset(0.0f);
      m_overlayScales.erase(trace);
    }
    // Every drawn trace counts, as it is drawn.
    if (DrawnYRange(*trace, source, lo, hi))
      Widen(anyY, y0, y1, lo, hi);
  }

  // Fixed limits win; the others are remembered for the next paint and the axis pages. An
  // automatic limit never passes a fixed one: with the data all on the far side of it, the axis
  // runs on as far as the data spans, and stays in order. A range with no room (a flat trace, one
  // sample) is widened around its value, and one wider than float can scale is cut.
  float fx0 = float(HeldInFloat(x0)), fx1 = float(HeldInFloat(x1));
  float fy0 = float(y0), fy1 = float(y1);
  if (m_xMinFixed)
    fx0 = m_xMin;
  if (m_xMaxFixed)
    fx1 = m_xMax;
  if (m_yMinFixed)
    fy0 = m_yMin;
  if (m_yMaxFixed)
    fy1 = m_yMax;
  MakeDrawableRange(fx0, fx1, m_xMinFixed, m_xMaxFixed, x1 - x0);
  MakeDrawableRange(fy0, fy1, m_yMinFixed, m_yMaxFixed, y1 - y0);
  if (!m_xMinFixed)
    m_xMin = fx0;
  if (!m_xMaxFixed)
    m_xMax = fx1;
  if (!m_yMinFixed)
    m_yMin = fy0;
  if (!m_yMaxFixed)
    m_yMax = fy1;

  // Rounded outward, so that the data stays inside and the axis keeps its room.
  if (m_roundXToStep)
    RoundRangeOutward(fx0, fx1, NiceStep(m_xRoundingStep));
  if (m_roundYToStep)
    RoundRangeOutward(fy0, fy1, NiceStep(m_yRoundingStep));
  xMin = fx0;
  xMax = fx1;
  yMin = fy0;
  yMax = fy1;
}

bool CZSpectrumPlot::GetCommonXRange(float& xMin, float& xMax)
{
  CSpectrumData* active = PromoteTraceWithPoints();
  if (!active)
    return false;
  const STraceScan& whole = m_scans.Scan(*active);
  xMin = whole.xMin;
  xMax = whole.xMax;
  POSITION pos = m_traces.GetHeadPosition();
  m_traces.GetNext(pos);
  while (pos) {
    CSpectrumData* trace = m_traces.GetNext(pos);
    if (!WidensLimits(trace))
      continue;
    const STraceScan& scan = m_scans.Scan(*trace);
    if (scan.xMin > xMin)
      xMin = scan.xMin;
    if (scan.xMax < xMax)
      xMax = scan.xMax;
    if (xMin >= xMax) {
      xMax = xMin;
      return false;
    }
  }
  return true;
}

float CZSpectrumPlot::PixelToX(int x, int) const
{
  if (m_traces.IsEmpty())
    return 0.0f;
  return float(x - m_xOriginPixel) / m_xPixelsPerUnit + m_drawnXMin;
}

int CZSpectrumPlot::NearestPoint(CSpectrumData& trace, float x) const
{
  const STraceScan& scan = ScanOf(trace);
  return NearestIndex(trace, x, scan.rising, scan.xs.empty() ? nullptr : scan.xs.data());
}

float CZSpectrumPlot::SnapToDataX(int x, int y) const
{
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return 0.0f;
  return active->GetX(NearestPoint(*active, PixelToX(x, y)));
}

int CZSpectrumPlot::GetIndexAtPoint(int x, int y) const
{
  CSpectrumData* active = GetActiveTrace();
  if (!active || !active->IsValid())
    return -1;
  return NearestPoint(*active, PixelToX(x, y));
}
