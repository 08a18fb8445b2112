#pragma once
// What the LCD read-out shows: its number of cells, the text made from its value, and how that
// text falls into the cells (a point or colon after a character in the segment modes lights that
// cell's dots instead of taking a cell of its own).
#include "CString.h"

#include <vector>

struct SLcdTextSettings {
  int mode = 0;
  int digits = 4;
  int decimals = 0;
  bool showSign = false;
  bool hexMode = false;
  bool textMode = false;
};

// Raises digits to decimals and to at least 1 (the caller keeps the raised values), then adds
// the sign cell of the segment modes.
int LcdCellCount(SLcdTextSettings& settings);

// The text for a value (not in text mode). Without a sign cell a minus sign takes a digit cell,
// so the number is formatted no wider than the cells.
CString LcdValueText(double value, const SLcdTextSettings& settings, int cellCount);

struct SLcdCell {
  wchar_t code = L' ';
  bool point = false;
  bool colon = false;
};

// Fills cellCount cells from the text. While scrolling, the text gets cellCount - 1 blanks in
// front and stepCounter (the first character shown) wraps to 0 at the end of the text.
std::vector<SLcdCell> LcdCells(const CString& text, int mode, int cellCount, bool scrolling,
                               int& stepCounter);
