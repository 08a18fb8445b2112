#include "TraceRaster.h"

#include <cairo.h>
#include <wx/dc.h>
#include <wx/graphics.h>

#include <cmath>

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
  unsigned char* pixels = cairo_image_surface_get_data(surface);
  if (!pixels)
    return;
  m_surface = surface;
  m_pixels = pixels;
  m_stride = cairo_image_surface_get_stride(surface);
  m_width = cairo_image_surface_get_width(surface);
  m_height = cairo_image_surface_get_height(surface);
  m_dx = int(dx);
  m_dy = int(dy);
}

bool CTraceRaster::Keep(CKeptPicture& picture, const RECT& inner, COLORREF innerColour,
                        COLORREF outerColour) const
{
  if (!IsOpen())
    return false;
  const RECT device = MakeRect(inner.left + m_dx, inner.top + m_dy, inner.right + m_dx, inner.bottom + m_dy);
  picture.Keep(m_pixels, m_stride, m_width, m_height, device, NativePixel(innerColour),
               NativePixel(outerColour));
  return picture.IsKept();
}

bool CTraceRaster::Restore(const CKeptPicture& picture)
{
  return IsOpen() && picture.Restore(m_pixels, m_stride, m_width, m_height);
}

CTraceRaster::~CTraceRaster()
{
  if (IsOpen())
    cairo_surface_mark_dirty(m_surface);
}
