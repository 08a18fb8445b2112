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

// Where every point of a line falls into one pixel column (a lone sample, a trace narrower than a
// pixel, an X window far wider than the data), the path keeps only the first point of the column:
// a polyline of one point, which strokes nothing. This widens it to the vertical stroke the line
// covers: fed the trace's drawable points in order, it takes each stroke between two of them cut
// to the window, and each point inside it.
class CColumnStroke {
public:
  explicit CColumnStroke(const CZSpectrumPlot& plot);

  // True when the path's points all lie in one column, or it has none: only then is a stroke made.
  static bool Needed(const STraceGeometry& geometry);
  void Add(float x, float y);
  // The path made one run from the top to the bottom row covered, in the column of its points (a
  // single point where they are one row); left as it is when nothing was covered.
  void Replace(STraceGeometry& geometry) const;

private:
  const CZSpectrumPlot& m_plot;
  SDataWindow m_window;
  bool m_hasLast = false, m_covered = false;
  float m_lastX = 0, m_lastY = 0;
  float m_low = 0, m_high = 0; // the y covered, in data units
  bool m_hasX = false;
  float m_x = 0; // the x of the first value covered: the column when the path has no point
};
