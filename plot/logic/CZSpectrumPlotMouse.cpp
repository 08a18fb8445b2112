#include "AxisSteps.h"
#include "CZSpectrumPlot.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
bool SamePoint(POINT a, POINT b)
{
  return a.x == b.x && a.y == b.y;
}

bool IsNoPoint(POINT p)
{
  return p.x == -1 && p.y == -1;
}

CString BoxText(double value)
{
  return CString(FormatW(L" %g ", value));
}

// The limits a zoom sets on one axis, lo below hi. A limit that is no number (a cursor on a
// failed reading, a plot not painted yet) or beyond float, and an axis left empty (a drag along
// one row, two samples at one x), too narrow for float to split (a zoom deep into a plateau) or
// too wide to scale would blank the plot until the limits are given back: such a zoom leaves that
// axis as it was. Worked out in double, a zoom near the end of the float range would otherwise
// overflow on the way.
bool ZoomRange(double a, double b, float& lo, float& hi)
{
  constexpr double kMax = std::numeric_limits<float>::max();
  if (!(std::fabs(a) <= kMax && std::fabs(b) <= kMax))
    return false;
  const float low = float(std::min(a, b));
  const float high = float(std::max(a, b));
  if (!IsDrawableRange(low, high))
    return false;
  lo = low;
  hi = high;
  return true;
}
} // namespace

void CZSpectrumPlot::LButtonDown(UINT flags, POINT point)
{
  TakeFocus();
  m_mouseInPlot = PointInRect(m_plotRect, point.x, point.y);
  if (!m_mouseInPlot) {
    m_cursorIndex = -1;
  } else if (flags & MK_CONTROL) {
    m_zoomRect = MakeRect(point.x, point.y, point.x, point.y);
    m_cursorIndex = GetIndexAtPoint(point.x, point.y);
  } else {
    if (m_markerHovered) {
      m_dragStart = point;
      m_markerDragging = true;
    }
    m_cursorIndex = GetIndexAtPoint(point.x, point.y);
  }
  PostToParent(WM_SPECTRUM_CURSOR, WPARAM(GetControlId()), 0);
  InvalidateOverlay();
}

void CZSpectrumPlot::MouseMove(UINT flags, POINT point)
{
  m_mouseInPlot = PointInRect(m_plotRect, point.x, point.y);
  if (!m_mouseInPlot) {
    m_markerHovered = false;
    return;
  }
  if (!(flags & MK_LBUTTON)) {
    HoverMarkers(point);
    return;
  }
  m_ctrlHeld = (flags & MK_CONTROL) != 0;
  const bool control = (flags & MK_CONTROL) != 0, shift = (flags & MK_SHIFT) != 0;
  if (!m_markerDragging && control && !shift)
    ZoomDrag(point);
  else if (!control && !shift)
    TrackCursor(point);
}

void CZSpectrumPlot::HoverMarkers(POINT point)
{
  for (POSITION pos = m_markers.GetHeadPosition(); pos;) {
    const POSITION here = pos;
    const SSpectrumMarker& marker = m_markers.GetNext(pos);
    if (!marker.m_secondFlag)
      continue;
    const int w = int(m_xPixelsPerUnit * marker.m_width + 0.5f);
    const int c = PixelOf(XPixelOf(marker.m_position) + 0.5f);
    const int t = std::max(w, 3);
    if (point.x - t / 2 <= c && c <= point.x + t / 2) {
      m_markerHovered = true;
      m_hoveredMarker = here;
      return;
    }
    m_markerHovered = false;
    m_hoveredMarker = nullptr;
  }
}

void CZSpectrumPlot::ZoomDrag(POINT point)
{
  // Without a trace there is nothing to zoom to, and nothing to read the values from.
  if (m_traces.IsEmpty())
    return;
  if (m_zoomRect.left < 0)
    m_zoomRect = MakeRect(point.x, point.y, point.x, point.y);
  const int newIndex = m_cursorIndex != -1 ? GetIndexAtPoint(point.x, point.y) : -1;
  if (newIndex != m_cursorIndex) {
    // Over another data point: the X band, from the start's data point to this one.
    m_zoomRect.right = point.x;
    m_zoomRect.bottom = point.y;
    m_cursorIndex = newIndex;
    m_zooming = true;
    InvalidateOverlay();
  } else if (m_cursorIndex == -1 && !SamePoint(m_crosshair, point)) {
    m_zoomRect.right = point.x;
    m_zoomRect.bottom = point.y;
    m_crosshair = point;
    m_zooming = true;
    InvalidateOverlay();
  }
}

void CZSpectrumPlot::TrackCursor(POINT point)
{
  const int newIndex = GetIndexAtPoint(point.x, point.y);
  if (m_cursorIndex == -1 || m_cursorIndex == newIndex) {
    if (!IsNoPoint(m_crosshair) && !SamePoint(m_crosshair, point)) {
      m_crosshair = point;
      InvalidateOverlay();
    }
    return;
  }
  m_cursorIndex = newIndex;
  if (m_markerDragging && m_markerHovered)
    MoveHoveredMarker(point.x, false);
  else
    InvalidateOverlay();
  PostToParent(WM_SPECTRUM_CURSOR, WPARAM(GetControlId()), 0);
}

SSpectrumMarker* CZSpectrumPlot::HoveredMarker()
{
  for (POSITION pos = m_markers.GetHeadPosition(); pos; m_markers.GetNext(pos))
    if (pos == m_hoveredMarker)
      return &m_markers.GetAt(pos);
  return nullptr;
}

void CZSpectrumPlot::MoveHoveredMarker(int x, bool dropped)
{
  const SSpectrumMarker* hovered = HoveredMarker();
  if (!hovered)
    return;
  SSpectrumMarker copy = *hovered;
  copy.m_position = PixelToX(x, 0);
  UpdateMarker(copy.m_label, copy.m_position, copy.m_width, copy.m_colour, copy.m_shown, copy.m_secondFlag,
               copy.m_tag);
  // The marker is part of the picture: the whole plot is painted again.
  InvalidatePlot(false);
  SendToParent(WM_SPECTRUM_MARKER_MOVING, WPARAM(GetControlId()), LPARAM(&copy));
  if (dropped)
    SendToParent(WM_SPECTRUM_MARKER_DROPPED, WPARAM(GetControlId()), LPARAM(&copy));
}

void CZSpectrumPlot::LButtonUp(UINT flags, POINT point)
{
  m_mouseInPlot = PointInRect(m_plotRect, point.x, point.y);
  if (flags == MK_CONTROL && m_zooming && m_mouseInPlot && !m_traces.IsEmpty()) {
    float lo = 0, hi = 0;
    if (m_cursorIndex > 0) {
      // The band runs from the start's data point to the end's whichever way it was dragged.
      const float s = SnapToDataX(m_zoomRect.left, m_zoomRect.top);
      const float e = SnapToDataX(m_zoomRect.right, m_zoomRect.bottom);
      if (ZoomRange(s, e, lo, hi)) {
        SetXMax(hi);
        SetXMin(lo);
      }
      m_cursorIndex = -1;
    } else {
      const float xMin = m_drawnXMin, yMin = m_drawnYMin;
      auto xAt = [&](int column) { return float(column - m_xOriginPixel) / m_xPixelsPerUnit + xMin; };
      auto yAt = [&](int row) { return float(row - m_yOriginPixel) / m_yPixelsPerUnit + yMin; };
      const RECT& z = m_zoomRect;
      if (ZoomRange(xAt(z.left), xAt(z.right), lo, hi)) {
        SetXMin(lo);
        SetXMax(hi);
      }
      if (ZoomRange(yAt(z.top), yAt(z.bottom), lo, hi)) {
        SetYMin(lo);
        SetYMax(hi);
      }
      m_crosshair = POINT{-1, -1};
    }
    InvalidatePlot(true);
  }
  if (m_markerDragging) {
    m_markerDragging = false;
    if (m_markerHovered)
      MoveHoveredMarker(point.x, true);
    m_markerHovered = false;
    m_hoveredMarker = nullptr;
  }
  if (m_zooming)
    InvalidateOverlay();
  m_zooming = false;
  m_zoomRect = MakeRect(-1, -1, -1, -1);
}

bool CZSpectrumPlot::MouseWheel(UINT flags, int delta)
{
  if (m_traces.IsEmpty())
    return false;
  const bool forward = delta > 0;
  switch (flags & (MK_CONTROL | MK_SHIFT)) {
  case 0:
    CycleTraces(forward);
    return true;
  case MK_CONTROL:
    ZoomX(forward);
    return true;
  case MK_CONTROL | MK_SHIFT:
    ZoomY(forward);
    return true;
  case MK_SHIFT:
    StepArrayIndex(forward);
    return true;
  default:
    return false;
  }
}

void CZSpectrumPlot::CycleTraces(bool forward)
{
  CSpectrumData* active = m_traces.GetHead();
  const float x0 = m_cursorIndex != -1 ? active->GetX(m_cursorIndex) : m_xMin;
  const ptrdiff_t count = m_traces.GetCount();
  for (ptrdiff_t tried = 0; tried < count; ++tried) {
    if (forward)
      m_traces.AddTail(m_traces.RemoveHead());
    else
      m_traces.AddHead(m_traces.RemoveTail());
    if (m_traces.GetHead()->GetIndexRange() != 0)
      break;
  }
  if (m_cursorIndex != -1) {
    m_cursorIndex = NearestPoint(*m_traces.GetHead(), x0);
  }
  InvalidatePlot(true);
  PostToParent(WM_SPECTRUM_TRACES_CHANGED, 0, 0);
}

void CZSpectrumPlot::ZoomX(bool in)
{
  const double xMin = m_xMin, xMax = m_xMax;
  double centre = m_cursorIndex != -1 ? m_traces.GetHead()->GetX(m_cursorIndex) : (xMin + xMax) * 0.5;
  const double h = (xMax - xMin) * (in ? 0.4 : 0.6);
  double low = 0, high = 0;
  if (in) {
    // A cursor point outside the window (the wheel made a trace elsewhere the active one) counts
    // as the window's nearer end: zooming in keeps within the window.
    centre = std::min(std::max(centre, xMin), xMax);
    low = std::max(centre - h, xMin);
    high = std::min(centre + h, xMax);
  } else {
    low = centre - h;
    high = centre + h;
    bool any = false;
    double lo = 0, hi = 0;
    for (POSITION pos = m_traces.GetHeadPosition(); pos;) {
      const STraceScan& scan = ScanOf(*m_traces.GetNext(pos));
      if (!scan.hasX)
        continue;
      lo = any ? std::min<double>(lo, scan.xMin) : scan.xMin;
      hi = any ? std::max<double>(hi, scan.xMax) : scan.xMax;
      any = true;
    }
    // Moved back onto the data, first up, then down.
    if (any && lo - low > 0) {
      high += lo - low;
      low = lo;
      high = std::min(high, hi);
    }
    if (any && high - hi > 0) {
      low -= high - hi;
      high = hi;
      low = std::max(low, lo);
    }
  }
  float lo = 0, hi = 0;
  if (!ZoomRange(low, high, lo, hi))
    return;
  SetXMin(lo);
  SetXMax(hi);
  InvalidatePlot(true);
  PostToParent(WM_SPECTRUM_LIMITS_CHANGED, WPARAM(GetControlId()), 0);
}

void CZSpectrumPlot::ZoomY(bool in)
{
  const double yMin = m_yMin, yMax = m_yMax;
  float lo = 0, hi = 0;
  if (m_cursorIndex != -1) {
    const double y = m_traces.GetHead()->GetY(m_cursorIndex);
    const double h = (yMax - yMin) * (in ? 0.4 : 0.6);
    if (!ZoomRange(y - h, y + h, lo, hi))
      return;
    SetYMin(lo);
    SetYMax(hi);
  } else {
    const double d = (yMax - yMin) * 0.2;
    if (!ZoomRange(yMin, in ? yMax - d : yMax + d, lo, hi) || lo != m_yMin)
      return;
    SetYMax(hi);
  }
  InvalidatePlot(true);
  PostToParent(WM_SPECTRUM_LIMITS_CHANGED, WPARAM(GetControlId()), 1);
}

void CZSpectrumPlot::StepArrayIndex(bool forward)
{
  CSpectrumData* active = m_traces.GetHead();
  if (active->GetArraySize() > 1) {
    const int current = active->GetArrayIndex();
    if (forward)
      active->SetArrayIndex(current + 1);
    else if (current > 0)
      active->SetArrayIndex(current - 1);
    PostToParent(WM_SPECTRUM_TRACES_CHANGED, 0, 0);
    UpdateArraySlider();
  }
  InvalidatePlot(true);
}

bool CZSpectrumPlot::LButtonDblClk(UINT flags)
{
  if (!(flags & MK_CONTROL))
    return false;
  const bool yAxis = (flags & MK_SHIFT) != 0;
  if (yAxis)
    m_yMinFixed = m_yMaxFixed = false;
  else
    m_xMinFixed = m_xMaxFixed = false;
  RedrawNow();
  PostToParent(WM_SPECTRUM_LIMITS_CHANGED, WPARAM(GetControlId()), yAxis ? 1 : 0);
  return true;
}

EPlotMouseCursor CZSpectrumPlot::KeyDown(EPlotKey key, bool controlDown, bool shiftDown)
{
  if (key == EPlotKey::Control) {
    if (!shiftDown) {
      m_ctrlHeld = true;
      return EPlotMouseCursor::Zoom;
    }
    m_ctrlShiftHeld = true;
    return EPlotMouseCursor::YZoom;
  }
  if (key == EPlotKey::Shift) {
    if (controlDown) {
      m_ctrlShiftHeld = true;
      return EPlotMouseCursor::YZoom;
    }
    m_shiftHeld = true;
  }
  return EPlotMouseCursor::None;
}

EPlotMouseCursor CZSpectrumPlot::KeyUp(EPlotKey key)
{
  if (key == EPlotKey::Control) {
    m_ctrlHeld = m_ctrlShiftHeld = false;
    return EPlotMouseCursor::Arrow;
  }
  if (key == EPlotKey::Shift) {
    m_ctrlShiftHeld = m_shiftHeld = false;
    return EPlotMouseCursor::Arrow;
  }
  return EPlotMouseCursor::None;
}

EPlotMouseCursor CZSpectrumPlot::MouseCursorShape() const
{
  if (m_ctrlShiftHeld)
    return EPlotMouseCursor::YZoom;
  if (m_ctrlHeld)
    return EPlotMouseCursor::Zoom;
  if (m_markerHovered || m_markerDragging)
    return EPlotMouseCursor::Marker;
  return EPlotMouseCursor::Arrow;
}

int CZSpectrumPlot::CursorColumn() const
{
  if (m_cursorIndex < 0)
    return m_crosshair.x;
  return XToPixel(m_traces.GetHead()->GetX(m_cursorIndex));
}

int CZSpectrumPlot::CursorRow() const
{
  if (m_cursorIndex < 0)
    return m_crosshair.y;
  CSpectrumData* active = m_traces.GetHead();
  return YToPixel(m_logY ? active->GetLogY(m_cursorIndex) : active->GetY(m_cursorIndex));
}

SCursorOverlay CZSpectrumPlot::CursorOverlay(IPlotTextMeasure& measure) const
{
  SCursorOverlay overlay;
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return overlay;

  if (m_zooming && m_zoomRect.left >= 0) {
    const RECT& z = m_zoomRect;
    overlay.band = true;
    if (m_cursorIndex != -1) {
      const int a = XToPixel(SnapToDataX(z.left, z.top));
      const int b = XToPixel(SnapToDataX(z.right, z.bottom));
      overlay.bandRect = MakeRect(std::min(a, b), m_plotRect.top, std::max(a, b) + 1, m_plotRect.bottom + 1);
    } else {
      overlay.bandRect = MakeRect(std::min(z.left, z.right), std::min(z.top, z.bottom),
                                  std::max(z.left, z.right), std::max(z.top, z.bottom));
    }
  }

  const int column = CursorColumn();
  if (!PointInRect(m_plotRect, column, m_yOriginPixel))
    return overlay;
  const COLORREF colour = active->GetTraceColour();

  if (m_showXTitle) {
    double value = 0;
    bool known = true;
    if (m_cursorIndex > 0)
      value = active->GetXLabelValue(m_cursorIndex);
    else if (m_xPixelsPerUnit != 0.0f)
      value = PixelToX(column, 0);
    else
      known = false;
    SPlotText& t = overlay.xText;
    t.text = known ? BoxText(value) : CString();
    const SIZE size = measure.MeasureText(t.text);
    const LONG left = LeftInsidePlot(column - size.cx / 2, size.cx);
    const LONG bottom =
        m_xTitleInline ? m_xLabelRect.bottom : m_xLabelRect.top + RectHeight(m_xLabelRect) / 2;
    t.box = MakeRect(left, m_xLabelRect.top, left + size.cx, bottom);
    t.align = PlotAlignHCentre | PlotAlignVCentre;
    t.colour = colour;
    t.fillBox = true;
    overlay.xBox = true;
  }
  if (m_markerDragging)
    return overlay;

  const int row = CursorRow();
  // What an XOR line over the plot colour would show.
  const COLORREF inverse = ~m_plotColour & 0xFFFFFF;
  overlay.lines = true;
  overlay.vertical = {POINT{column, m_yOriginPixel}, POINT{column, YToPixel(m_drawnYMax)}, inverse, 1};
  overlay.horizontal = {POINT{m_xOriginPixel, row}, POINT{XToPixel(m_drawnXMax), row}, inverse, 1};

  if (HasData()) {
    double value = 0;
    bool known = true;
    if (m_showYTickLabels && m_cursorIndex <= 0) {
      if (m_yPixelsPerUnit != 0.0f)
        value = float(row - m_yOriginPixel) / m_yPixelsPerUnit + m_drawnYMin;
      else
        known = false;
    } else {
      value = active->GetYLabelValue(m_cursorIndex);
    }
    SPlotText& t = overlay.yText;
    t.text = known ? BoxText(value) : CString();
    const SIZE size = measure.MeasureText(t.text);
    LONG left = m_yLabelRect.right - size.cy;
    if (!m_showYTickLabels && m_yTitleBesideLabels)
      left = m_yLabelRect.left;
    LONG top = row - size.cx / 2;
    if (top + size.cx > m_plotRect.bottom)
      top = m_plotRect.bottom - size.cx;
    if (top < m_plotRect.top)
      top = m_plotRect.top;
    t.box = MakeRect(left, top, m_yLabelRect.right, top + size.cx);
    t.colour = colour;
    t.vertical = true;
    t.fillBox = true;
    overlay.yBox = true;
  }
  return overlay;
}
