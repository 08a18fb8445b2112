#include "TracePath.h"
#include "CZSpectrumPlot.h"

#include <algorithm>
#include <cmath>

bool ClipSegment(const SDataWindow& window, float& ax, float& ay, float& bx, float& by)
{
  // Liang-Barsky, in double: a float step across a window of a few float steps would land
  // anywhere in it. Edges left, right, bottom, top.
  const double dx = double(bx) - ax, dy = double(by) - ay;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {double(ax) - window.xMin, window.xMax - double(ax), double(ay) - window.yMin,
                       window.yMax - double(ay)};
  double t0 = 0, t1 = 1;
  int edge0 = -1, edge1 = -1;
  for (int k = 0; k < 4; ++k) {
    if (!std::isfinite(q[k]) || !std::isfinite(p[k]))
      return false;
    if (p[k] == 0) {
      if (q[k] < 0)
        return false;
      continue;
    }
    const double t = q[k] / p[k];
    if (p[k] < 0) {
      if (t > t1)
        return false;
      if (t > t0) {
        t0 = t;
        edge0 = k;
      }
    } else {
      if (t < t0)
        return false;
      if (t < t1) {
        t1 = t;
        edge1 = k;
      }
    }
  }
  // A cut end lies on its edge exactly; the other coordinate only rounds, and stays inside.
  const double x0 = ax, y0 = ay;
  auto cut = [&](double t, int edge, float& x, float& y) {
    x = std::clamp(float(x0 + t * dx), window.xMin, window.xMax);
    y = std::clamp(float(y0 + t * dy), window.yMin, window.yMax);
    if (edge < 2)
      x = edge == 0 ? window.xMin : window.xMax;
    else
      y = edge == 2 ? window.yMin : window.yMax;
  };
  if (edge1 >= 0)
    cut(t1, edge1, bx, by);
  if (edge0 >= 0)
    cut(t0, edge0, ax, ay);
  return true;
}

CTracePath::CTracePath(const CZSpectrumPlot& plot, STraceGeometry& geometry, bool strokes)
    : m_plot(plot), m_geometry(geometry), m_strokes(strokes)
{
  m_window = {plot.GetDrawnXMin(), plot.GetDrawnXMax(), plot.GetDrawnYMin(), plot.GetDrawnYMax()};
  m_geometry.points.clear();
  m_geometry.runStarts.clear();
}

POINT CTracePath::Pixel(float x, float y) const
{
  return POINT{m_plot.XToPixel(x), m_plot.YToPixel(y)};
}

void CTracePath::StartRun(POINT p)
{
  m_geometry.runStarts.push_back(m_geometry.points.size());
  m_geometry.points.push_back(p);
}

void CTracePath::Add(float x, float y)
{
  const bool inside = m_window.Holds(x, y);
  if (!m_strokes) {
    if (!inside)
      return;
    const POINT p = Pixel(x, y);
    if (m_hasLast && p.x == m_lastColumn)
      return;
    m_geometry.points.push_back(p);
    m_hasLast = true;
    m_lastColumn = p.x;
    return;
  }
  // Outside the X window every point counts: the part of its strokes that shows depends on it.
  const bool inX = m_window.HoldsX(x);
  const int column = inX ? m_plot.XToPixel(x) : 0;
  if (m_hasLast && inX && m_window.HoldsX(m_lastX) && column == m_lastColumn)
    return;
  const bool hadLast = m_hasLast;
  float ax = m_lastX, ay = m_lastY, bx = x, by = y;
  m_hasLast = true;
  m_lastX = x;
  m_lastY = y;
  m_lastColumn = column;
  if (!hadLast) {
    if (inside)
      StartRun(Pixel(x, y));
    return;
  }
  const bool fromInside = m_window.Holds(ax, ay);
  if (fromInside && inside) {
    // Nothing to cut, and this point's column is known: the common stroke of a paint.
    m_geometry.points.push_back(POINT{column, m_plot.YToPixel(y)});
    return;
  }
  if (!ClipSegment(m_window, ax, ay, bx, by))
    return;
  if (!fromInside)
    StartRun(Pixel(ax, ay));
  m_geometry.points.push_back(Pixel(bx, by));
}

CColumnStroke::CColumnStroke(const CZSpectrumPlot& plot) : m_plot(plot)
{
  m_window = {plot.GetDrawnXMin(), plot.GetDrawnXMax(), plot.GetDrawnYMin(), plot.GetDrawnYMax()};
}

bool CColumnStroke::Needed(const STraceGeometry& geometry)
{
  const std::vector<POINT>& points = geometry.points;
  // No point at all: every column's first point fell outside the window, though the points after
  // it in its column may not have.
  return std::all_of(points.begin(), points.end(), [&](const POINT& p) { return p.x == points.front().x; });
}

void CColumnStroke::Add(float x, float y)
{
  auto cover = [&](float v) {
    m_low = m_covered ? std::min(m_low, v) : v;
    m_high = m_covered ? std::max(m_high, v) : v;
    m_covered = true;
  };
  if (m_window.Holds(x, y)) {
    cover(y);
    if (!m_hasX) {
      m_x = x;
      m_hasX = true;
    }
  }
  float ax = m_lastX, ay = m_lastY, bx = x, by = y;
  if (m_hasLast && ClipSegment(m_window, ax, ay, bx, by)) {
    cover(ay);
    cover(by);
    if (!m_hasX) {
      m_x = ax;
      m_hasX = true;
    }
  }
  m_hasLast = true;
  m_lastX = x;
  m_lastY = y;
}

void CColumnStroke::Replace(STraceGeometry& geometry) const
{
  if (!m_covered)
    return;
  const int column = geometry.points.empty() ? m_plot.XToPixel(m_x) : geometry.points.front().x;
  const int top = m_plot.YToPixel(m_high), bottom = m_plot.YToPixel(m_low);
  geometry.points.assign({POINT{column, top}});
  if (bottom != top)
    geometry.points.push_back(POINT{column, bottom});
  geometry.runStarts.assign({0});
}
