#include "LcdSegmentTables.h"

#include <initializer_list>

namespace {
constexpr uint32_t Bits(std::initializer_list<int> columns)
{
  uint32_t mask = 0;
  for (int c : columns)
    mask |= 1u << c;
  return mask;
}

// ' ' (32) to 'F' (70).
constexpr uint32_t kSeven[39] = {
    Bits({}),                    // ' '
    Bits({1, 2}),                // '!'
    Bits({1, 5}),                // '"'
    Bits({}),                    // '#'
    Bits({0, 2, 3, 5, 6}),       // '$'
    Bits({}),                    // '%'
    Bits({}),                    // '&'
    Bits({5}),                   // '\''
    Bits({0, 3, 4, 5}),          // '('
    Bits({0, 1, 2, 3}),          // ')'
    Bits({}),                    // '*'
    Bits({8}),                   // '+'
    Bits({9}),                   // ','
    Bits({7}),                   // '-'
    Bits({9}),                   // '.'
    Bits({1, 4, 6}),             // '/'
    Bits({0, 1, 2, 3, 4, 5}),    // '0'
    Bits({1, 2}),                // '1'
    Bits({0, 1, 3, 4, 6}),       // '2'
    Bits({0, 1, 2, 3, 6}),       // '3'
    Bits({1, 2, 5, 6}),          // '4'
    Bits({0, 2, 3, 5, 6}),       // '5'
    Bits({2, 3, 4, 5, 6}),       // '6'
    Bits({0, 1, 2}),             // '7'
    Bits({0, 1, 2, 3, 4, 5, 6}), // '8'
    Bits({0, 1, 2, 5, 6}),       // '9'
    Bits({10, 11}),              // ':'
    Bits({}),                    // ';'
    Bits({}),                    // '<'
    Bits({3, 6}),                // '='
    Bits({}),                    // '>'
    Bits({0, 1, 4, 6}),          // '?'
    Bits({0, 1, 2, 3, 4, 6}),    // '@'
    Bits({0, 1, 2, 4, 5, 6}),    // 'A'
    Bits({2, 3, 4, 5, 6}),       // 'B'
    Bits({0, 3, 4, 5}),          // 'C'
    Bits({1, 2, 3, 4, 6}),       // 'D'
    Bits({0, 3, 4, 5, 6}),       // 'E'
    Bits({0, 4, 5, 6}),          // 'F'
};

// ' ' (32) to '_' (95).
constexpr uint32_t kSixteen[64] = {
    Bits({}),                                 // ' '
    Bits({8}),                                // '!'
    Bits({2, 8}),                             // '"'
    Bits({2, 3, 4, 5, 8, 9, 10, 11}),         // '#'
    Bits({0, 1, 3, 4, 5, 7, 8, 9, 10, 11}),   // '$'
    Bits({0, 3, 4, 7, 8, 9, 10, 11, 13, 15}), // '%'
    Bits({0, 4, 5, 6, 8, 10, 12, 14}),        // '&'
    Bits({13}),                               // '\''
    Bits({13, 14}),                           // '('
    Bits({12, 15}),                           // ')'
    Bits({8, 9, 10, 11, 12, 13, 14, 15}),     // '*'
    Bits({8, 9, 10, 11}),                     // '+'
    Bits({15}),                               // ','
    Bits({11}),                               // '-'
    Bits({}),                                 // '.'
    Bits({13, 15}),                           // '/'
    Bits({0, 1, 2, 3, 4, 5, 6, 7, 13, 15}),   // '0'
    Bits({2, 3}),                             // '1'
    Bits({0, 1, 2, 4, 5, 6, 10, 11}),         // '2'
    Bits({0, 1, 2, 3, 4, 5, 11}),             // '3'
    Bits({2, 3, 7, 10, 11}),                  // '4'
    Bits({0, 1, 3, 4, 5, 7, 10, 11}),         // '5'
    Bits({0, 1, 3, 4, 5, 6, 7, 10, 11}),      // '6'
    Bits({0, 1, 2, 3}),                       // '7'
    Bits({0, 1, 2, 3, 4, 5, 6, 7, 10, 11}),   // '8'
    Bits({0, 1, 2, 3, 4, 5, 7, 10, 11}),      // '9'
    Bits({}),                                 // ':'
    Bits({15}),                               // ';'
    Bits({13, 14}),                           // '<'
    Bits({4, 5, 10, 11}),                     // '='
    Bits({12, 15}),                           // '>'
    Bits({0, 1, 2, 9, 11}),                   // '?'
    Bits({0, 1, 2, 4, 5, 6, 7, 8, 11}),       // '@'
    Bits({0, 1, 2, 3, 6, 7, 10, 11}),         // 'A'
    Bits({0, 1, 2, 3, 4, 5, 8, 9, 11}),       // 'B'
    Bits({0, 1, 4, 5, 6, 7}),                 // 'C'
    Bits({0, 1, 2, 3, 4, 5, 8, 9}),           // 'D'
    Bits({0, 1, 4, 5, 6, 7, 10}),             // 'E'
    Bits({0, 1, 6, 7, 10}),                   // 'F'
    Bits({0, 1, 3, 4, 5, 6, 7, 11}),          // 'G'
    Bits({2, 3, 6, 7, 10, 11}),               // 'H'
    Bits({0, 1, 4, 5, 8, 9}),                 // 'I'
    Bits({2, 3, 4, 5, 6}),                    // 'J'
    Bits({6, 7, 10, 13, 14}),                 // 'K'
    Bits({4, 5, 6, 7}),                       // 'L'
    Bits({2, 3, 6, 7, 12, 13}),               // 'M'
    Bits({2, 3, 6, 7, 12, 14}),               // 'N'
    Bits({0, 1, 2, 3, 4, 5, 6, 7}),           // 'O'
    Bits({0, 1, 2, 6, 7, 10, 11}),            // 'P'
    Bits({0, 1, 2, 3, 4, 5, 6, 7, 14}),       // 'Q'
    Bits({0, 1, 2, 6, 7, 10, 11, 14}),        // 'R'
    Bits({0, 1, 3, 4, 5, 7, 10, 11}),         // 'S'
    Bits({0, 1, 8, 9}),                       // 'T'
    Bits({2, 3, 4, 5, 6, 7}),                 // 'U'
    Bits({6, 7, 13, 15}),                     // 'V'
    Bits({2, 3, 6, 7, 14, 15}),               // 'W'
    Bits({12, 13, 14, 15}),                   // 'X'
    Bits({9, 12, 13}),                        // 'Y'
    Bits({0, 1, 4, 5, 13, 15}),               // 'Z'
    Bits({0, 5, 6, 7}),                       // '['
    Bits({12, 14}),                           // '\\'
    Bits({1, 2, 3, 4}),                       // ']'
    Bits({14, 15}),                           // '^'
    Bits({4, 5}),                             // '_'
};
} // namespace

int SevenSegmentRowIndex(uint32_t code)
{
  // The table's upper rows are also reached from the lower-case hex digits that "%x" writes;
  // nothing else above 'F' has a row of its own.
  if (code >= 32 && code <= 70)
    return int(code - 32);
  if (code >= 'a' && code <= 'f')
    return int(code - 64);
  return -1;
}

uint32_t SevenSegmentMask(uint32_t code)
{
  int row = SevenSegmentRowIndex(code);
  return row < 0 ? 0 : kSeven[row];
}

int SixteenSegmentRowIndex(uint32_t code)
{
  if (code < 32)
    return -1;
  uint32_t row = code < 96 ? code - 32 : code - 64;
  return row < 64 ? int(row) : -1;
}

uint32_t SixteenSegmentMask(uint32_t code)
{
  int row = SixteenSegmentRowIndex(code);
  return row < 0 ? 0 : kSixteen[row];
}

int LcdColumnCount(int mode)
{
  return mode == kLcdSevenSegment ? kSevenColumns : mode == kLcdSixteenSegment ? kSixteenColumns : 0;
}

ELcdShape LcdShapeOfColumn(int mode, int column)
{
  if (mode == kLcdSevenSegment) {
    switch (column) {
    case 0:
    case 3:
    case 6:
      return ELcdShape::HorizontalBar;
    case 1:
    case 2:
    case 4:
    case 5:
      return ELcdShape::VerticalBar;
    case kSevenMinus:
      return ELcdShape::Minus;
    case kSevenPlus:
      return ELcdShape::Plus;
    default:
      return ELcdShape::Dot;
    }
  }
  if (mode == kLcdSixteenSegment) {
    switch (column) {
    case 0:
    case 1:
    case 4:
    case 5:
    case 10:
    case 11:
      return ELcdShape::HorizontalBar;
    case 2:
    case 3:
    case 6:
    case 7:
    case 8:
    case 9:
      return ELcdShape::VerticalBar;
    case 12:
    case 14:
      return ELcdShape::DiagonalDown;
    case 13:
    case 15:
      return ELcdShape::DiagonalUp;
    case kSixteenMinus:
      return ELcdShape::Minus;
    case kSixteenPlus:
      return ELcdShape::Plus;
    default:
      return ELcdShape::Dot;
    }
  }
  return ELcdShape::Dot;
}
