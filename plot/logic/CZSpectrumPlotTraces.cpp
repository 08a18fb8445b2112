#include "CZSpectrumPlot.h"
#include "TraceIndex.h"
#include "TracePath.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <algorithm>
#include <bit>
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
  geometry.runStarts.clear();
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
  // The points at the same limits and scales come out the same: only a change of the points (which
  // drops the kept path with the scan) or of one of these builds the path again.
  const uint32_t flags =
      (m_logY ? 1u : 0u) | (trace.MaskEnabled() ? 2u : 0u) | (geometry.mark == ETraceMark::Line ? 4u : 0u);
  const std::vector<uint32_t> settings = {std::bit_cast<uint32_t>(m_drawnXMin),
                                          std::bit_cast<uint32_t>(m_drawnXMax),
                                          std::bit_cast<uint32_t>(m_drawnYMin),
                                          std::bit_cast<uint32_t>(m_drawnYMax),
                                          std::bit_cast<uint32_t>(m_xPixelsPerUnit),
                                          std::bit_cast<uint32_t>(m_yPixelsPerUnit),
                                          uint32_t(m_xOriginPixel),
                                          uint32_t(m_yOriginPixel),
                                          std::bit_cast<uint32_t>(trace.GetYScale()),
                                          std::bit_cast<uint32_t>(trace.GetYOffset()),
                                          uint32_t(trace.GetArrayIndex()),
                                          uint32_t(trace.GetFirstIndex()),
                                          uint32_t(trace.GetLastIndex()),
                                          flags};
  if (const STracePath& kept = m_scans.Path(trace); kept.settings == settings) {
    geometry.points = kept.points;
    geometry.runStarts = kept.runStarts;
  } else {
    BuildTracePath(trace, geometry);
    STracePath& path = m_scans.Path(trace);
    path.settings = settings;
    path.points = geometry.points;
    path.runStarts = geometry.runStarts;
  }
  AddPeakStrokes(trace, geometry);
}

void CZSpectrumPlot::BuildTracePath(CSpectrumData& trace, STraceGeometry& geometry) const
{
  // Unsorted x (pasted data) has no index window to search: every point is visited, in order.
  const STraceScan& scan = ScanOf(trace);
  const bool rising = scan.rising;
  const int firstIndex = trace.GetFirstIndex();
  const int lastIndex = trace.GetLastIndex();
  const bool masking = trace.MaskEnabled();
  const float scale = trace.GetYScale();
  const float offset = trace.GetYOffset();
  // On a logarithmic axis a scaled 0 has no place and is not drawn, rather than drawn where 1 is.
  auto shownY = [&](int i) { return DrawnY(trace.GetY(i), scale, offset, m_logY); };
  // The kept copy of x: the column search reads a few values per pixel column of a million.
  auto xAt = [&](int i) { return scan.xs.empty() ? trace.GetX(i) : scan.xs[size_t(i - firstIndex)]; };
  auto column = [&](int i) { return XToPixel(Clamp(xAt(i), m_drawnXMin, m_drawnXMax)); };
  auto drawable = [&](int i) {
    return !(masking && trace.IsMasked(i)) && std::isfinite(xAt(i)) && std::isfinite(shownY(i));
  };
  int first = firstIndex, last = lastIndex;
  if (rising) {
    // From the last point before the window to the first one after it: the strokes that enter
    // and leave the window reach its edges, also when no point, or one, lies inside.
    const float* xs = scan.xs.empty() ? nullptr : scan.xs.data();
    first = std::max(firstIndex, IndexPast(trace, m_drawnXMin, true, xs) - 1);
    last = std::min(lastIndex, IndexPast(trace, m_drawnXMax, false, xs));
    while (first > firstIndex && !drawable(first))
      --first;
    while (last < lastIndex && !drawable(last))
      ++last;
  }

  // Where x rises the columns do too, so every point after i up to the first one in a later
  // column would be skipped. Data of a steady density fills each column about as the one before:
  // the search starts there and widens until it has the first point past col, reading a few
  // values rather than every one.
  auto nextColumnStart = [&](int i, int col, int span) {
    int lo = i, hi = std::min(i + std::max(span, 1), last + 1), step = 1;
    if (hi <= last && column(hi) <= col) {
      lo = hi;
      while (lo + step <= last && column(lo + step) <= col) {
        lo += step;
        step *= 2;
      }
      hi = std::min(lo + step, last + 1);
    } else {
      while (hi - step > lo && column(hi - step) > col) {
        hi -= step;
        step *= 2;
      }
      lo = std::max(hi - step, lo);
    }
    while (hi - lo > 1) {
      const int mid = lo + (hi - lo) / 2;
      if (column(mid) <= col)
        lo = mid;
      else
        hi = mid;
    }
    return hi;
  };

  // A point outside the window is the start or end of a stroke that the path cuts at the edge.
  // Limits in the wrong order (only a caller's own can be) leave last before first.
  CTracePath path(*this, geometry, geometry.mark == ETraceMark::Line);
  const size_t expected = size_t(std::clamp(last - first + 2, 0, 4096));
  geometry.points.reserve(expected);
  auto add = [&](int i, float y) {
    if (masking && trace.IsMasked(i))
      return false;
    const float x = xAt(i);
    if (!std::isfinite(x) || !std::isfinite(y))
      return false;
    path.Add(x, y);
    return true;
  };
  auto strokeOneColumn = [&] {
    // Dots keep one point per column too: where each column's first point lies outside the
    // window, the first point inside it stands for them.
    if (geometry.mark != ETraceMark::Line && geometry.points.empty()) {
      for (int i = first; i <= last; ++i) {
        const float x = xAt(i), y = shownY(i);
        if (drawable(i) && x >= m_drawnXMin && x <= m_drawnXMax && y >= m_drawnYMin && y <= m_drawnYMax) {
          geometry.points.push_back(POINT{XToPixel(x), YToPixel(y)});
          return;
        }
      }
    }
    if (geometry.mark != ETraceMark::Line || !CColumnStroke::Needed(geometry))
      return;
    CColumnStroke stroke(*this);
    for (int i = first; i <= last; ++i)
      if (drawable(i))
        stroke.Add(xAt(i), shownY(i));
    stroke.Replace(geometry);
  };
  if (!rising) {
    for (int i = first; i <= last; ++i)
      add(i, shownY(i));
    strokeOneColumn();
    return;
  }
  // First where each column starts, from x alone, then the y of those points, then the path: in
  // a million points every read is a cache miss, and the reads of y made one after the other
  // overlap where the path's work between them would hold each one up.
  std::vector<int> starts;
  starts.reserve(expected);
  for (int i = first, span = 0; i <= last;) {
    starts.push_back(i);
    if (xAt(i) < m_drawnXMin) {
      ++i;
      continue;
    }
    const int next = nextColumnStart(i, column(i), span);
    span = next - i;
    i = next;
    const int ahead = i + 8 * span;
    if (!scan.xs.empty() && ahead <= last)
      __builtin_prefetch(scan.xs.data() + (ahead - firstIndex));
  }
  std::vector<float> ys(starts.size());
  for (size_t k = 0; k < starts.size(); ++k)
    ys[k] = shownY(starts[k]);
  // A column whose first point is masked or failed starts at its next good one.
  int tried = first;
  for (size_t k = 0; k < starts.size(); ++k) {
    const int end = k + 1 < starts.size() ? starts[k + 1] : last + 1;
    tried = starts[k];
    for (bool added = add(tried, ys[k]); !added && ++tried < end;)
      added = add(tried, shownY(tried));
  }
  // The last column's first point ended the search; a point beyond X max ends the stroke out.
  if (tried < last)
    add(last, shownY(last));
  strokeOneColumn();
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
    y = DrawnY(y, scale, offset, m_logY);
    if (!std::isfinite(y))
      continue;
    const int px = XToPixel(x);
    const int py = YToPixel(y);
    const bool nearTop = py - m_plotRect.top < 30;
    const int start = nearTop ? py + 10 : py - 10;
    const int end = nearTop ? py + 5 : py - 5;
    geometry.peaks.push_back({POINT{px, start}, POINT{px, end}, geometry.colour, 3});
  }
}
