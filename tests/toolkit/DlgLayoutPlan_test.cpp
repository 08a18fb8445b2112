#include "DlgLayoutPlan.h"

#include <gtest/gtest.h>

namespace {
SDlgLayoutInput Item(EDlgItemKind kind, int width, int height, int fieldWidth = 0, int fieldHeight = 0)
{
  SDlgLayoutInput input;
  input.kind = kind;
  input.size1 = SIZE{width, height};
  input.size2 = SIZE{fieldWidth, fieldHeight};
  return input;
}

void ExpectRect(const RECT& r, int left, int top, int right, int bottom)
{
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}
} // namespace

TEST(DlgLayoutPlan, ThreeButtonsInThreeColumnsEndAtTheRightMargin)
{
  const std::vector<SDlgLayoutInput> buttons(3, Item(EDlgItemKind::Button, 50, 25));
  const SDlgLayoutResult plan = PlanDlgLayout(RECT{0, 0, 300, 200}, buttons, SDlgLayoutSettings(), 3, 0);
  ASSERT_EQ(plan.placements.size(), 3u);
  ExpectRect(plan.placements[0].rect1, 53, 3, 133, 28);
  ExpectRect(plan.placements[1].rect1, 134, 3, 214, 28);
  ExpectRect(plan.placements[2].rect1, 215, 3, 295, 28);
  EXPECT_EQ(plan.currentY, 28);
}

TEST(DlgLayoutPlan, RowsStackAndAPartRowStillMovesTheCurrentY)
{
  const std::vector<SDlgLayoutInput> items = {Item(EDlgItemKind::Single, 10, 20),
                                              Item(EDlgItemKind::Single, 10, 30),
                                              Item(EDlgItemKind::Single, 10, 40)};
  const SDlgLayoutResult plan = PlanDlgLayout(RECT{0, 0, 200, 300}, items, SDlgLayoutSettings(), 2, 10);
  ASSERT_EQ(plan.placements.size(), 3u);
  ExpectRect(plan.placements[0].rect1, 5, 13, 95, 33);
  ExpectRect(plan.placements[1].rect1, 105, 13, 195, 43);
  // The next row starts under the row's last item.
  ExpectRect(plan.placements[2].rect1, 5, 46, 95, 86);
  EXPECT_EQ(plan.currentY, 86);

  const SDlgLayoutResult none = PlanDlgLayout(RECT{0, 0, 200, 300}, {}, SDlgLayoutSettings(), 2, 17);
  EXPECT_TRUE(none.placements.empty());
  EXPECT_EQ(none.currentY, 17);
}

TEST(DlgLayoutPlan, PairKeepsItsLabelAndStretchesItsFieldToTheMinimumHeight)
{
  SDlgLayoutSettings s;
  s.pairMinHeight = 60;
  const SDlgLayoutResult plan =
      PlanDlgLayout(RECT{0, 0, 400, 300}, {Item(EDlgItemKind::Pair, 32, 32, 100, 24)}, s, 1, 8);
  ASSERT_EQ(plan.placements.size(), 1u);
  ExpectRect(plan.placements[0].rect1, 5, 11, 37, 43);
  ExpectRect(plan.placements[0].rect2, 38, 11, 395, 71);
  EXPECT_EQ(plan.currentY, 71);
  s.pairMinHeight = 0;
  EXPECT_EQ(PlanDlgLayout(RECT{0, 0, 400, 300}, {Item(EDlgItemKind::Pair, 32, 32, 100, 24)}, s, 1, 8)
                .placements[0]
                .rect2.bottom,
            35);
}

TEST(DlgLayoutPlan, ReferenceAreaOffsetsEveryColumn)
{
  const SDlgLayoutResult plan = PlanDlgLayout(
      RECT{100, 50, 301, 250}, {Item(EDlgItemKind::Single, 1, 10), Item(EDlgItemKind::Single, 1, 10)},
      SDlgLayoutSettings(), 2, 50);
  ASSERT_EQ(plan.placements.size(), 2u);
  // Columns of 201 / 2 = 100 pixels from the area's left edge.
  ExpectRect(plan.placements[0].rect1, 105, 53, 195, 63);
  ExpectRect(plan.placements[1].rect1, 205, 53, 295, 63);
}
