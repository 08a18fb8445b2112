#include "CStringPrinting.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

// A plot too low for even the dots: shortening ends once nothing of the title is left.
TEST(CZSpectrumPlotTitle, YTitleShorteningEndsWhenNothingIsLeft)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeTrace(L"T", {0, 1}, {0, 1});
  data->SetYLabel(CString(std::wstring(8000, L'W')));
  plot.AddTrace(data.get(), false, false);
  ASSERT_TRUE(plot.PrepareFrame(measure, MakeRect(0, 0, 300, 36), nullptr));
  ASSERT_GT(RectHeight(plot.GetPlotRect()), 4);
  ASSERT_LT(RectHeight(plot.GetPlotRect()), 21 + 4);
  for (const SPlotText& t : plot.YAxisTexts(measure)) {
    if (t.vertical) {
      EXPECT_EQ(t.text, L"...");
    }
  }
}
