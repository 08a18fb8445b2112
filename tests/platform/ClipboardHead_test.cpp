#include "ClipboardHead.h"

#include <gtest/gtest.h>

#include <string>

TEST(ClipboardHead, KeepsTheFirstLinesAndNoMoreThanTheByteBound)
{
  const std::string copy = "Scan\r\n\r\nTime\tHeight\r\n0\t1\r\n1\t2\r\n2\t3\r\n";
  EXPECT_EQ(ClipboardHeadBytes(copy, 4, 1000), "Scan\r\n\r\nTime\tHeight\r\n0\t1\r\n1\t2");
  EXPECT_EQ(ClipboardHeadBytes("a\nb", 4, 1000), "a\nb");
  // A line the byte bound cuts is left out whole, so that what is kept reads as the text reads.
  EXPECT_EQ(ClipboardHeadBytes(copy, 4, 29), "Scan\r\n\r\nTime\tHeight\r\n0\t1\r\n1\t2");
  EXPECT_EQ(ClipboardHeadBytes(copy, 4, 28), "Scan\r\n\r\nTime\tHeight\r\n0\t1");
  EXPECT_EQ(ClipboardHeadBytes(copy, 4, 23), "Scan\r\n\r\nTime\tHeight");

  // One huge line (no line end at all) is not kept, however long.
  const std::string line(3 * kClipboardHeadBytes, '7');
  EXPECT_EQ(ClipboardHeadBytes(line, 4, kClipboardHeadBytes), "");
  EXPECT_EQ(ClipboardHeadBytes("Scan\n" + line, 4, kClipboardHeadBytes), "Scan");
}

TEST(ClipboardHead, TheHeadReadsAsTheSameLinesOfTheWholeText)
{
  // Latin-1 from an older program: the offer and Paste both read it, as Windows-1252.
  const std::string copy = "Scan \xB5m\n\xCE\xBC\xE2\n0\t1\n1\t2\n";
  const CString whole = DecodeClipboardText(copy);
  EXPECT_EQ(whole, L"Scan \u00B5m\n\u03BC\u00E2\n0\t1\n1\t2\n");
  const CString head = DecodeClipboardText(ClipboardHeadBytes(copy, 2, 1000));
  EXPECT_EQ(head, L"Scan \u00B5m\n\u03BC\u00E2");
}

TEST(ClipboardHead, NothingIsKnownUntilTheFetchOfTheCopyNowThereAnswers)
{
  CClipboardHeadKeeper kept(2, 16);
  EXPECT_EQ(kept.State(), EClipboardHead::NotYet);

  const unsigned first = kept.Begin();
  const unsigned second = kept.Begin();
  // The first copy's answer comes late: the clipboard holds the second by then.
  kept.Answer(first, std::string_view("old\nold\n"));
  EXPECT_EQ(kept.State(), EClipboardHead::NotYet);
  EXPECT_EQ(kept.Head(), L"");

  kept.Answer(second, std::string_view("a\nb\nc\n"));
  EXPECT_EQ(kept.State(), EClipboardHead::Text);
  EXPECT_EQ(kept.Head(), L"a\nb");
  kept.Answer(second, std::nullopt);
  EXPECT_EQ(kept.State(), EClipboardHead::Text);

  kept.Answer(kept.Begin(), std::string(40, 'x'));
  EXPECT_EQ(kept.State(), EClipboardHead::Text);
  EXPECT_EQ(kept.Head(), L"");
  kept.Answer(kept.Begin(), std::nullopt);
  EXPECT_EQ(kept.State(), EClipboardHead::NoText);
}
