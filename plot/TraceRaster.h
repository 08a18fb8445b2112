#pragma once
// Solid one-pixel lines written straight into the pixels of the image a memory DC draws on. The
// DC has the graphics library stroke a polyline as an outline with joins and caps and fill that,
// which for a trace of a point per pixel column costs more than the rest of the paint together.
// A one-pixel line is a single pixel per column (or per row where it is steep), as a cosmetic pen
// draws it, and written directly costs a small part of that.
#include "PlotGeometry.h"

#include <cstdint>

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
  // The polyline through the points (the DC's logical pixels, both ends drawn) in the colour,
  // where it lies inside clip.
  void DrawPolyline(const POINT* points, size_t count, COLORREF colour, const RECT& clip);

private:
  void DrawLine(int x0, int y0, int x1, int y1, uint32_t pixel, const RECT& clip);

  cairo_surface_t* m_surface = nullptr;
  unsigned char* m_pixels = nullptr;
  int m_stride = 0, m_width = 0, m_height = 0;
  int m_dx = 0, m_dy = 0; // logical to device pixels
};
