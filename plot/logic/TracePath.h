#pragma once
// A trace's line in pixels from its points in data units. Each stroke is cut where it crosses the
// edge of the data window, never moved onto it: a trace that leaves the window and comes back is
// drawn as several polylines. While the trace stays inside the X window only the first point of
// each pixel column is kept.
#include "PlotGeometry.h"

class CZSpectrumPlot;

// The data window of a paint: X and Y limits in data units (Y as shown: scaled and offset, or
// logarithmic).
struct SDataWindow {
  float xMin = 0, xMax = 0, yMin = 0, yMax = 0;

  bool HoldsX(float x) const { return x >= xMin && x <= xMax; }
  bool Holds(float x, float y) const { return HoldsX(x) && y >= yMin && y <= yMax; }
};

// Cuts the stroke from (ax, ay) to (bx, by) to its part inside the window. False when no part of
// it lies inside (also for a window or an end that is not a number). An end that was cut lies
// exactly on the edge it crossed.
bool ClipSegment(const SDataWindow& window, float& ax, float& ay, float& bx, float& by);

class CTracePath {
public:
  // Fills geometry.points and geometry.runStarts, which it empties first. With strokes clear (the
  // trace draws a pixel or a symbol per point) only the points inside the window are kept.
  CTracePath(const CZSpectrumPlot& plot, STraceGeometry& geometry, bool strokes);

  // The trace's next point; only finite values.
  void Add(float x, float y);

private:
  POINT Pixel(float x, float y) const;
  void StartRun(POINT p);

  const CZSpectrumPlot& m_plot;
  STraceGeometry& m_geometry;
  SDataWindow m_window;
  bool m_strokes;
  bool m_hasLast = false; // m_lastX, m_lastY: the point the next stroke starts from
  float m_lastX = 0, m_lastY = 0;
  int m_lastColumn = 0; // of the last point kept inside the X window
};
