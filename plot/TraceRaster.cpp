#include "TraceRaster.h"

#include <cairo.h>
#include <wx/dc.h>
#include <wx/graphics.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

CTraceRaster::CTraceRaster(wxDC& dc)
{
  wxGraphicsContext* gc = dc.GetGraphicsContext();
  if (!gc || dc.GetLogicalFunction() != wxCOPY)
    return;
  auto* cr = static_cast<cairo_t*>(gc->GetNativeContext());
  if (!cr || cairo_status(cr) != CAIRO_STATUS_SUCCESS)
    return;
  cairo_surface_t* surface = cairo_get_target(cr);
  if (cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE)
    return;
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32)
    return;
  // Only a whole-pixel shift from logical to device pixels; anything else is the DC's to draw.
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  double offsetX = 0, offsetY = 0, scaleX = 1, scaleY = 1;
  cairo_surface_get_device_offset(surface, &offsetX, &offsetY);
  cairo_surface_get_device_scale(surface, &scaleX, &scaleY);
  const double dx = m.x0 + offsetX, dy = m.y0 + offsetY;
  if (m.xx != 1 || m.yy != 1 || m.xy != 0 || m.yx != 0 || scaleX != 1 || scaleY != 1 ||
      dx != std::round(dx) || dy != std::round(dy))
    return;
  cairo_surface_flush(surface);
  m_pixels = cairo_image_surface_get_data(surface);
  if (!m_pixels)
    return;
  m_surface = surface;
  m_stride = cairo_image_surface_get_stride(surface);
  m_width = cairo_image_surface_get_width(surface);
  m_height = cairo_image_surface_get_height(surface);
  m_dx = int(dx);
  m_dy = int(dy);
}

CTraceRaster::~CTraceRaster()
{
  if (m_pixels)
    cairo_surface_mark_dirty(m_surface);
}

void CTraceRaster::DrawPolyline(const POINT* points, size_t count, COLORREF colour, const RECT& clip)
{
  if (!m_pixels || count == 0)
    return;
  // Opaque, in the image's native 0xAARRGGBB.
  const uint32_t pixel =
      0xFF000000u | (uint32_t(colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
  const RECT device =
      MakeRect(std::max<LONG>(clip.left + m_dx, 0), std::max<LONG>(clip.top + m_dy, 0),
               std::min<LONG>(clip.right + m_dx, m_width), std::min<LONG>(clip.bottom + m_dy, m_height));
  if (device.right <= device.left || device.bottom <= device.top)
    return;
  if (count == 1)
    DrawLine(points[0].x + m_dx, points[0].y + m_dy, points[0].x + m_dx, points[0].y + m_dy, pixel, device);
  for (size_t i = 1; i < count; ++i)
    DrawLine(points[i - 1].x + m_dx, points[i - 1].y + m_dy, points[i].x + m_dx, points[i].y + m_dy, pixel,
             device);
}

void CTraceRaster::DrawLine(int x0, int y0, int x1, int y1, uint32_t pixel, const RECT& clip)
{
  // Bresenham's line. The ends come from a path already cut to the clip; only a stroke whose
  // ends lie beyond it is tested pixel by pixel.
  const bool inside = PointInRect(clip, x0, y0) && PointInRect(clip, x1, y1);
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    if (inside || PointInRect(clip, x0, y0))
      *reinterpret_cast<uint32_t*>(m_pixels + ptrdiff_t(y0) * m_stride + ptrdiff_t(x0) * 4) = pixel;
    if (x0 == x1 && y0 == y1)
      return;
    const int e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      error += dx;
      y0 += sy;
    }
  }
}
