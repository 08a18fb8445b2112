#pragma once
// The pixels of the image a memory DC draws on, for the trace lines that CLineRaster writes
// straight into them (see there why).
#include "LineRaster.h"

#include <cstdint>
#include <optional>
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

  bool IsOpen() const { return m_lines.has_value(); }
  // In the DC's logical pixels; nothing while the raster is closed.
  void DrawRuns(const std::vector<POINT>& points, const std::vector<size_t>& runStarts, COLORREF colour,
                const RECT& clip)
  {
    if (m_lines)
      m_lines->DrawRuns(points, runStarts, colour, clip);
  }

  // The whole image, row after row without padding; false while the raster is closed.
  bool CopyOut(std::vector<uint32_t>& pixels) const;
  // Writes back what CopyOut gave, into an image of the same size; false, and nothing written,
  // when the raster is closed or the size differs.
  bool CopyIn(const std::vector<uint32_t>& pixels);

private:
  cairo_surface_t* m_surface = nullptr;
  unsigned char* m_pixels = nullptr;
  int m_stride = 0, m_width = 0, m_height = 0;
  std::optional<CLineRaster> m_lines;
};
