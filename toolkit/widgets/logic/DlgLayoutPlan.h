#pragma once
// The arithmetic of CZDlgTools::Layout: where each listed control goes, given the area, the
// settings and the controls' present sizes. No window is touched here.
#include "WinTypes.h"

#include <vector>

enum class EDlgItemKind { Single = 0, Pair = 3, Button = 4 };

struct SDlgLayoutSettings {
  int topMargin = 5;
  int leftMargin = 5;
  int rightMargin = 5;
  int bottomMargin = 5;
  int horizontalSpacing = 1;
  int rowSpacing = 3;
  int buttonWidth = 80;
  int pairMinHeight = 0;
};

struct SDlgLayoutInput {
  EDlgItemKind kind = EDlgItemKind::Single;
  SIZE size1; // present size of the control (the label of a pair)
  SIZE size2; // present size of the field of a pair
};

struct SDlgLayoutPlacement {
  RECT rect1; // the control, or the label of a pair
  RECT rect2; // the field of a pair (empty otherwise)
};

struct SDlgLayoutResult {
  std::vector<SDlgLayoutPlacement> placements;
  int currentY = 0;
};

// Places the items in rows of `columns` equal columns from currentY on. columns must be 1 or
// more when items are given.
SDlgLayoutResult PlanDlgLayout(const RECT& area, const std::vector<SDlgLayoutInput>& items,
                               const SDlgLayoutSettings& settings, int columns, int currentY);
