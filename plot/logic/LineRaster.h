#pragma once
// Solid one-pixel lines written straight into 32-bit pixels in memory (0xAARRGGBB, as the
// graphics library's images hold them), one pixel per column, or per row where the line is steep,
// as a cosmetic pen draws it. The trace lines of a paint go this way: through the device context
// a polyline is stroked as an outline with joins and caps and then filled, which for a point per
// pixel column costs more than the rest of the paint together.
#include "PlotGeometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A colour as the image holds it: opaque, in the native 0xAARRGGBB.
inline uint32_t NativePixel(COLORREF colour)
{
  return 0xFF000000u | (uint32_t(colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

class CLineRaster {
public:
  // pixels: the first row of an image of width x height pixels, stride bytes apart; (dx, dy)
  // takes the callers' pixels to the image's.
  CLineRaster(unsigned char* pixels, int stride, int width, int height, int dx = 0, int dy = 0);

  // Each run of the path (runStarts as STraceGeometry has them) as a polyline of its own, both
  // ends drawn, where it lies inside clip and the image. A run of a single point draws that pixel.
  void DrawRuns(const std::vector<POINT>& points, const std::vector<size_t>& runStarts, COLORREF colour,
                const RECT& clip);

private:
  void DrawLine(int x0, int y0, int x1, int y1, uint32_t pixel, const RECT& clip);

  unsigned char* m_pixels;
  int m_stride, m_width, m_height;
  int m_dx, m_dy;
};
