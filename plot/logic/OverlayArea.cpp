#include "OverlayArea.h"

namespace {
RECT Widened(const RECT& r)
{
  return MakeRect(r.left - 1, r.top - 1, r.right + 1, r.bottom + 1);
}

RECT SegmentRect(const SPlotSegment& s)
{
  return MakeRect(std::min(s.from.x, s.to.x), std::min(s.from.y, s.to.y), std::max(s.from.x, s.to.x) + 1,
                  std::max(s.from.y, s.to.y) + 1);
}

RECT Union(const RECT& a, const RECT& b)
{
  return MakeRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                  std::max(a.bottom, b.bottom));
}
} // namespace

RECT PlacedTextRect(const SPlotText& t, SIZE size)
{
  if (t.vertical)
    return MakeRect(t.box.left, t.box.bottom - size.cx, t.box.left + size.cy, t.box.bottom);
  LONG x = t.box.left, y = t.box.top;
  if (t.align & PlotAlignHCentre)
    x += (RectWidth(t.box) - size.cx) / 2;
  else if (t.align & PlotAlignRight)
    x = t.box.right - size.cx;
  if (t.align & PlotAlignVCentre)
    y += (RectHeight(t.box) - size.cy) / 2;
  else if (t.align & PlotAlignBottom)
    y = t.box.bottom - size.cy;
  return MakeRect(x, y, x + size.cx, y + size.cy);
}

void SOverlayArea::Add(const RECT& r)
{
  if (count < int(rects.size()) && r.right > r.left && r.bottom > r.top)
    rects[size_t(count++)] = r;
}

bool SOverlayArea::operator==(const SOverlayArea& o) const
{
  if (count != o.count)
    return false;
  for (int i = 0; i < count; ++i) {
    const RECT &a = rects[size_t(i)], &b = o.rects[size_t(i)];
    if (a.left != b.left || a.top != b.top || a.right != b.right || a.bottom != b.bottom)
      return false;
  }
  return true;
}

SOverlayArea OverlayAreaOf(const SCursorOverlay& overlay, IPlotTextMeasure& measure)
{
  SOverlayArea area;
  if (overlay.lines) {
    area.Add(Widened(SegmentRect(overlay.vertical)));
    area.Add(Widened(SegmentRect(overlay.horizontal)));
  }
  // A text taller or wider than its box reaches past it.
  auto box = [&](const SPlotText& t) {
    RECT r = t.box;
    if (!t.text.IsEmpty())
      r = Union(r, PlacedTextRect(t, measure.MeasureText(t.text)));
    area.Add(Widened(r));
  };
  if (overlay.xBox)
    box(overlay.xText);
  if (overlay.yBox)
    box(overlay.yText);
  if (overlay.band) {
    const RECT& b = overlay.bandRect;
    area.Add(Widened(MakeRect(b.left, b.top, b.right, b.top + 1)));
    area.Add(Widened(MakeRect(b.left, b.bottom - 1, b.right, b.bottom)));
    area.Add(Widened(MakeRect(b.left, b.top, b.left + 1, b.bottom)));
    area.Add(Widened(MakeRect(b.right - 1, b.top, b.right, b.bottom)));
  }
  return area;
}
