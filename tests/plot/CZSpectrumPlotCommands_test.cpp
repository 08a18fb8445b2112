#include "PlotTestSupport.h"

#include <gtest/gtest.h>

namespace {
class CursorPlot : public CZSpectrumPlot {
public:
  void SetCursor(int index) { m_cursorIndex = index; }
};

SNotification MenuCommand(UINT id)
{
  return {WM_SPECTRUM_MENU_COMMAND, 0, LPARAM(id), false};
}
} // namespace

TEST(CZSpectrumPlotCommands, HoldTwiceLeavesOneOwnedHoldCopyAndClearHoldRemovesIt)
{
  CZSpectrumPlot plot;
  RecordingSink sink;
  plot.SetNotificationSink(&sink);
  auto a = MakeTrace(L"A", {0, 1}, {5, 6});
  plot.AddTrace(a.get(), false, false);

  EXPECT_TRUE(plot.HoldActiveTrace());
  EXPECT_TRUE(plot.HoldActiveTrace());
  std::vector<CSpectrumData*> list = ListOf(plot);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1]->GetName(), L"Hold");
  EXPECT_EQ(list[1]->GetTraceColour(), 0xC86464u);
  EXPECT_EQ(list[1]->GetY(1), 6.0f);
  EXPECT_TRUE(plot.IsOwnedCopy(list[1]));
  EXPECT_EQ(a->GetName(), L"A");
  EXPECT_EQ(sink.Count(WM_SPECTRUM_MENU_COMMAND), 2);

  sink.seen.clear();
  EXPECT_TRUE(plot.ClearHold());
  EXPECT_EQ(ListOf(plot), std::vector<CSpectrumData*>{a.get()});
  EXPECT_FALSE(plot.IsHoldPresent());
  EXPECT_EQ(sink.seen.back(), MenuCommand(40003));
  EXPECT_FALSE(plot.ClearHold());
}

TEST(CZSpectrumPlotCommands, MaskEnablesMaskingAndNotifiesTwiceUnMaskClearsThePoint)
{
  CursorPlot plot;
  RecordingSink sink;
  plot.SetNotificationSink(&sink);
  auto a = MakeTrace(L"A", {0, 1, 2}, {0, 1, 2});
  plot.AddTrace(a.get(), false, false);
  sink.seen.clear();

  // Without a cursor point nothing happens and nothing is told.
  EXPECT_FALSE(plot.MaskCursorPoint());
  EXPECT_FALSE(plot.UnMaskCursorPoint());
  EXPECT_TRUE(sink.seen.empty());

  plot.SetCursor(1);
  EXPECT_TRUE(plot.MaskCursorPoint());
  EXPECT_TRUE(a->IsMasked(1));
  EXPECT_TRUE(a->MaskEnabled());
  EXPECT_EQ(sink.seen, (std::vector<SNotification>{MenuCommand(40013), MenuCommand(40014)}));

  EXPECT_TRUE(plot.UnMaskCursorPoint());
  EXPECT_FALSE(a->IsMasked(1));
  EXPECT_TRUE(plot.SwitchMasking());
  EXPECT_FALSE(a->MaskEnabled());
  EXPECT_EQ(sink.seen.back(), MenuCommand(40014));
}

TEST(CZSpectrumPlotCommands, MaskAndUnMaskRescanTheLimitsWhileMaskingIsOn)
{
  CursorPlot plot;
  auto a = MakeTrace(L"A", {0, 1, 2}, {1, 9, 3});
  a->EnableMask(true); // so that the switch itself does not tell the scan of the change
  plot.AddTrace(a.get(), false, false);
  float x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  plot.CalcLimits(x0, x1, y0, y1);
  ASSERT_EQ(y1, 9.0f);

  plot.SetCursor(1);
  plot.MaskCursorPoint();
  plot.CalcLimits(x0, x1, y0, y1);
  EXPECT_EQ(y1, 3.0f);
  plot.UnMaskCursorPoint();
  plot.CalcLimits(x0, x1, y0, y1);
  EXPECT_EQ(y1, 9.0f);
}

TEST(CZSpectrumPlotCommands, AxisPagesRoundTripAndAnAutomaticLimitKeepsItsValueUnfixed)
{
  CZSpectrumPlot plot;
  auto a = MakeTrace(L"A", {10, 20, 30}, {0, 1, 2});
  auto b = MakeTrace(L"B", {15, 25, 40}, {0, 1, 2});
  plot.AddTrace(a.get(), false, false);
  plot.AddTrace(b.get(), false, false);
  plot.SetXMin(12);

  SXAxisPageValues x;
  SYAxisPageValues y;
  plot.GetAxisPageValues(x, y);
  EXPECT_FALSE(x.m_autoMin);
  EXPECT_EQ(x.m_min, 12.0f);
  EXPECT_TRUE(y.m_autoMin);
  EXPECT_TRUE(y.m_showGrid);
  // Full range is on at construction: centre and range come from the traces' common X range.
  EXPECT_TRUE(y.m_fullRange);
  EXPECT_EQ(y.m_centreWavelength, 22.5f);
  EXPECT_EQ(y.m_wavelengthRange, 15.0f);

  x.m_autoMin = TRUE;
  x.m_autoMax = FALSE;
  x.m_max = 35;
  y.m_autoMax = FALSE;
  y.m_max = 7;
  y.m_logScale = TRUE;
  y.m_fullRange = FALSE;
  y.m_centreWavelength = 1;
  plot.ApplyAxisPageValues(x, y);
  EXPECT_FALSE(plot.IsXMinFixed());
  EXPECT_EQ(plot.GetXMin(), 12.0f);
  EXPECT_TRUE(plot.IsXMaxFixed());
  EXPECT_EQ(plot.GetXMax(), 35.0f);
  EXPECT_TRUE(plot.IsYMaxFixed());
  EXPECT_TRUE(plot.GetLogY());

  SYAxisPageValues again;
  plot.GetAxisPageValues(x, again);
  EXPECT_FALSE(again.m_fullRange);
  EXPECT_EQ(again.m_centreWavelength, 1.0f);
  EXPECT_EQ(again.m_max, 7.0f);
}

TEST(CZSpectrumPlotCommands, YPageEnablingRules)
{
  SYAxisPageValues v;
  v.m_scaleOverlapped = TRUE;
  EXPECT_EQ(YAxisPageEnables(v), (SYAxisPageEnables{false, true, true, true, true}));
  v.m_fullRange = TRUE;
  EXPECT_FALSE(YAxisPageEnables(v).centreAndRange);
  v.m_autoScaleAll = TRUE;
  EXPECT_EQ(YAxisPageEnables(v), (SYAxisPageEnables{true, true, false, false, false}));
  v.m_matchOrigin = TRUE;
  EXPECT_FALSE(YAxisPageEnables(v).logScale);
}
