#include "CStringPrinting.h"
#include "PlotClipboardText.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
std::unique_ptr<CSpectrumData> Scan()
{
  auto scan = MakeTrace(L"Scan", {1, 3}, {2, 4});
  scan->SetXLabel(L"Time");
  scan->SetXUnits(L"s");
  scan->SetYLabel(L"Position");
  scan->SetYUnits(L"deg");
  return scan;
}
} // namespace

TEST(PlotClipboardText, CopyWritesTheTraceAndFillsEmptyLabelsFromTheWindow)
{
  CZSpectrumPlot plot;
  EXPECT_EQ(PlotCopyText(plot), L"");
  auto scan = Scan();
  plot.AddTrace(scan.get(), false, false);
  EXPECT_EQ(PlotCopyText(plot), L"Scan\nTime (s)\tPosition (deg)\n1\t2\n3\t4\n");

  auto bare = MakeTrace(L"", {0.5f, 1e6f}, {-2, 3});
  CZSpectrumPlot window;
  window.SetXLabel(L"Seconds");
  window.SetYLabel(L"Volts");
  window.AddTrace(bare.get(), false, false);
  EXPECT_EQ(PlotCopyText(window), L"no name\nSeconds\tVolts\n0.5\t-2\n1e+06\t3\n");
}

TEST(PlotClipboardText, CopyAllNamesEveryTraceAndReadsTheOthersAtTheActiveX)
{
  CZSpectrumPlot plot;
  auto a = MakeTrace(L"A", {0, 1, 2}, {1, 2, 3});
  a->SetXLabel(L"t");
  a->SetXUnits(L"s");
  a->SetYLabel(L"p");
  auto ref = MakeTrace(L"Paste: Ref", {0, 2}, {10, 30});
  ref->SetYLabel(L"q");
  ref->SetYUnits(L"V");
  plot.AddTrace(a.get(), false, false);
  EXPECT_EQ(PlotCopyAllText(plot), PlotCopyText(plot));
  plot.AddTrace(ref.get(), false, false);
  EXPECT_EQ(PlotCopyAllText(plot), L"\tA\tRef\nt(s)\tp\tq(V)\n0\t1\t10\n1\t2\t20\n2\t3\t30\n");
}

TEST(PlotClipboardText, LineTestTakesExponentSignsButNoOtherPlus)
{
  EXPECT_TRUE(IsNumericLine(L"1.5\t-2e-3"));
  EXPECT_TRUE(IsNumericLine(L"1e+06\t2E+07\r"));
  EXPECT_TRUE(IsNumericLine(L"1\t\t2")); // the second column is the next token
  EXPECT_FALSE(IsNumericLine(L"+1\t2"));
  EXPECT_FALSE(IsNumericLine(L"1\t2+3"));
  EXPECT_FALSE(IsNumericLine(L"1 \t2"));
  EXPECT_FALSE(IsNumericLine(L"\t1\t2"));
  EXPECT_FALSE(IsNumericLine(L"12"));
  EXPECT_FALSE(IsNumericLine(L"1\t"));
  EXPECT_FALSE(IsNumericLine(L""));
  EXPECT_TRUE(IsNumericLine(L"nan\t-inf"));
  EXPECT_TRUE(IsNumericLine(L"-NaN\tInfinity"));
  EXPECT_FALSE(IsNumericLine(L"1\tnana"));
}

TEST(PlotClipboardText, PasteIsOfferedForTwoHeaderLinesAndRisingRows)
{
  EXPECT_TRUE(CanPasteText(L"Scan\nTime (s)\tPosition (deg)\n1\t2\n3\t4\n"));
  EXPECT_TRUE(CanPasteText(L"n\nh\n\n1e+06\t2\n2e+06\t3\n")); // empty lines are skipped
  EXPECT_FALSE(CanPasteText(L"1\t2\n3\t4\n5\t6\n"));          // the first two lines count as headers
  EXPECT_FALSE(CanPasteText(L"n\nh\n-1\t2\n3\t4\n"));
  EXPECT_FALSE(CanPasteText(L"n\nh\n3\t2\n3\t4\n"));
  EXPECT_FALSE(CanPasteText(L"n\nh\n1\tx\n3\t4\n"));
  EXPECT_TRUE(CanPasteText(L"n\nh\n1\t-2\n3\t4\n"));
  EXPECT_FALSE(CanPasteText(L"n\nh\n1\t2\n"));
}

TEST(PlotClipboardText, PasteIsOfferedForWhatPasteReads)
{
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  CZSpectrumPlot source;
  auto failed = MakeTrace(L"F", {1, inf, 3}, {nan, 2, -nan});
  source.AddTrace(failed.get(), false, false);
  const CString ownCopy = PlotCopyText(source);

  // A spreadsheet's copy with "\r\n" and blank lines, failed readings as copy writes them.
  for (const CString& text : {CString(L"Run\r\nt\tv\r\n\r\n1.5\t-3\r\n\r\n2\t4\r\n"), ownCopy,
                              CString(L"n\nh\nnan\t1\n2\t3\n"), CString(L"n\nh\n1\tInf\n2\t3\n")}) {
    EXPECT_TRUE(CanPasteText(text.Str())) << text.GetString();
    CZSpectrumPlot plot;
    ASSERT_TRUE(PasteTextAsTrace(plot, text)) << text.GetString();
    EXPECT_GE(plot.GetActiveTrace()->GetIndexRange(), 2);
  }
  EXPECT_FALSE(CanPasteText(L"n\nh\n-inf\t1\n2\t3\n")); // a negative first X, as for numbers
  EXPECT_FALSE(CanPasteText(L"n\nh\n1\tnan\n0\t3\n"));  // falling X

  // Rows of failed readings are rows, not a header: both come back.
  CZSpectrumPlot plot;
  ASSERT_TRUE(PasteTextAsTrace(plot, L"1\tnan\n2\t5\n"));
  EXPECT_EQ(plot.GetActiveTrace()->GetIndexRange(), 2);
  EXPECT_TRUE(std::isnan(plot.GetActiveTrace()->GetY(0)));
}

TEST(PlotClipboardText, PastedCopyComesBackWithLabelsAndUniqueNamesAndColours)
{
  CZSpectrumPlot source;
  auto scan = Scan();
  source.AddTrace(scan.get(), false, false);
  const CString text = PlotCopyText(source);

  CZSpectrumPlot plot;
  ASSERT_TRUE(PasteTextAsTrace(plot, text));
  ASSERT_TRUE(PasteTextAsTrace(plot, text));
  ASSERT_TRUE(PasteTextAsTrace(plot, text));
  std::vector<CSpectrumData*> list = ListOf(plot);
  ASSERT_EQ(list.size(), 3u);
  const CSpectrumData& first = *list[0];
  EXPECT_EQ(first.GetName(), L"Paste: Scan");
  EXPECT_EQ(first.GetXLabel(), L"Time ");
  EXPECT_EQ(first.GetXUnits(), L"s");
  EXPECT_EQ(first.GetYLabel(), L"Position ");
  EXPECT_EQ(first.GetYUnits(), L"deg");
  EXPECT_EQ(first.GetTraceColour(), 0x6432C8u);
  EXPECT_EQ(first.GetX(1), 3.0f);
  EXPECT_EQ(first.GetY(1), 4.0f);
  EXPECT_TRUE(plot.IsOwnedCopy(list[0]));
  EXPECT_EQ(list[1]->GetName(), L"Paste: Scan 2");
  EXPECT_EQ(list[1]->GetTraceColour(), RGB(200, 150, 100));
  EXPECT_EQ(list[2]->GetName(), L"Paste: Scan 3");
  EXPECT_EQ(list[2]->GetTraceColour(), RGB(200, 200, 100));

  // Copy of a copy: the "Paste: " prefix is not carried into the name line.
  CZSpectrumPlot again;
  ASSERT_TRUE(PasteTextAsTrace(again, PlotCopyText(plot)));
  EXPECT_EQ(again.GetActiveTrace()->GetName(), L"Paste: Scan");
}

TEST(PlotClipboardText, BareRowsPasteWithoutLabelsAndOnePointAddsNothing)
{
  CZSpectrumPlot plot;
  ASSERT_TRUE(PasteTextAsTrace(plot, L"1\t2\n2\t5\n4\t1e+06\n"));
  const CSpectrumData& pasted = *plot.GetActiveTrace();
  EXPECT_EQ(pasted.GetName(), L"Paste: 1");
  EXPECT_EQ(pasted.GetXLabel(), L"");
  EXPECT_EQ(pasted.GetY(2), 1e6f);
  EXPECT_TRUE(PasteTextAsTrace(plot, L"1\t2\n2\t5\n"));
  EXPECT_EQ(ListOf(plot)[1]->GetName(), L"Paste: 2");

  EXPECT_FALSE(PasteTextAsTrace(plot, L"Name\nx\ty\n1\t2\n"));
  EXPECT_EQ(plot.GetTraceCount(), 2);
}

TEST(PlotClipboardText, CutKeepsTheTraceWhenTheCopyFailed)
{
  CZSpectrumPlot plot;
  auto a = MakeTrace(L"A", {0, 1}, {0, 1});
  plot.AddTrace(a.get(), false, true);
  plot.HoldActiveTrace();

  EXPECT_FALSE(CutActiveTrace(plot, [](const CString&) { return false; }));
  EXPECT_EQ(plot.GetTraceCount(), 2);

  CString copied;
  EXPECT_TRUE(CutActiveTrace(plot, [&](const CString& text) {
    copied = text;
    return true;
  }));
  EXPECT_EQ(copied.Left(2), L"A\n");
  EXPECT_EQ(copied.Right(8), L"0\t0\n1\t1\n");
  ASSERT_EQ(plot.GetTraceCount(), 1);
  EXPECT_EQ(plot.GetActiveTrace()->GetName(), L"Hold");
}
