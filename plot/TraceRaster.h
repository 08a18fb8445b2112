#pragma once
// The pixels of the image a memory DC draws on, for the trace lines that CLineRaster writes
// straight into them (see there why).
#include "KeptPicture.h"
#include "LineRaster.h"

#include <vector>

class wxDC;
typedef struct _cairo_surface cairo_surface_t;

class CTraceRaster {
public:
  // Reaches the pixels behind dc when it draws on an image in memory, unscaled; otherwise the
  // raster stays closed and the caller draws through the DC.
  explicit CTraceRaster(wxDC& dc);
  // Tells the graphics library that the pixels changed.
  ~CTraceRaster();
  CTraceRaster(const CTraceRaster&) = delete;
  CTraceRaster& operator=(const CTraceRaster&) = delete;

  bool IsOpen() const { return m_pixels != nullptr; }
  // In the DC's logical pixels; nothing while the raster is closed.
  void DrawRuns(const std::vector<POINT>& points, const std::vector<size_t>& runStarts, COLORREF colour,
                const RECT& clip)
  {
    if (IsOpen())
      CLineRaster(m_pixels, m_stride, m_width, m_height, m_dx, m_dy)
          .DrawRuns(points, runStarts, colour, clip);
  }

  // Keeps the whole image, whose inner rectangle (in the DC's logical pixels) is mostly of
  // innerColour and the rest of outerColour; false while the raster is closed.
  bool Keep(CKeptPicture& picture, const RECT& inner, COLORREF innerColour, COLORREF outerColour) const;
  // Writes back what Keep kept; false, and nothing written, while the raster is closed or when
  // the image is not of the kept size.
  bool Restore(const CKeptPicture& picture);

private:
  cairo_surface_t* m_surface = nullptr;
  unsigned char* m_pixels = nullptr;
  int m_stride = 0, m_width = 0, m_height = 0, m_dx = 0, m_dy = 0;
};
