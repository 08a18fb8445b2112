#include "DotMatrixFont.h"

#include <algorithm>

namespace {
int FirstDifferent(int limit, const std::function<bool(int)>& differs)
{
  for (int i = 1; i <= 20; ++i)
    if (i < limit && differs(i))
      return i;
  return 20;
}
} // namespace

bool CutDotMatrixFont(int bitmapWidth, int bitmapHeight, const std::function<bool(int, int)>& differs,
                      SDotMatrixFont& font)
{
  font = SDotMatrixFont();
  if (bitmapWidth < 1 || bitmapHeight < 1)
    return false;
  const int w = FirstDifferent(bitmapWidth, [&](int x) { return differs(x, 0); });
  const int h = FirstDifferent(bitmapHeight, [&](int y) { return differs(0, y); });
  // The dots of a glyph are spread over the cell by (size - 1): one dot each way has no spread.
  if (w < 2 || h < 2)
    return false;
  if (bitmapWidth < (w + 1) * 32 || bitmapHeight < h * 8 + 8)
    return false;
  font.width = w;
  font.height = h;
  font.glyphs.assign(size_t(256 * w * h), 0);
  for (int g = 0; g < 256; ++g) {
    const int left = (w + 1) * (g % 32), top = (h + 1) * (g / 32);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        font.glyphs[size_t((g * h + y) * w + x)] = differs(left + x, top + y) ? 1 : 0;
  }
  return true;
}

int DotMatrixGlyphIndex(uint32_t code)
{
  const uint32_t glyph = code < 256 ? code : code - 32;
  return glyph < 256 ? int(glyph) : -1;
}
