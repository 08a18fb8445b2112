#pragma once
// Where the cursor overlay lies on the screen. A cursor move repaints only these places, as they
// were before the move and as they are after it; the rest of the screen keeps the picture.
#include "PlotInteraction.h"

#include <array>

// Where a single-line text's pixels fall once placed in its box by its alignment; a vertical text
// starts at the box's bottom left and reads upwards.
RECT PlacedTextRect(const SPlotText& text, SIZE size);

// A handful of strips and boxes, kept without an allocation: a move computes two of these.
struct SOverlayArea {
  // The two cursor lines, two value boxes and four sides of the band.
  std::array<RECT, 8> rects{};
  int count = 0;

  void Add(const RECT& r);
  bool operator==(const SOverlayArea& o) const;
};

// The area the overlay paints, each part widened by a pixel against the pen's rounding; the band
// is its four sides, never its inside.
SOverlayArea OverlayAreaOf(const SCursorOverlay& overlay, IPlotTextMeasure& measure);
