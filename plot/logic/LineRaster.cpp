#include "LineRaster.h"

#include <algorithm>
#include <cstdlib>

CLineRaster::CLineRaster(unsigned char* pixels, int stride, int width, int height, int dx, int dy)
    : m_pixels(pixels), m_stride(stride), m_width(width), m_height(height), m_dx(dx), m_dy(dy)
{}

void CLineRaster::DrawRuns(const std::vector<POINT>& points, const std::vector<size_t>& runStarts,
                           COLORREF colour, const RECT& clip)
{
  if (!m_pixels)
    return;
  const uint32_t pixel = NativePixel(colour);
  // The clip in the image's pixels, and never past the image's own edges.
  const RECT device =
      MakeRect(std::max<LONG>(clip.left + m_dx, 0), std::max<LONG>(clip.top + m_dy, 0),
               std::min<LONG>(clip.right + m_dx, m_width), std::min<LONG>(clip.bottom + m_dy, m_height));
  if (device.right <= device.left || device.bottom <= device.top)
    return;
  for (size_t run = 0; run < runStarts.size(); ++run) {
    const size_t begin = runStarts[run];
    const size_t end =
        std::min(run + 1 < runStarts.size() ? runStarts[run + 1] : points.size(), points.size());
    // A run of one point (a lone sample, or a trace whose points all fell on one pixel) is a dot.
    if (end == begin + 1)
      DrawLine(points[begin].x + m_dx, points[begin].y + m_dy, points[begin].x + m_dx, points[begin].y + m_dy,
               pixel, device);
    for (size_t i = begin + 1; i < end; ++i)
      DrawLine(points[i - 1].x + m_dx, points[i - 1].y + m_dy, points[i].x + m_dx, points[i].y + m_dy, pixel,
               device);
  }
}

void CLineRaster::DrawLine(int x0, int y0, int x1, int y1, uint32_t pixel, const RECT& clip)
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
