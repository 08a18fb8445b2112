#pragma once
// The shapes of one LCD cell: where each segment or dot sits and the outline it is drawn with,
// from the cell's size, the display mode and the scale factor. Coordinates are pixels from the
// cell's top-left corner.
#include "LcdSegmentTables.h"

#include <cstddef>
#include <vector>

struct SLcdPoint {
  float x = 0;
  float y = 0;
};

struct SLcdGeometry {
  int mode = 0;
  int cellWidth = 0;
  int height = 0;
  int sideMargin = 0;
  int thickness = 0; // segment thickness, or the dot size of the dot-matrix modes
  int topMargin = 0;
  int horizontalLength = 0;
  int verticalLength = 0;
  std::vector<SLcdPoint> anchors; // one per table column (segment modes)
  int fontWidth = 0;
  int fontHeight = 0;
  std::vector<SLcdPoint> dots; // row-major, fontWidth x fontHeight (dot-matrix modes)

  SLcdPoint Dot(int x, int y) const { return dots[size_t(y * fontWidth + x)]; }
};

SLcdGeometry BuildLcdGeometry(int mode, int cellWidth, int height, float scale, int fontWidth,
                              int fontHeight);

// The outline of a shape, centred on the origin: a bar with pointed ends (six points), a cross,
// or a round dot. shrink < 1 leaves the gap between neighbouring segments.
std::vector<SLcdPoint> LcdShapeOutline(const SLcdGeometry& geometry, ELcdShape shape, float shrink = 0.95f);
