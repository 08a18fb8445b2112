#pragma once
// The mouse and key words of the plot window's interaction, as the window messages carried them,
// and what the cursor overlay shows. The window translates its events into these.
#include "PlotGeometry.h"

// Mouse flags of a mouse message.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;

// The modifier keys the window follows.
enum class EPlotKey { Control, Shift, Other };

// The mouse cursors the window chooses between.
enum class EPlotMouseCursor { None, Arrow, Marker, Zoom, YZoom };

// What is drawn over the cached picture: the cursor lines and value boxes, and the zoom band.
// Nothing here is part of the picture itself, so a cursor move repaints only this.
struct SCursorOverlay {
  bool lines = false; // the two dotted lines, in the inverse of the plot colour
  SPlotSegment vertical{};
  SPlotSegment horizontal{};
  bool xBox = false;
  SPlotText xText; // on a background box, framed
  bool yBox = false;
  SPlotText yText; // vertical text on a background box, framed
  bool band = false;
  RECT bandRect{}; // the X band or the zoom rectangle being dragged; its outline lies inside
};
