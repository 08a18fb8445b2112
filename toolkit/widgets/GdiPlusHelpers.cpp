#include "GdiPlusHelpers.h"

#include <algorithm>
#include <numbers>

namespace {
constexpr double kDegree = std::numbers::pi / 180.0;

// A quarter arc in GDI+ terms: the bounding box of its circle and the start angle.
void AddQuarterArc(wxGraphicsPath& path, double x, double y, double size, double startDegrees)
{
  const double r = size / 2;
  path.AddArc(x + r, y + r, r, startDegrees * kDegree, (startDegrees + 90) * kDegree, true);
}
} // namespace

void AddRoundRect(wxGraphicsPath& path, int cornerDiameter, int x, int y, int width, int height)
{
  int d = std::min({cornerDiameter, width, height});
  if (d <= 0) {
    path.AddRectangle(x, y, width, height);
    return;
  }
  // An arc continues the path from its current point; a rounded rectangle added after another
  // closed figure (the inner outline of a ring) must start a figure of its own.
  path.MoveToPoint(x, y + d / 2.0);
  AddQuarterArc(path, x, y, d, 180);
  // A diameter of exactly 20 draws the other three corners one pixel larger inside a box one
  // pixel smaller, as the house library has always drawn its 20-pixel frames.
  if (d == 20) {
    d = 21;
    --width;
    --height;
  }
  AddQuarterArc(path, x + width - d - 1, y, d, 270);
  AddQuarterArc(path, x + width - d - 1, y + height - d - 1, d, 0);
  AddQuarterArc(path, x, y + height - d - 1, d, 90);
  path.CloseSubpath();
}

void AddBorderShape(wxGraphicsPath& path, int shape, int cornerDiameter, const RECT& rect)
{
  const int x = rect.left, y = rect.top, w = rect.right - rect.left, h = rect.bottom - rect.top;
  switch (shape) {
  case 1: {
    const int side = std::min(w, h);
    path.AddEllipse(x + (w - side) / 2, y + (h - side) / 2, side, side);
    break;
  }
  case 2:
    path.AddEllipse(x, y, w, h);
    break;
  case 3:
    AddRoundRect(path, cornerDiameter, x, y, w, h);
    break;
  default:
    path.AddRectangle(x, y, w, h);
    break;
  }
}
