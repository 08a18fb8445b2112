#pragma once
// What a paint of the plot draws, in pixels, worked out without a device context: the window turns
// these records into calls on its DC.
#include <CString.h>
#include <WinTypes.h>

#include <algorithm>
#include <cmath>
#include <vector>

class CSpectrumData;

// Pen styles of the data sets (the GDI numbers the archives hold). 7 is the dot symbol.
enum EPlotLineStyle : int {
  PlotLineSolid = 0,
  PlotLineDash = 1,
  PlotLineDot = 2,
  PlotLineDashDot = 3,
  PlotLineDashDotDot = 4,
  PlotLineNull = 5,
  PlotLineInsideFrame = 6,
  PlotLineDotSymbol = 7,
};

// One straight stroke; the end point is not part of it.
struct SPlotSegment {
  POINT from;
  POINT to;
  COLORREF colour = 0;
  int width = 1;
};

// How a trace's points are shown.
enum class ETraceMark {
  Line,   // a polyline through the points
  Pixel,  // one pixel per point (pen style 2)
  Symbol, // the 5 x 5 dot symbol per point (pen style 7)
};

struct STraceGeometry {
  CSpectrumData* trace = nullptr;
  ETraceMark mark = ETraceMark::Line;
  int lineStyle = 0;
  int lineWidth = 1;
  COLORREF colour = 0;
  // At most one per pixel column of the plot while the trace stays inside the window, and the
  // points where its strokes cross the window's edge.
  std::vector<POINT> points;
  std::vector<size_t> runStarts;     // Line: where each unbroken polyline begins in points
  std::vector<SPlotSegment> markers; // the data set's own vertical markers
  std::vector<SPlotSegment> peaks;   // one short stroke per peak of the current array entry
};

// Text placement, as DrawText formats: horizontal and vertical alignment inside the box.
enum EPlotTextAlign : unsigned {
  PlotAlignLeft = 0x0,
  PlotAlignHCentre = 0x1,
  PlotAlignRight = 0x2,
  PlotAlignTop = 0x0,
  PlotAlignVCentre = 0x4,
  PlotAlignBottom = 0x8,
};

struct SPlotText {
  CString text;
  RECT box;              // for vertical text the turned box: as wide as the text is high
  unsigned align = 0;    // EPlotTextAlign bits
  COLORREF colour = 0;   // text colour
  bool vertical = false; // read from bottom to top
  bool fillBox = false;  // painted on a box of the background colour first
  bool operator==(const SPlotText& o) const
  {
    return text == o.text && box.left == o.box.left && box.top == o.box.top && box.right == o.box.right &&
           box.bottom == o.box.bottom && align == o.align && colour == o.colour && vertical == o.vertical &&
           fillBox == o.fillBox;
  }
};

// Single-line text extents in pixels, as DrawText with DT_CALCRECT gives them.
class IPlotTextMeasure {
public:
  virtual SIZE MeasureText(const CString& text) = 0;

protected:
  ~IPlotTextMeasure() = default;
};

inline LONG RectWidth(const RECT& r)
{
  return r.right - r.left;
}
inline LONG RectHeight(const RECT& r)
{
  return r.bottom - r.top;
}
inline RECT MakeRect(LONG left, LONG top, LONG right, LONG bottom)
{
  RECT r;
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  return r;
}
inline RECT DeflatedRect(const RECT& r, LONG dx, LONG dy)
{
  return MakeRect(r.left + dx, r.top + dy, r.right - dx, r.bottom - dy);
}
inline bool PointInRect(const RECT& r, LONG x, LONG y)
{
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// NaN and values beyond any screen held where an int can carry them.
inline float HeldPixelValue(float value)
{
  return std::clamp(std::isnan(value) ? 0.0f : value, -1.0e6f, 1.0e6f);
}

inline float HeldPixelValue(double value)
{
  return float(std::clamp(std::isnan(value) ? 0.0 : value, -1.0e6, 1.0e6));
}

// A pixel coordinate from a float, truncated as GDI callers always did.
inline int PixelOf(float value)
{
  return int(HeldPixelValue(value));
}

// Truncated, but a value a rounding error short of a whole pixel is that pixel: the scale is the
// inner size over the range in float, so the limit itself can come out a hair outside the inner
// area, on the row or column that the trace clip leaves out.
inline int SnappedPixelOf(float value)
{
  // Held first, as PixelOf does, so that the whole part fits an int: std::round is a library
  // call, and a paint makes a few of these for each of a trace's points. Rounds half away from
  // zero as std::round does; v minus its truncation is exact.
  const float v = HeldPixelValue(value);
  const int truncated = int(v);
  const float fraction = v - float(truncated);
  const float whole = float(fraction >= 0.5f ? truncated + 1 : fraction <= -0.5f ? truncated - 1 : truncated);
  return int(std::fabs(v - whole) < 1e-3f ? whole : v);
}
