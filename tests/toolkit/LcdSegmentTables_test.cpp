#include "LcdGeometry.h"
#include "LcdSegmentTables.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {
uint32_t Columns(std::initializer_list<int> columns)
{
  uint32_t mask = 0;
  for (int c : columns)
    mask |= 1u << c;
  return mask;
}
} // namespace

TEST(LcdSegmentTables, SevenSegmentRowsLightTheSegmentsOfTheirCharacters)
{
  EXPECT_EQ(SevenSegmentMask(' '), 0u);
  EXPECT_EQ(SevenSegmentMask('-'), Columns({7}));
  EXPECT_EQ(SevenSegmentMask('+'), Columns({8}));
  EXPECT_EQ(SevenSegmentMask('.'), Columns({9}));
  EXPECT_EQ(SevenSegmentMask('0'), Columns({0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(SevenSegmentMask('1'), Columns({1, 2}));
  EXPECT_EQ(SevenSegmentMask('6'), Columns({2, 3, 4, 5, 6}));
  EXPECT_EQ(SevenSegmentMask('7'), Columns({0, 1, 2}));
  EXPECT_EQ(SevenSegmentMask('8'), Columns({0, 1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(SevenSegmentMask('9'), Columns({0, 1, 2, 5, 6}));
  EXPECT_EQ(SevenSegmentMask('B'), Columns({2, 3, 4, 5, 6}));
  EXPECT_EQ(SevenSegmentMask('D'), Columns({1, 2, 3, 4, 6}));
  EXPECT_EQ(SevenSegmentMask('E'), Columns({0, 3, 4, 5, 6}));
  // The hexadecimal digits that "%x" writes in lower case show as their upper-case rows.
  for (uint32_t c = 'a'; c <= 'f'; ++c)
    EXPECT_EQ(SevenSegmentMask(c), SevenSegmentMask(c - 32)) << char(c);
}

TEST(LcdSegmentTables, SevenSegmentCodesWithoutARowLightNothing)
{
  // 'G' to '`' have no row of their own; they must not borrow the rows of digits and
  // punctuation that their code less 64 would point at.
  for (uint32_t c = 71; c <= 96; ++c)
    EXPECT_EQ(SevenSegmentMask(c), 0u) << "code " << c;
  for (uint32_t c : {0u, 10u, 31u, 103u, 127u, 200u, 0x263Au})
    EXPECT_EQ(SevenSegmentMask(c), 0u) << "code " << c;
}

TEST(LcdSegmentTables, SixteenSegmentRowsCoverPrintableAsciiWithLowerCaseAsUpper)
{
  EXPECT_EQ(SixteenSegmentMask(' '), 0u);
  EXPECT_EQ(SixteenSegmentMask('-'), Columns({11}));
  EXPECT_EQ(SixteenSegmentMask('+'), Columns({8, 9, 10, 11}));
  EXPECT_EQ(SixteenSegmentMask('1'), Columns({2, 3}));
  EXPECT_EQ(SixteenSegmentMask('8'), Columns({0, 1, 2, 3, 4, 5, 6, 7, 10, 11}));
  for (uint32_t c = 'a'; c <= 'z'; ++c)
    EXPECT_EQ(SixteenSegmentMask(c), SixteenSegmentMask(c - 32)) << char(c);
  for (uint32_t c = 'A'; c <= 'Z'; ++c)
    EXPECT_NE(SixteenSegmentMask(c), 0u) << char(c);
  // Only the segment columns are ever lit from the table, never the sign shapes or dots.
  for (uint32_t c = 32; c < 128; ++c)
    EXPECT_EQ(SixteenSegmentMask(c) & ~0xFFFFu, 0u) << "code " << c;
  for (uint32_t c : {0u, 31u, 160u, 1000u})
    EXPECT_EQ(SixteenSegmentMask(c), 0u) << "code " << c;
}

TEST(LcdSegmentTables, ColumnsAreDrawnWithTheirShapeKinds)
{
  for (int c : {0, 3, 6})
    EXPECT_EQ(LcdShapeOfColumn(0, c), ELcdShape::HorizontalBar);
  for (int c : {1, 2, 4, 5})
    EXPECT_EQ(LcdShapeOfColumn(0, c), ELcdShape::VerticalBar);
  EXPECT_EQ(LcdShapeOfColumn(0, 7), ELcdShape::Minus);
  EXPECT_EQ(LcdShapeOfColumn(0, 8), ELcdShape::Plus);
  for (int c : {9, 10, 11})
    EXPECT_EQ(LcdShapeOfColumn(0, c), ELcdShape::Dot);
  for (int c : {0, 1, 4, 5, 10, 11})
    EXPECT_EQ(LcdShapeOfColumn(1, c), ELcdShape::HorizontalBar);
  for (int c : {2, 3, 6, 7, 8, 9})
    EXPECT_EQ(LcdShapeOfColumn(1, c), ELcdShape::VerticalBar);
  EXPECT_EQ(LcdShapeOfColumn(1, 12), LcdShapeOfColumn(1, 14));
  EXPECT_EQ(LcdShapeOfColumn(1, 13), LcdShapeOfColumn(1, 15));
  EXPECT_NE(LcdShapeOfColumn(1, 12), LcdShapeOfColumn(1, 13));
  EXPECT_EQ(LcdShapeOfColumn(1, 16), ELcdShape::Minus);
  EXPECT_EQ(LcdShapeOfColumn(1, 17), ELcdShape::Plus);
}

TEST(LcdGeometry, SegmentProportionsFollowTheCellSize)
{
  SLcdGeometry seven = BuildLcdGeometry(0, 60, 100, 1.0f, 0, 0);
  EXPECT_EQ(seven.sideMargin, 12);
  EXPECT_EQ(seven.thickness, 9);
  EXPECT_EQ(seven.topMargin, 10);
  EXPECT_EQ(seven.horizontalLength, 36);
  EXPECT_EQ(seven.anchors.size(), 12u);
  SLcdGeometry sixteen = BuildLcdGeometry(1, 60, 100, 2.0f, 0, 0);
  EXPECT_EQ(sixteen.thickness, 8);
  EXPECT_EQ(sixteen.horizontalLength, 18);
  EXPECT_EQ(sixteen.anchors.size(), 21u);
  // Every segment sits inside its cell; the point and colon on its right edge.
  for (const SLcdGeometry* g : {&seven, &sixteen})
    for (const SLcdPoint& a : g->anchors) {
      EXPECT_GE(a.x, 0.0f);
      EXPECT_LE(a.x, 60.0f);
      EXPECT_GE(a.y, 0.0f);
      EXPECT_LE(a.y, 100.0f);
    }
}

TEST(LcdGeometry, DotGridSpreadsTheFontOverTheCellAndNeedsTwoDotsEachWay)
{
  SLcdGeometry g = BuildLcdGeometry(2, 60, 100, 1.0f, 5, 7);
  EXPECT_EQ(g.sideMargin, 9);
  EXPECT_EQ(g.thickness, 9);
  EXPECT_EQ(g.topMargin, 20);
  ASSERT_EQ(g.dots.size(), 35u);
  EXPECT_FLOAT_EQ(g.Dot(0, 0).x, 9.0f);
  EXPECT_FLOAT_EQ(g.Dot(0, 0).y, 20.0f);
  EXPECT_FLOAT_EQ(g.Dot(4, 6).x, 51.0f);
  EXPECT_FLOAT_EQ(g.Dot(4, 6).y, 80.0f);
  EXPECT_FLOAT_EQ(g.Dot(2, 3).x, 30.0f);
  // One dot wide or high would spread over a step of zero dots: no grid at all.
  EXPECT_TRUE(BuildLcdGeometry(2, 60, 100, 1.0f, 1, 7).dots.empty());
  EXPECT_TRUE(BuildLcdGeometry(3, 60, 100, 1.0f, 5, 1).dots.empty());
}
