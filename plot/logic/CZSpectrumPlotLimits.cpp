#include "AxisSteps.h"
#include "CZSpectrumPlot.h"
#include "TraceIndex.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <cmath>

namespace {
// A scale that maps a flat trace (or one of a single point) would divide by its zero range.
float ScaleOrOne(float numerator, float denominator)
{
  if (denominator == 0.0f)
    return 1.0f;
  const float k = numerator / denominator;
  return std::isfinite(k) ? k : 1.0f;
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

CSpectrumData& CZSpectrumPlot::LimitSource(CSpectrumData& trace)
{
  if (!IsXWindowFixed())
    return trace;
  if (!m_scratch)
    m_scratch = new CSpectrumData();
  m_scratch->CopyArray(trace);
  if (m_xMinFixed)
    m_scratch->SetFirstIndex(m_xMin);
  if (m_xMaxFixed)
    m_scratch->SetLastIndex(m_xMax);
  m_scratch->RecalcLimits();
  return *m_scratch;
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

  float x0 = active->GetXMin(true);
  float x1 = x0 + active->GetXRange(false);
  float y0 = 0, y1 = 0;
  {
    CSpectrumData& source = LimitSource(*active);
    if (m_xMaxFloorOn && !m_xMaxFixed && m_xMaxFloor > x1)
      x1 = m_xMaxFloor;
    if (m_xSpanOn && !IsXWindowFixed() && x1 - x0 > m_xSpan)
      x0 = x1 - m_xSpan;
    if (m_logY) {
      y0 = source.GetLogYMin(false);
      y1 = y0 + source.GetLogYRange(false);
    } else {
      y0 = source.GetYMin(false);
      y1 = y0 + source.GetYRange(false);
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
    CSpectrumData& source = LimitSource(*trace);
    if (source.GetXMin(true) < x0)
      x0 = source.GetXMin(false);
    if (source.GetXMax(false) > x1)
      x1 = source.GetXMax(false);
    const float minY = source.GetYMin(false);
    const float maxY = source.GetYMax(false);
    const float rangeY = source.GetYRange(false);
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
      const float here = trace->GetY(m_centreWavelength, false);
      if (here != 0.0f)
        trace->SetYScale(active->GetY(m_centreWavelength, false) / here);
    } else {
      trace->SetYScale(1.0f);
      trace->SetYOffset(0.0f);
      if (m_logY) {
        const float logMin = source.GetLogYMin(false);
        const float logTop = logMin + source.GetLogYRange(false);
        if (logMin < y0)
          y0 = logMin;
        if (logTop > y1)
          y1 = logTop;
      } else {
        if (minY < y0)
          y0 = minY;
        if (minY + rangeY > y1)
          y1 = minY + rangeY;
      }
    }
  }

  // Fixed limits win; the others are remembered for the next paint and the axis pages.
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
  xMin = active->GetXMin(true);
  xMax = xMin + active->GetXRange(false);
  POSITION pos = m_traces.GetHeadPosition();
  m_traces.GetNext(pos);
  while (pos) {
    CSpectrumData* trace = m_traces.GetNext(pos);
    if (!WidensLimits(trace))
      continue;
    if (trace->GetXMin(false) > xMin)
      xMin = trace->GetXMin(false);
    if (trace->GetXMax(false) < xMax)
      xMax = trace->GetXMax(false);
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

float CZSpectrumPlot::SnapToDataX(int x, int y) const
{
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return 0.0f;
  return active->GetX(NearestIndex(*active, PixelToX(x, y), XRises(*active)));
}

int CZSpectrumPlot::GetIndexAtPoint(int x, int y) const
{
  CSpectrumData* active = GetActiveTrace();
  if (!active || !active->IsValid())
    return -1;
  return NearestIndex(*active, PixelToX(x, y), XRises(*active));
}
