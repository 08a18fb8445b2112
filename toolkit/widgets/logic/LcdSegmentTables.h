#pragma once
// Which shapes of a seven- or sixteen-segment cell a character lights, as a bit per column of
// the segment tables, and which shape kind each column is drawn with.
#include <cstdint>

// Display modes of the read-out.
constexpr int kLcdSevenSegment = 0;
constexpr int kLcdSixteenSegment = 1;
constexpr int kLcdDotMatrix = 2;
constexpr int kLcdDotMatrixAlt = 3;
inline bool IsSegmentMode(int mode)
{
  return mode == kLcdSevenSegment || mode == kLcdSixteenSegment;
}

// Seven-segment columns: 0-6 segments a (top), b, c, d (bottom), e, f, g (middle); 7 the sign's
// minus, 8 the sign's plus, 9 the decimal point, 10 and 11 the colon dots.
constexpr int kSevenColumns = 12;
constexpr int kSevenMinus = 7;
constexpr int kSevenPlus = 8;
constexpr int kSevenPoint = 9;
constexpr int kSevenColonTop = 10;
constexpr int kSevenColonBottom = 11;

// Sixteen-segment columns: 0 and 1 the top halves (left, right), 2 and 3 the right bars (upper,
// lower), 4 and 5 the bottom halves (right, left), 6 and 7 the left bars (lower, upper), 8 and 9
// the centre bars (upper, lower), 10 and 11 the middle halves (left, right), 12 to 15 the
// diagonals (upper left, upper right, lower right, lower left); 16 the sign's minus, 17 its
// plus, 18 the point, 19 and 20 the colon dots.
constexpr int kSixteenColumns = 21;
constexpr int kSixteenMinus = 16;
constexpr int kSixteenPlus = 17;
constexpr int kSixteenPoint = 18;
constexpr int kSixteenColonTop = 19;
constexpr int kSixteenColonBottom = 20;

// Rows exist for ' ' to 'F' and, through the lower-case hex digits, 'a' to 'f'; every other
// code lights nothing.
int SevenSegmentRowIndex(uint32_t code);
uint32_t SevenSegmentMask(uint32_t code);
// Rows exist for ' ' to '_'; lower case shows as upper case.
int SixteenSegmentRowIndex(uint32_t code);
uint32_t SixteenSegmentMask(uint32_t code);

enum class ELcdShape { HorizontalBar, VerticalBar, Minus, Plus, DiagonalDown, DiagonalUp, Dot };
ELcdShape LcdShapeOfColumn(int mode, int column);
int LcdColumnCount(int mode);
