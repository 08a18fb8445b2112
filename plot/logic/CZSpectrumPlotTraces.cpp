#include "CZSpectrumPlot.h"
#include "TraceIndex.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {
constexpr COLORREF kZeroLineColour = 0x787878;
constexpr int kMaxPeakStrokes = 1 << 16;

float Clamp(float v, float lo, float hi)
{
  return v < lo ? lo : (v > hi ? hi : v);
}

// A shown marker as a vertical line in column x, from the X axis up to the top of the plot; a
// movable marker is at least 3 pixels wide.
SPlotSegment MarkerLine(const SSpectrumMarker& marker, int x, int bottom, int top, float pixelsPerUnit)
{
  int width = int(marker.m_width * pixelsPerUnit);
  if (marker.m_secondFlag && width < 3)
    width = 3;
  return {POINT{x, bottom}, POINT{x, top}, marker.m_colour, std::max(width, 1)};
}
} // namespace

std::vector<SPlotSegment> CZSpectrumPlot::WindowMarkerLines() const
{
  std::vector<SPlotSegment> lines;
  const int top = YToPixel(m_drawnYMax);
  for (POSITION pos = m_markers.GetHeadPosition(); pos;) {
    const SSpectrumMarker& marker = m_markers.GetNext(pos);
    if (!marker.m_shown)
      continue;
    const int x = PixelOf(XPixelOf(marker.m_position) + 0.5f);
    lines.push_back(MarkerLine(marker, x, m_yOriginPixel, top, m_xPixelsPerUnit));
  }
  return lines;
}

bool CZSpectrumPlot::ZeroLine(SPlotSegment& line) const
{
  if (!(m_drawnYMin < 0.0f && 0.0f < m_drawnYMax))
    return false;
  const int y = YToPixel(0.0f);
  line = {POINT{XToPixel(m_drawnXMin), y}, POINT{XToPixel(m_drawnXMax), y}, kZeroLineColour, 1};
  return true;
}

std::vector<CSpectrumData*> CZSpectrumPlot::TracesInDrawingOrder() const
{
  std::vector<CSpectrumData*> order;
  const POSITION head = m_traces.GetHeadPosition();
  for (POSITION pos = m_traces.GetTailPosition(); pos;) {
    const POSITION here = pos;
    CSpectrumData* trace = m_traces.GetPrev(pos);
    if (here == head || (trace->GetIndexRange() != 0 && JoinsLimits(trace)))
      order.push_back(trace);
  }
  return order;
}

void CZSpectrumPlot::BuildTraceGeometry(CSpectrumData& trace, STraceGeometry& geometry) const
{
  geometry.trace = &trace;
  geometry.lineStyle = trace.GetTraceLineStyle();
  geometry.lineWidth = trace.GetTraceLineWidth();
  geometry.colour = trace.GetTraceColour();
  geometry.mark = geometry.lineStyle == PlotLineDotSymbol ? ETraceMark::Symbol
                  : geometry.lineStyle == PlotLineDot     ? ETraceMark::Pixel
                                                          : ETraceMark::Line;
  geometry.points.clear();
  geometry.markers.clear();
  geometry.peaks.clear();

  const int top = YToPixel(m_drawnYMax);
  CSpectrumMarkerList& markers = trace.GetVerticalMarkerList();
  for (POSITION pos = markers.GetHeadPosition(); pos;) {
    const SSpectrumMarker& marker = markers.GetNext(pos);
    if (!marker.m_shown)
      continue;
    const int x = XToPixel(marker.m_position + 0.5f);
    geometry.markers.push_back(MarkerLine(marker, x, m_yOriginPixel, top, m_xPixelsPerUnit));
  }

  if (trace.GetIndexRange() <= 0)
    return;
  // Unsorted x (pasted data) has no index window to search: every point is drawn, in order.
  const STraceScan& scan = ScanOf(trace);
  const bool rising = scan.rising;
  const int first = rising ? NearestIndex(trace, m_drawnXMin, rising) : trace.GetFirstIndex();
  const int last = rising ? NearestIndex(trace, m_drawnXMax, rising) : trace.GetLastIndex();
  const int lastIndex = trace.GetLastIndex();
  const int firstIndex = trace.GetFirstIndex();
  const bool masking = trace.MaskEnabled();
  const float scale = trace.GetYScale();
  const float offset = trace.GetYOffset();
  auto shownY = [&](int i) { return m_logY ? trace.GetLogY(i) : trace.GetY(i) * scale + offset; };
  // The kept copy of x: the column search reads a few values per pixel column of a million.
  auto xAt = [&](int i) { return scan.xs.empty() ? trace.GetX(i) : scan.xs[size_t(i - firstIndex)]; };
  auto column = [&](int i) { return XToPixel(Clamp(xAt(i), m_drawnXMin, m_drawnXMax)); };

  // A point that the nearest-point search put outside the X window is held on its edge. Its y is
  // read off the line to its neighbour inside, so that the first and last strokes keep their
  // slope; every other point is drawn at its own y, whatever order the x values come in.
  auto place = [&](int i, POINT& pixel) {
    float x = xAt(i);
    float y = shownY(i);
    if (x < m_drawnXMin && i < lastIndex) {
      const float nx = xAt(i + 1);
      if (nx > x) {
        const float ny = shownY(i + 1);
        y = y + (ny - y) / (nx - x) * (m_drawnXMin - x);
      }
    } else if (x > m_drawnXMax && i > firstIndex) {
      const float px = xAt(i - 1);
      if (px < x) {
        const float py = shownY(i - 1);
        y = py + (y - py) / (x - px) * (m_drawnXMax - px);
      }
    }
    if (!std::isfinite(x) || !std::isfinite(y))
      return false;
    x = Clamp(x, m_drawnXMin, m_drawnXMax);
    y = Clamp(y, m_drawnYMin, m_drawnYMax);
    pixel = POINT{XToPixel(x), YToPixel(y)};
    return true;
  };
  // Where x rises the columns do too, so every point after i up to the first one in a later
  // column would be skipped: a galloping search finds that one without reading the others. Data
  // of a steady density fills each column as the one before: that guess is tried first.
  int span = 0;
  auto nextColumnStart = [&](int i, int col) {
    const int guess = i + span;
    if (span > 1 && guess <= last && column(guess - 1) <= col && column(guess) > col)
      return guess;
    int lo = i, step = 1;
    while (lo + step <= last && column(lo + step) <= col) {
      lo += step;
      step *= 2;
    }
    int hi = std::min(lo + step, last + 1);
    while (hi - lo > 1) {
      const int mid = lo + (hi - lo) / 2;
      if (column(mid) <= col)
        lo = mid;
      else
        hi = mid;
    }
    return hi;
  };

  int lastColumn = INT_MIN;
  POINT pixel;
  if (geometry.mark == ETraceMark::Line && place(first, pixel)) {
    geometry.points.push_back(pixel);
    lastColumn = pixel.x;
  }
  if (last >= first)
    geometry.points.reserve(geometry.points.size() + size_t(std::min(last - first + 1, 4096)));
  for (int i = first; i <= last;) {
    if (masking && trace.IsMasked(i)) {
      ++i;
      continue;
    }
    if (!place(i, pixel)) {
      ++i;
      continue;
    }
    if (pixel.x != lastColumn) {
      geometry.points.push_back(pixel);
      lastColumn = pixel.x;
    }
    if (!rising) {
      ++i;
      continue;
    }
    const int next = nextColumnStart(i, pixel.x);
    span = next - i;
    i = next;
  }

  AddPeakStrokes(trace, geometry);
}

void CZSpectrumPlot::AddPeakStrokes(CSpectrumData& trace, STraceGeometry& geometry) const
{
  const int entry = trace.GetArrayIndex();
  const float scale = trace.GetYScale();
  const float offset = trace.GetYOffset();
  const int peaks = std::min(FoundPeakCount(trace, entry), kMaxPeakStrokes);
  for (int k = 0; k < peaks; ++k) {
    const float x = trace.GetPeakWavelength(entry, k);
    if (!std::isfinite(x))
      continue;
    float y = trace.GetY(x, false);
    y = m_logY ? LogAbs(y) : y * scale + offset;
    const int px = XToPixel(x);
    const int py = YToPixel(y);
    const bool nearTop = py - m_plotRect.top < 30;
    const int start = nearTop ? py + 10 : py - 10;
    const int end = nearTop ? py + 5 : py - 5;
    geometry.peaks.push_back({POINT{px, start}, POINT{px, end}, geometry.colour, 3});
  }
}
