#pragma once
// A dot-matrix font cut from a bitmap: 8 rows of 32 glyphs, each glyph in a box one pixel wider
// and higher than the glyph (the separating line right of and below it). The first pixel is the
// background; the glyph size is where row 0 and column 0 first leave the background.
#include "WinTypes.h"

#include <cstdint>
#include <functional>
#include <vector>

struct SDotMatrixFont {
  int width = 0;
  int height = 0;
  std::vector<BYTE> glyphs; // 256 glyphs of width x height bytes, 1 = dot on

  bool IsLoaded() const { return width > 0 && height > 0; }
  bool Dot(int glyph, int x, int y) const { return glyphs[size_t((glyph * height + y) * width + x)] != 0; }
};

// differs(x, y): the bitmap's pixel there is not the background colour. False, and no font, when
// the bitmap is too small for 256 glyphs or a glyph would be less than 2 dots wide or high.
bool CutDotMatrixFont(int bitmapWidth, int bitmapHeight, const std::function<bool(int, int)>& differs,
                      SDotMatrixFont& font);

// The glyph a character code shows, or -1 for none.
int DotMatrixGlyphIndex(uint32_t code);
