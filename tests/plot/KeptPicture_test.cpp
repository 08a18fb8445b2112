#include "KeptPicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {
constexpr uint32_t kInner = 0xFF141450, kOuter = 0xFF393939;
constexpr int kWidth = 60, kHeight = 40, kStride = (kWidth + 3) * 4; // rows padded, as images have them

std::vector<uint32_t> FlatImage()
{
  std::vector<uint32_t> image(size_t(kStride / 4 * kHeight), 0xDEADBEEF); // the padding never counts
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      image[size_t(y * kStride / 4 + x)] = x >= 5 && x < 50 && y >= 3 && y < 30 ? kInner : kOuter;
  return image;
}

unsigned char* Bytes(std::vector<uint32_t>& image)
{
  return reinterpret_cast<unsigned char*>(image.data());
}

bool SamePixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
{
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      if (a[size_t(y * kStride / 4 + x)] != b[size_t(y * kStride / 4 + x)])
        return false;
  return true;
}
} // namespace

TEST(KeptPicture, WritesBackExactlyWhatItKept)
{
  std::mt19937 random(3);
  // Two flat areas with a frame, a grid and text of other colours, some of it in the other area's
  // colour; then an image with no flat area at all, kept whole.
  std::vector<uint32_t> flat = FlatImage();
  for (int k = 0; k < 150; ++k) {
    const int x = int(random() % kWidth), y = int(random() % kHeight);
    flat[size_t(y * kStride / 4 + x)] = k % 3 == 0 ? kInner : k % 3 == 1 ? kOuter : 0xFF000000 | random();
  }
  for (int x = 4; x <= 50; ++x)
    flat[size_t(2 * kStride / 4 + x)] = 0xFF000000;
  std::vector<uint32_t> noisy = FlatImage();
  for (uint32_t& p : noisy)
    p = 0xFF000000 | random();
  for (std::vector<uint32_t>* kept : {&flat, &noisy}) {
    CKeptPicture picture;
    picture.Keep(Bytes(*kept), kStride, kWidth, kHeight, MakeRect(5, 3, 50, 30), kInner, kOuter);
    ASSERT_TRUE(picture.IsKept());
    std::vector<uint32_t> painted = FlatImage();
    for (uint32_t& p : painted)
      p ^= random(); // the last paint's traces all over it
    ASSERT_TRUE(picture.Restore(Bytes(painted), kStride, kWidth, kHeight));
    EXPECT_TRUE(SamePixels(painted, *kept));
  }
}

TEST(KeptPicture, AnImageOfAnotherShapeIsLeftAlone)
{
  std::vector<uint32_t> image = FlatImage();
  CKeptPicture picture;
  EXPECT_FALSE(picture.Restore(Bytes(image), kStride, kWidth, kHeight)); // nothing kept yet
  // An inner area reaching past the image is held inside it.
  picture.Keep(Bytes(image), kStride, kWidth, kHeight, MakeRect(-20, 3, 500, 30), kInner, kOuter);
  ASSERT_TRUE(picture.IsKept());
  std::vector<uint32_t> other(image.size() * 2, 7);
  const std::vector<uint32_t> before = other;
  EXPECT_FALSE(picture.Restore(Bytes(other), kStride, kWidth, kHeight + 1));
  EXPECT_FALSE(picture.Restore(Bytes(other), kStride + 4, kWidth, kHeight));
  EXPECT_FALSE(picture.Restore(Bytes(other), kStride, kWidth - 1, kHeight));
  EXPECT_EQ(other, before);
  picture.Clear();
  EXPECT_FALSE(picture.Restore(Bytes(image), kStride, kWidth, kHeight));
}
