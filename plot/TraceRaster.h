#pragma once
// The pixels of the image a memory DC draws on, for the trace lines that CLineRaster writes
// straight into them (see there why).
#include "LineRaster.h"

#include <optional>

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

private:
  cairo_surface_t* m_surface = nullptr;
  std::optional<CLineRaster> m_lines;
};
