// Long button captions keep their beginning and end in "…".
#include "ButtonCaptionFit.h"
#include "CStringPrinting.h"

#include <gtest/gtest.h>

#include <random>

namespace {
// A narrow "i", a wide "W", every other character 7 wide and the ellipsis 9.
int FakeWidth(const CString& text)
{
  int width = 0;
  for (int n = 0; n < text.GetLength(); ++n) {
    const wchar_t c = text[n];
    width += c == L'i' ? 3 : c == L'W' ? 12 : c == L'\u2026' ? 9 : 7;
  }
  return width;
}
} // namespace

TEST(ButtonCaptionFit, CutsAtTheEndWithAnEllipsis)
{
  EXPECT_EQ(CaptionThatFits(L"Position", 48, FakeWidth), L"Position") << "exactly as wide: whole";
  EXPECT_EQ(CaptionThatFits(L"Position", 47, FakeWidth), L"Positi\u2026");
  EXPECT_EQ(CaptionThatFits(L"Trace name that overflows", 50, FakeWidth), L"Trace\u2026")
      << "the blank before the cut is dropped";
  EXPECT_EQ(CaptionThatFits(L"Trace", 5, FakeWidth), L"\u2026") << "no room: the ellipsis alone";
  EXPECT_EQ(CaptionThatFits(L"", 0, FakeWidth), L"");
}

TEST(ButtonCaptionFit, RandomCaptionsKeepTheLongestStartThatFits)
{
  std::mt19937 random(38);
  const wchar_t letters[] = L"iWab \u00e9\u4e2d";
  for (int round = 0; round < 2000; ++round) {
    CString caption;
    const int length = int(random() % 40);
    for (int n = 0; n < length; ++n)
      caption += letters[random() % (std::size(letters) - 1)];
    const int width = int(random() % 200);
    const CString fitted = CaptionThatFits(caption, width, FakeWidth);
    SCOPED_TRACE(testing::Message() << "round " << round << ", width " << width);
    if (FakeWidth(caption) <= width) {
      EXPECT_EQ(fitted, caption);
      continue;
    }
    ASSERT_TRUE(fitted.Right(1) == L"\u2026");
    const CString start = fitted.Left(fitted.GetLength() - 1);
    EXPECT_EQ(caption.Left(start.GetLength()), start) << "a start of the caption";
    EXPECT_TRUE(start.IsEmpty() || start.Right(1) != L" ");
    if (start.IsEmpty() && FakeWidth(L"\u2026") > width)
      continue;
    EXPECT_LE(FakeWidth(fitted), width);
    // One more character (its blanks too) would not fit.
    int next = start.GetLength();
    while (next < caption.GetLength() && caption[next] == L' ')
      ++next;
    if (next < caption.GetLength()) {
      CString longer = caption.Left(next + 1);
      longer.TrimRight();
      EXPECT_GT(FakeWidth(longer + L"\u2026"), width);
    }
  }
}
