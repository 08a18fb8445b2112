#include "CStringPrinting.h"
#include "LcdText.h"

#include <gtest/gtest.h>

namespace {
SLcdTextSettings Settings(int mode, int digits, int decimals, bool showSign)
{
  SLcdTextSettings s;
  s.mode = mode;
  s.digits = digits;
  s.decimals = decimals;
  s.showSign = showSign;
  return s;
}

// The text a value shows, formatted for its cells.
CString Shown(double value, SLcdTextSettings s)
{
  const int cells = LcdCellCount(s);
  return LcdValueText(value, s, cells);
}

// What the cells show, one character per cell, '.' appended where a cell's point is lit.
CString CellText(const CString& text, int mode, int cellCount, bool scrolling = false, int step = 0)
{
  CString out;
  for (const SLcdCell& cell : LcdCells(text, mode, cellCount, scrolling, step)) {
    out += cell.code;
    if (cell.point)
      out += L'.';
    if (cell.colon)
      out += L':';
  }
  return out;
}
} // namespace

TEST(LcdText, CellCountRaisesDigitsAndAddsTheSignCellOnlyInSegmentModes)
{
  SLcdTextSettings s = Settings(0, 2, 3, false);
  EXPECT_EQ(LcdCellCount(s), 3);
  EXPECT_EQ(s.digits, 3);
  s = Settings(0, 0, 0, false);
  EXPECT_EQ(LcdCellCount(s), 1);
  EXPECT_EQ(s.digits, 1);

  EXPECT_EQ(LcdCellCount(s = Settings(0, 6, 2, true)), 7);
  EXPECT_EQ(LcdCellCount(s = Settings(1, 6, 2, true)), 7);
  EXPECT_EQ(LcdCellCount(s = Settings(2, 6, 2, true)), 6);
  s = Settings(0, 6, 2, true);
  s.textMode = true;
  EXPECT_EQ(LcdCellCount(s), 6);
  s.textMode = false;
  s.hexMode = true;
  EXPECT_EQ(LcdCellCount(s), 6);
}

TEST(LcdText, SignedSevenSegmentNumbersFillTheSignCellAndTheDigitCells)
{
  const SLcdTextSettings s = Settings(0, 6, 2, true);
  EXPECT_EQ(Shown(12.5, s), CString(L"+0012.50"));
  EXPECT_EQ(Shown(-3.2, s), CString(L"-0003.20"));
  EXPECT_EQ(CellText(Shown(12.5, s), 0, 7), CString(L"+0012.50"));
  EXPECT_EQ(CellText(Shown(-3.2, s), 0, 7), CString(L"-0003.20"));
  EXPECT_EQ(Shown(0.0, s), CString(L"+0000.00"));
  // A number too wide for its cells is cut at the last cell.
  EXPECT_EQ(CellText(Shown(123456.0, s), 0, 7), CString(L"+123456."));
}

TEST(LcdText, NegativeNumberWithoutSignCellKeepsItsDigits)
{
  // Four cells and no sign cell: the minus takes the first cell, so the number must not be
  // formatted one character wider than the cells, or its last digit falls off the read-out.
  SLcdTextSettings s = Settings(0, 4, 0, false);
  EXPECT_EQ(CellText(Shown(-12.0, s), 0, 4), CString(L"-012"));
  EXPECT_EQ(CellText(Shown(-7.0, s), 0, 4), CString(L"-007"));
  EXPECT_EQ(CellText(Shown(12.0, s), 0, 4), CString(L"0012"));
  s = Settings(1, 3, 0, false);
  EXPECT_EQ(CellText(Shown(-5.0, s), 1, 3), CString(L"-05"));
  // With decimals the point takes no cell; the leading zero still comes in after the minus.
  s = Settings(0, 4, 1, false);
  EXPECT_EQ(CellText(Shown(-3.2, s), 0, 4), CString(L"-03.2"));
  s = Settings(0, 6, 2, false);
  EXPECT_EQ(CellText(Shown(-3.2, s), 0, 6), CString(L"-003.20"));
}

TEST(LcdText, DotMatrixNumbersGiveTheSignACellOfTheirOwn)
{
  SLcdTextSettings s = Settings(2, 6, 0, true);
  EXPECT_EQ(Shown(42.0, s), CString(L"+00042"));
  EXPECT_EQ(Shown(-42.0, s), CString(L"-00042"));
  // The point takes a cell of its own in a dot matrix.
  s = Settings(3, 5, 1, false);
  EXPECT_EQ(Shown(2.5, s), CString(L"002.5"));
  EXPECT_EQ(CellText(Shown(2.5, s), 3, 5), CString(L"002.5"));
}

TEST(LcdText, HexModeShowsTheTruncatedValueZeroPadded)
{
  SLcdTextSettings s = Settings(0, 4, 0, true);
  s.hexMode = true;
  EXPECT_EQ(Shown(255.9, s), CString(L"00ff"));
  EXPECT_EQ(Shown(4660.0, s), CString(L"1234"));
}

TEST(LcdText, PointsAndColonsLightThePreviousCellInSegmentModesOnly)
{
  EXPECT_EQ(CellText(L"12:34", 0, 4), CString(L"12:34"));
  const std::vector<SLcdCell> cells = [] {
    int step = 0;
    return LcdCells(L"1.2", 0, 3, false, step);
  }();
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0].code, L'1');
  EXPECT_TRUE(cells[0].point);
  EXPECT_EQ(cells[1].code, L'2');
  EXPECT_FALSE(cells[1].point);
  EXPECT_EQ(cells[2].code, L' ');
  EXPECT_EQ(CellText(L"1.2", 2, 3), CString(L"1.2"));
  // A short text leaves blank cells behind it; a long one is cut at the last cell.
  EXPECT_EQ(CellText(L"AB", 2, 4), CString(L"AB  "));
  EXPECT_EQ(CellText(L"ABCDEF", 2, 4), CString(L"ABCD"));
}

TEST(LcdText, ScrollingStartsFromBlanksAndWrapsAtTheEndOfTheText)
{
  EXPECT_EQ(CellText(L"AB", 2, 4, true, 0), CString(L"   A"));
  EXPECT_EQ(CellText(L"AB", 2, 4, true, 1), CString(L"  AB"));
  EXPECT_EQ(CellText(L"AB", 2, 4, true, 4), CString(L"B   "));
  int step = 5;
  EXPECT_EQ(CellText(L"AB", 2, 4, true, step), CString(L"   A"));
  LcdCells(L"AB", 2, 4, true, step);
  EXPECT_EQ(step, 0);
  step = 3;
  LcdCells(L"AB", 2, 4, true, step);
  EXPECT_EQ(step, 3);
}
