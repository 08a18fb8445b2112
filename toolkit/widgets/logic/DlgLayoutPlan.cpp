#include "DlgLayoutPlan.h"

#include <algorithm>

namespace {
RECT MakeRect(int left, int top, int width, int height)
{
  return RECT{left, top, left + width, top + height};
}
} // namespace

SDlgLayoutResult PlanDlgLayout(const RECT& area, const std::vector<SDlgLayoutInput>& items,
                               const SDlgLayoutSettings& s, int columns, int currentY)
{
  SDlgLayoutResult result;
  result.currentY = currentY;
  if (items.empty() || columns < 1)
    return result;
  const int width = area.right - area.left;
  int c = 0;
  int bottom = currentY;
  for (const SDlgLayoutInput& item : items) {
    const int columnLeft = area.left + width * c / columns;
    const int columnRight = columnLeft + width / columns;
    const int top = result.currentY + s.rowSpacing;
    SDlgLayoutPlacement placed{};
    switch (item.kind) {
    case EDlgItemKind::Single: {
      const int left = columnLeft + s.leftMargin;
      placed.rect1 = MakeRect(left, top, columnRight - s.rightMargin - left, item.size1.cy);
      bottom = placed.rect1.bottom;
      break;
    }
    case EDlgItemKind::Button: {
      const int right =
          area.right - s.rightMargin - (s.horizontalSpacing + s.buttonWidth) * (columns - c - 1);
      placed.rect1 = MakeRect(right - s.buttonWidth, top, s.buttonWidth, item.size1.cy);
      bottom = placed.rect1.bottom;
      break;
    }
    case EDlgItemKind::Pair: {
      placed.rect1 = MakeRect(columnLeft + s.leftMargin, top, item.size1.cx, item.size1.cy);
      const int fieldLeft = placed.rect1.right + s.horizontalSpacing;
      placed.rect2 = MakeRect(fieldLeft, top, columnRight - s.rightMargin - fieldLeft,
                              std::max<int>(item.size2.cy, s.pairMinHeight));
      bottom = placed.rect2.bottom;
      break;
    }
    }
    result.placements.push_back(placed);
    if (++c == columns) {
      c = 0;
      result.currentY = bottom;
    }
  }
  result.currentY = bottom;
  return result;
}
