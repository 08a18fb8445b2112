#include "LineRaster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {
constexpr uint32_t kGuard = 0x12345678, kBlank = 0xFF000000, kRed = 0xFFFF0000;
constexpr COLORREF kRedColour = 0x0000FF;

// An image with a border of guard pixels around it: whatever the raster writes outside the image
// lands there, and the memory beyond stays untouched.
class GuardedImage {
public:
  static constexpr int kBorder = 8;
  GuardedImage(int width, int height)
      : m_width(width), m_height(height), m_rowPixels(width + 2 * kBorder),
        m_memory(size_t(m_rowPixels * (height + 2 * kBorder)), kGuard)
  {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        At(x, y) = kBlank;
  }
  uint32_t& At(int x, int y) { return m_memory[size_t((y + kBorder) * m_rowPixels + x + kBorder)]; }
  CLineRaster Raster()
  {
    return CLineRaster(reinterpret_cast<unsigned char*>(&At(0, 0)), m_rowPixels * 4, m_width, m_height);
  }
  bool GuardsIntact()
  {
    for (int y = -kBorder; y < m_height + kBorder; ++y)
      for (int x = -kBorder; x < m_width + kBorder; ++x)
        if ((x < 0 || y < 0 || x >= m_width || y >= m_height) && At(x, y) != kGuard)
          return false;
    return true;
  }
  // The written pixels of a row, as columns.
  std::vector<int> RowWritten(int y)
  {
    std::vector<int> columns;
    for (int x = 0; x < m_width; ++x)
      if (At(x, y) == kRed)
        columns.push_back(x);
    return columns;
  }
  int Written()
  {
    int n = 0;
    for (int y = 0; y < m_height; ++y)
      n += int(RowWritten(y).size());
    return n;
  }

private:
  int m_width, m_height, m_rowPixels;
  std::vector<uint32_t> m_memory;
};

std::vector<int> Columns(int from, int to)
{
  std::vector<int> columns;
  for (int x = from; x <= to; ++x)
    columns.push_back(x);
  return columns;
}
} // namespace

TEST(LineRaster, WritesOnePixelPerColumnOrRowInsideTheClipOnly)
{
  GuardedImage image(40, 30);
  const RECT clip = MakeRect(10, 5, 30, 25);
  // A flat stroke across the whole image, and a steep one from the top to the bottom.
  image.Raster().DrawRuns({POINT{0, 15}, POINT{39, 15}}, {0}, kRedColour, clip);
  EXPECT_EQ(image.RowWritten(15), Columns(10, 29));
  image.Raster().DrawRuns({POINT{20, 0}, POINT{20, 29}}, {0}, kRedColour, clip);
  for (int y = 0; y < 30; ++y)
    EXPECT_EQ(image.At(20, y) == kRed, y >= 5 && y < 25) << y;
  EXPECT_EQ(image.Written(), 20 + 20 - 1);
}

TEST(LineRaster, AStrokeEndingOutsideTheImageStaysInIt)
{
  // The clip of the image itself, and one reaching past it (a plot larger than its bitmap).
  for (const RECT& clip : {MakeRect(0, 0, 40, 30), MakeRect(-100, -100, 200, 200)}) {
    GuardedImage image(40, 30);
    image.Raster().DrawRuns({POINT{5, 5}, POINT{44, 5}, POINT{44, 33}, POINT{-4, -2}}, {0}, kRedColour, clip);
    EXPECT_TRUE(image.GuardsIntact()) << clip.left;
    EXPECT_EQ(image.RowWritten(5), Columns(5, 39)) << clip.left;
  }
}

TEST(LineRaster, RunsAreNotJoinedAndALonePointIsADot)
{
  GuardedImage image(40, 30);
  const std::vector<POINT> points = {POINT{2, 2}, POINT{10, 2}, POINT{10, 10}, POINT{20, 10}, POINT{30, 20}};
  image.Raster().DrawRuns(points, {0, 2, 4}, kRedColour, MakeRect(0, 0, 40, 30));
  EXPECT_EQ(image.RowWritten(2), Columns(2, 10));
  EXPECT_EQ(image.RowWritten(10), Columns(10, 20));
  EXPECT_EQ(image.At(30, 20), kRed);
  EXPECT_EQ(image.Written(), 9 + 11 + 1);
  // Outside the clip the dot is left out like any stroke.
  GuardedImage clipped(40, 30);
  clipped.Raster().DrawRuns({POINT{30, 20}}, {0}, kRedColour, MakeRect(0, 0, 30, 30));
  EXPECT_EQ(clipped.Written(), 0);
}
