// AddPoint grows its arrays ahead of the vector size; nothing a caller or a stored file sees may
// show it.
#include "SpectrumTestData.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <CArchive.h>
#include <CFile.h>
#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {
std::vector<BYTE> Stored(CSpectrumData& data)
{
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  data.Serialize(ar);
  ar.Flush();
  return file.Data();
}

void Reload(CSpectrumData& data)
{
  const std::vector<BYTE> bytes = Stored(data);
  CMemFile file(bytes.data(), bytes.size());
  CArchive ar(&file, CArchive::load);
  data.Serialize(ar);
}
} // namespace

// The model adds every point to a fresh copy, whose arrays hold exactly the vector size: each
// growth there is the plain 128-point one. Both go through the same mix of operations and must
// store the same bytes after every step.
TEST(CSpectrumDataGrowth, AddPointStoresWhatTheBlockRuleStoresUnderAnyMixOfOperations)
{
  std::mt19937 random(37);
  auto below = [&](int n) { return int(random() % unsigned(n)); };
  CSpectrumData data, model;
  for (int step = 0; step < 1500; ++step) {
    const int op = below(100);
    const float x = float(below(1000)), y = float(below(1000)) - 500;
    if (op < 80) {
      // Runs of points, so that growth ahead is used up now and then before anything else.
      for (int run = below(2000); run >= 0; --run) {
        EXPECT_EQ(data.AddPoint(x + float(run), y), 1);
        // Only a point that grows the arrays needs the copy; the others would change nothing.
        if (model.GetIndexRange() == 0 || model.GetLastIndex() + 1 >= model.GetVectorSize()) {
          CSpectrumData fresh(model);
          fresh.AddPoint(x + float(run), y);
          model = fresh;
        } else {
          model.AddPoint(x + float(run), y);
        }
      }
    } else if (op < 84) {
      const int last = below(data.GetVectorSize() + 1) - 1;
      data.SetLastIndex(last);
      model.SetLastIndex(last);
    } else if (op < 86) {
      const int first = below(data.GetVectorSize() + 1);
      data.SetFirstIndex(first);
      model.SetFirstIndex(first);
    } else if (op < 89) {
      const int i = below(data.GetVectorSize() + 1);
      data.Mask(i, true);
      model.Mask(i, true);
    } else if (op < 91) {
      const int start = below(50), end = below(data.GetVectorSize() + 10);
      data.CropTo(start, end);
      model.CropTo(start, end);
    } else if (op < 93) {
      const int n = below(400), t = below(3);
      data.Resize(n, t);
      model.Resize(n, t);
    } else if (op < 94) {
      data.RemoveAllData();
      model.RemoveAllData();
    } else if (op < 96) {
      CSpectrumData other(L"other", below(300), 1 + below(2));
      FillGrid(other);
      data.CopyArray(other);
      model.CopyArray(other);
    } else if (op < 97) {
      const int pad = below(20);
      data.Pad(pad, pad);
      model.Pad(pad, pad);
    } else if (op < 98) {
      data.RemoveArrayTrace(0);
      model.RemoveArrayTrace(0);
    } else if (op < 99) {
      Reload(data);
      Reload(model);
    } else {
      CSpectrumData copy(data);
      data = copy;
    }
    ASSERT_EQ(data.GetVectorSize(), model.GetVectorSize()) << step;
    ASSERT_EQ(data.GetIndexRange(), model.GetIndexRange()) << step;
    ASSERT_EQ(Stored(data), Stored(model)) << step;
  }
}

TEST(CSpectrumDataGrowth, AVectorSizeFromAddPointIsWhatItWasWhateverTheCount)
{
  CSpectrumData data;
  for (int i = 0; i < 100000; ++i)
    data.AddPoint(float(i), float(i) * 0.5f);
  EXPECT_EQ(data.GetVectorSize(), 782 * 128);
  EXPECT_EQ(data.GetIndexRange(), 100000);
  EXPECT_EQ(data.GetY(99999), 49999.5f);
  // The rest of the last block reads as zeros once the window opens onto it.
  data.SetLastIndex(data.GetVectorSize() - 1);
  EXPECT_EQ(data.GetX(100000), 0.0f);
  EXPECT_EQ(data.GetY(data.GetVectorSize() - 1), 0.0f);
}
