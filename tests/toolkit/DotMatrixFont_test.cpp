#include "DotMatrixFont.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
// A font bitmap as the read-out expects it: 8 rows of 32 glyph boxes of (w + 1) x (h + 1)
// pixels, grid lines right of and below each glyph, background 0. Glyph g has its dot (x, y)
// on when (g + x + y) % 3 == 0.
struct SFontBitmap {
  int width = 0;
  int height = 0;
  std::vector<int> pixels;

  SFontBitmap(int w, int h, int extraWidth = 0, int extraHeight = 0)
      : width((w + 1) * 32 + extraWidth), height((h + 1) * 8 + extraHeight), pixels(size_t(width * height), 0)
  {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (x % (w + 1) == w || y % (h + 1) == h)
          At(x, y) = 2;
    for (int g = 0; g < 256; ++g)
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
          if ((g + x + y) % 3 == 0 && g != 0)
            At((w + 1) * (g % 32) + x, (h + 1) * (g / 32) + y) = 1;
  }
  int& At(int x, int y) { return pixels[size_t(y * width + x)]; }
  bool Cut(SDotMatrixFont& font)
  {
    return CutDotMatrixFont(
        width, height, [this](int x, int y) { return At(x, y) != At(0, 0); }, font);
  }
};
} // namespace

TEST(DotMatrixFont, CutsTheGlyphSizeFromTheGridAndEveryGlyphsDots)
{
  SFontBitmap bitmap(5, 7);
  SDotMatrixFont font;
  ASSERT_TRUE(bitmap.Cut(font));
  EXPECT_EQ(font.width, 5);
  EXPECT_EQ(font.height, 7);
  ASSERT_EQ(font.glyphs.size(), 256u * 5 * 7);
  for (int g : {1, 31, 32, 65, 255})
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(font.Dot(g, x, y), (g + x + y) % 3 == 0) << "glyph " << g << " dot " << x << "," << y;
  EXPECT_FALSE(font.Dot(0, 0, 0));

  SFontBitmap wide(8, 12);
  ASSERT_TRUE(wide.Cut(font));
  EXPECT_EQ(font.width, 8);
  EXPECT_EQ(font.height, 12);
}

TEST(DotMatrixFont, RefusesBitmapsTooSmallForAllGlyphs)
{
  SFontBitmap narrow(5, 7, -1, 0);
  SDotMatrixFont font;
  EXPECT_FALSE(narrow.Cut(font));
  EXPECT_FALSE(font.IsLoaded());
  SFontBitmap low(5, 7, 0, -1);
  EXPECT_FALSE(low.Cut(font));
  EXPECT_FALSE(font.IsLoaded());
  EXPECT_FALSE(CutDotMatrixFont(
      0, 0, [](int, int) { return false; }, font));
  // A blank bitmap has no grid: the glyph is taken as 20 x 20, and the bitmap is too small.
  EXPECT_FALSE(CutDotMatrixFont(
      300, 100, [](int, int) { return false; }, font));
}

TEST(DotMatrixFont, RefusesGlyphsOneDotWideOrHigh)
{
  // The read-out spreads a glyph's dots over its cell in (size - 1) steps.
  SDotMatrixFont font;
  SFontBitmap thin(1, 7);
  EXPECT_FALSE(thin.Cut(font));
  EXPECT_FALSE(font.IsLoaded());
  EXPECT_TRUE(font.glyphs.empty());
  SFontBitmap flat(5, 1);
  EXPECT_FALSE(flat.Cut(font));
  EXPECT_FALSE(font.IsLoaded());
  SFontBitmap smallest(2, 2);
  EXPECT_TRUE(smallest.Cut(font));
}

TEST(DotMatrixFont, CharacterCodesPickTheirGlyph)
{
  EXPECT_EQ(DotMatrixGlyphIndex('A'), 65);
  EXPECT_EQ(DotMatrixGlyphIndex(0xB0), 0xB0);
  EXPECT_EQ(DotMatrixGlyphIndex(256), 224);
  EXPECT_EQ(DotMatrixGlyphIndex(287), 255);
  EXPECT_EQ(DotMatrixGlyphIndex(288), -1);
  EXPECT_EQ(DotMatrixGlyphIndex(0x263A), -1);
}
