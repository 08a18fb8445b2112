#include "LcdGeometry.h"

#include <cmath>
#include <numbers>

namespace {
void SegmentAnchors(SLcdGeometry& g)
{
  const float w = float(g.cellWidth), h = float(g.height);
  const float x0 = float(g.sideMargin), x1 = w / 2, x2 = w - float(g.sideMargin);
  const float y0 = float(g.topMargin), y1 = h / 2, y2 = h - float(g.topMargin);
  const float yUpper = (y0 + y1) / 2, yLower = (y1 + y2) / 2;
  // Points and colons sit on the border between this cell and the next, clear of both digits.
  const SLcdPoint point{w, y2}, colonTop{w, yUpper}, colonBottom{w, yLower};
  if (g.mode == kLcdSevenSegment) {
    g.anchors = {{x1, y0}, {x2, yUpper}, {x2, yLower}, {x1, y2}, {x0, yLower}, {x0, yUpper},
                 {x1, y1}, {x1, y1},     {x1, y1},     point,    colonTop,     colonBottom};
  } else {
    const float xLeft = (x0 + x1) / 2, xRight = (x1 + x2) / 2;
    g.anchors = {
        {xLeft, y0},     {xRight, y0},     {x2, yUpper},     {x2, yLower},    {xRight, y2}, {xLeft, y2},
        {x0, yLower},    {x0, yUpper},     {x1, yUpper},     {x1, yLower},    {xLeft, y1},  {xRight, y1},
        {xLeft, yUpper}, {xRight, yUpper}, {xRight, yLower}, {xLeft, yLower}, {x1, y1},     {x1, y1},
        point,           colonTop,         colonBottom};
  }
}

std::vector<SLcdPoint> Bar(float length, float thickness)
{
  const float a = length / 2, t = thickness / 2;
  const float tip = std::min(t, a);
  return {{-a, 0}, {-a + tip, -t}, {a - tip, -t}, {a, 0}, {a - tip, t}, {-a + tip, t}};
}

std::vector<SLcdPoint> Rotated(std::vector<SLcdPoint> points, float angle)
{
  const float c = std::cos(angle), s = std::sin(angle);
  for (SLcdPoint& p : points)
    p = {p.x * c - p.y * s, p.x * s + p.y * c};
  return points;
}
} // namespace

SLcdGeometry BuildLcdGeometry(int mode, int cellWidth, int height, float scale, int fontWidth, int fontHeight)
{
  SLcdGeometry g;
  g.mode = mode;
  g.cellWidth = cellWidth;
  g.height = height;
  const float w = float(cellWidth), h = float(height);
  if (IsSegmentMode(mode)) {
    g.sideMargin = int(0.2f * w);
    g.thickness = int((mode == kLcdSevenSegment ? 0.15f : 0.07f) * w * scale);
    g.topMargin = int(0.1f * h);
    const int full = cellWidth - 2 * g.sideMargin;
    g.horizontalLength = mode == kLcdSevenSegment ? full : int(float(full) * 0.5f);
    g.verticalLength = (height - 2 * g.topMargin) / 2;
    SegmentAnchors(g);
    return g;
  }
  g.sideMargin = int(0.15f * w);
  g.thickness = int(float(g.sideMargin) * scale);
  g.topMargin = int(0.2f * h);
  // A font needs two dots each way to spread over the cell; a thinner one has no grid.
  if (fontWidth >= 2 && fontHeight >= 2) {
    g.fontWidth = fontWidth;
    g.fontHeight = fontHeight;
    const float stepX = float(cellWidth - 2 * g.sideMargin) / float(fontWidth - 1);
    const float stepY = float(height - 2 * g.topMargin) / float(fontHeight - 1);
    for (int r = 0; r < fontHeight; ++r)
      for (int c = 0; c < fontWidth; ++c)
        g.dots.push_back({float(g.sideMargin) + float(c) * stepX, float(g.topMargin) + float(r) * stepY});
  }
  return g;
}

std::vector<SLcdPoint> LcdShapeOutline(const SLcdGeometry& g, ELcdShape shape, float shrink)
{
  const float t = float(g.thickness);
  // The sign spans a whole digit's width also in the sixteen-segment mode, where the
  // horizontal bars are half bars.
  const float signLength = float(g.cellWidth - 2 * g.sideMargin);
  std::vector<SLcdPoint> points;
  switch (shape) {
  case ELcdShape::HorizontalBar:
    points = Bar(float(g.horizontalLength), t);
    break;
  case ELcdShape::VerticalBar:
    points = Rotated(Bar(float(g.verticalLength), t), std::numbers::pi_v<float> / 2);
    break;
  case ELcdShape::Minus:
    points = Bar(signLength, t);
    break;
  case ELcdShape::Plus: {
    const float a = std::min(signLength, float(2 * g.verticalLength)) / 2, s = t / 2;
    points = {{-a, -s}, {-s, -s}, {-s, -a}, {s, -a}, {s, -s}, {a, -s},
              {a, s},   {s, s},   {s, a},   {-s, a}, {-s, s}, {-a, s}};
    break;
  }
  case ELcdShape::DiagonalDown:
  case ELcdShape::DiagonalUp: {
    const float dx = float(g.horizontalLength), dy = float(g.verticalLength);
    const float length = std::max(std::hypot(dx, dy) - 2 * t, t);
    const float angle = std::atan2(dy, dx) * (shape == ELcdShape::DiagonalDown ? 1.0f : -1.0f);
    points = Rotated(Bar(length, t), angle);
    break;
  }
  case ELcdShape::Dot: {
    const float r = std::max(t, 1.0f) / 2;
    for (int i = 0; i < 16; ++i) {
      const float a = float(i) * std::numbers::pi_v<float> / 8;
      points.push_back({r * std::cos(a), r * std::sin(a)});
    }
    break;
  }
  }
  for (SLcdPoint& p : points)
    p = {p.x * shrink, p.y * shrink};
  return points;
}
