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
  return std::isfinite(k) ? k : 1.0f;
}

// The other end of an axis one span away from a fixed limit, above or below it: at least the next
// float, so that the axis is never empty or reversed while a float beyond it exists.
float LimitBeyond(float fixed, float span, bool above)
{
  if (!std::isfinite(fixed))
    return fixed;
  const double step = span > 0 && std::isfinite(span) ? span : 1.0;
  const double limit = std::numeric_limits<float>::max();
  const float end = float(std::clamp(above ? fixed + step : fixed - step, -limit, limit));
  if (above ? end > fixed : end < fixed)
    return end;
  return std::nextafter(fixed, above ? INFINITY : -INFINITY);
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

void CZSpectrumPlot::CalcLimits(float& xMin, float& xMax, float& yMin, float& yMax)
{
  CSpectrumData* active = PromoteTraceWithPoints();
  if (!active)
    return;
  if (m_autoScaleAll) {
    active->SetYScale(1.0f);
    active->SetYOffset(0.0f);
  }

  // The real extent of x, whatever order the points come in; a data set whose x falls would
  // otherwise end below where it starts.
  const STraceScan& whole = m_scans.Scan(*active);
  float x0 = whole.xMin;
  float x1 = whole.xMax;
  float y0 = 0, y1 = 0;
  {
    const STraceScan& source = LimitScan(*active);
    if (m_xMaxFloorOn && !m_xMaxFixed && m_xMaxFloor > x1)
      x1 = m_xMaxFloor;
    if (m_xSpanOn && !IsXWindowFixed() && x1 - x0 > m_xSpan)
      x0 = x1 - m_xSpan;
    if (m_logY) {
      y0 = LogAbs(source.yMin);
      y1 = LogAbs(std::max(std::fabs(source.yMin), std::fabs(source.yMax)));
    } else {
      y0 = source.yMin;
      y1 = source.yMax;
    }
  }
  if (m_yMinCeilingOn && !m_yMinFixed && y0 > m_yMinCeiling)
    y0 = m_yMinCeiling;

  POSITION pos = m_traces.GetHeadPosition();
  m_traces.GetNext(pos);
  while (pos) {
    CSpectrumData* trace = m_traces.GetNext(pos);
    if (!WidensLimits(trace))
      continue;
    const STraceScan& source = LimitScan(*trace);
    if (source.hasX) {
      if (source.xMin < x0)
        x0 = source.xMin;
      if (source.xMax > x1)
        x1 = source.xMax;
    }
    if (!source.hasY)
      continue;
    const float minY = source.yMin;
    const float maxY = source.yMax;
    const float rangeY = maxY - minY;
    if (m_autoScaleAll && m_matchOrigin) {
      trace->SetYOffset(0.0f);
      float k;
      if (y1 > 0)
        k = maxY > 0 ? ScaleOrOne(y1, minY + rangeY) : ScaleOrOne(y1, rangeY - maxY);
      else
        k = minY < 0 ? ScaleOrOne(y0, rangeY - maxY) : ScaleOrOne(-y0, rangeY + minY);
      trace->SetYScale(k);
      if (!m_logY) {
        const float s = trace->GetYScale();
        if (minY * s < y0)
          y0 = minY * s;
        if (maxY * s > y1)
          y1 = maxY * s;
      }
    } else if (m_autoScaleAll) {
      trace->SetYScale(ScaleOrOne(y1 - y0, rangeY));
      trace->SetYOffset(y0 - minY * trace->GetYScale());
    } else if (m_scaleOverlapped) {
      trace->SetYOffset(0.0f);
      // A value of 0 there keeps the previous scale; so does one so small, or so unreadable, that
      // the ratio is no number.
      const float here = trace->GetY(m_centreWavelength, false);
      if (here != 0.0f) {
        const float ratio = active->GetY(m_centreWavelength, false) / here;
        if (std::isfinite(ratio))
          trace->SetYScale(ratio);
      }
    } else {
      trace->SetYScale(1.0f);
      trace->SetYOffset(0.0f);
      if (m_logY) {
        const float logMin = LogAbs(minY);
        const float logTop = LogAbs(std::max(std::fabs(minY), std::fabs(maxY)));
        if (logMin < y0)
          y0 = logMin;
        if (logTop > y1)
          y1 = logTop;
      } else {
        if (minY < y0)
          y0 = minY;
        if (maxY > y1)
          y1 = maxY;
      }
    }
  }

  // Fixed limits win; the others are remembered for the next paint and the axis pages. An
  // automatic limit never passes a fixed one: with the data all on the far side of it, the axis
  // runs on as far as the data spans, and stays in order.
  const float xSpan = x1 - x0, ySpan = y1 - y0;
  if (m_yMinFixed && !m_yMaxFixed && !(m_yMin < y1))
    y1 = LimitBeyond(m_yMin, ySpan, true);
  if (m_yMaxFixed && !m_yMinFixed && !(y0 < m_yMax))
    y0 = LimitBeyond(m_yMax, ySpan, false);
  if (m_xMinFixed && !m_xMaxFixed && !(m_xMin < x1))
    x1 = LimitBeyond(m_xMin, xSpan, true);
  if (m_xMaxFixed && !m_xMinFixed && !(x0 < m_xMax))
    x0 = LimitBeyond(m_xMax, xSpan, false);
  if (m_yMinFixed)
    y0 = m_yMin;
  else
    m_yMin = y0;
  if (m_yMaxFixed)
    y1 = m_yMax;
  else
    m_yMax = y1;
  if (m_xMinFixed)
    x0 = m_xMin;
  else
    m_xMin = x0;
  if (m_xMaxFixed)
    x1 = m_xMax;
  else
    m_xMax = x1;

  if (m_roundXToStep) {
    const float step = NiceStep(m_xRoundingStep);
    x0 = RoundToStep(x0, step);
    x1 = RoundToStep(x1, step);
  }
  if (m_roundYToStep) {
    const float step = NiceStep(m_yRoundingStep);
    y0 = RoundToStep(y0, step);
    y1 = RoundToStep(y1, step);
  }
  xMin = x0;
  xMax = x1;
  yMin = y0;
  yMax = y1;
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
