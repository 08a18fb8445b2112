#include "AxisSteps.h"
#include "CStringPrinting.h"
#include "PlotTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {
const RECT kArea = MakeRect(0, 0, 400, 300);

std::vector<float> Values(const CList<float, float>& list)
{
  std::vector<float> v;
  for (POSITION pos = list.GetHeadPosition(); pos;)
    v.push_back(list.GetNext(pos));
  return v;
}

class CountingMeasure : public FixedMeasure {
public:
  SIZE MeasureText(const CString& text) override
  {
    ++count;
    return FixedMeasure::MeasureText(text);
  }
  int count = 0;
};

const SPlotText* FindText(const std::vector<SPlotText>& texts, const wchar_t* text)
{
  for (const SPlotText& t : texts)
    if (t.text == text)
      return &t;
  return nullptr;
}
} // namespace

TEST(CZSpectrumPlotFrame, LayoutCutsTheBandsAndScalesTheInnerArea)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  EXPECT_FALSE(plot.PrepareFrame(measure, kArea, nullptr));

  auto data = MakeTrace(L"T", {0, 50, 100}, {-10, 40, 10});
  data->SetXLabel(L"Time");
  data->SetXUnits(L"s");
  data->SetYLabel(L"Speed");
  plot.AddTrace(data.get(), false, false);
  plot.SetShowXTickLabels(true);
  plot.SetShowYTickLabels(true);
  plot.SetXTitleInline(false);
  plot.SetShowXTicks(true);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));

  const RECT plotRect = plot.GetPlotRect();
  const RECT xBand = plot.GetXLabelRect();
  const RECT yBand = plot.GetYLabelRect();
  const LONG h = 13 + 2;
  // Two lines of X band (labels, then the title), the Y band left of the plot: labels and title.
  EXPECT_EQ(RectHeight(xBand), 2 * h);
  EXPECT_EQ(xBand.bottom, kArea.bottom - h / 2);
  EXPECT_EQ(plotRect.bottom, xBand.top - 3);
  EXPECT_EQ(yBand.left, kArea.left + 5);
  EXPECT_GT(RectWidth(yBand), h);
  EXPECT_EQ(plotRect.left, yBand.right + 1);
  EXPECT_EQ(plotRect.right, kArea.right - 5);
  EXPECT_EQ(plotRect.top, kArea.top + h / 2);

  // The data range fills the inner plot area, 3 pixels in from the frame.
  EXPECT_EQ(plot.XToPixel(0), plotRect.left + 3);
  EXPECT_NEAR(plot.XToPixel(100), plotRect.right - 3, 1);
  EXPECT_EQ(plot.YToPixel(-10), plotRect.bottom - 3);
  EXPECT_NEAR(plot.YToPixel(40), plotRect.top + 3, 1);
  EXPECT_TRUE(plot.ShouldDrawTraces());
  EXPECT_NEAR(plot.PixelToX(plot.XToPixel(50), 0), 50.0f, 1.0f / plot.GetXPixelsPerUnit());

  std::vector<SPlotText> xTexts = plot.XAxisTexts(measure);
  ASSERT_NE(FindText(xTexts, L"Time (s)"), nullptr);
  EXPECT_GE(FindText(xTexts, L"Time (s)")->box.top, xBand.top + h);
}

TEST(CZSpectrumPlotFrame, GridValuesLieInsideTheLimitsAndHitZeroExactly)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeTrace(L"T", {-0.7f, 0.9f}, {-1.3f, 1.1f});
  plot.AddTrace(data.get(), false, false);
  plot.SetShowXGrid(true);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));

  const float yStep = plot.GetYGridStep();
  ASSERT_TRUE(IsUsableStep(yStep));
  EXPECT_EQ(yStep, NiceStep(yStep));
  std::vector<float> ys = Values(plot.GetYTickValues());
  ASSERT_GE(ys.size(), 2u);
  bool zero = false;
  for (size_t i = 0; i < ys.size(); ++i) {
    EXPECT_GT(ys[i], -1.3f);
    EXPECT_LT(ys[i], 1.1f);
    if (i > 0) {
      EXPECT_NEAR(ys[i] - ys[i - 1], yStep, yStep * 1e-4);
    }
    zero = zero || ys[i] == 0.0f;
  }
  EXPECT_TRUE(zero);
  std::vector<float> xs = Values(plot.GetXTickValues());
  ASSERT_FALSE(xs.empty());
  EXPECT_GT(xs.front(), -0.7f);
  EXPECT_LT(xs.back(), 0.9f);
  EXPECT_EQ(plot.XGridLines().size(), xs.size());
  EXPECT_EQ(plot.YGridLines().size(), ys.size());
}

TEST(CZSpectrumPlotFrame, UnusableStepsEndTheGridComputation)
{
  FixedMeasure measure;
  {
    // A flat trace: the automatic Y range is widened around its value, and everything is drawn.
    CZSpectrumPlot plot;
    auto flat = MakeTrace(L"F", {0, 1, 2}, {5, 5, 5});
    plot.AddTrace(flat.get(), false, false);
    ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
    EXPECT_TRUE(plot.ShouldDrawTraces());
    EXPECT_FLOAT_EQ(plot.GetDrawnYMin(), 4.5f);
    EXPECT_FLOAT_EQ(plot.GetDrawnYMax(), 5.5f);
    EXPECT_FALSE(plot.GetYTickValues().IsEmpty());
    EXPECT_FALSE(plot.GetXTickValues().IsEmpty());
    EXPECT_EQ(plot.FrameOutline().size(), 5u);
  }
  {
    // Failed readings (NaN, inf) are left out of the limits and of the line; every finite point is
    // drawn, also when the first sample failed.
    CZSpectrumPlot plot;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    auto bad = MakeTrace(L"N", {0, 1, 2, 3, 4}, {nan, 1, inf, 3, -inf});
    plot.AddTrace(bad.get(), false, false);
    plot.SetShowXGrid(true);
    ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
    EXPECT_TRUE(plot.ShouldDrawTraces());
    EXPECT_EQ(plot.GetDrawnYMin(), 1.0f);
    EXPECT_EQ(plot.GetDrawnYMax(), 3.0f);
    EXPECT_FALSE(plot.GetYTickValues().IsEmpty());
    STraceGeometry geometry;
    plot.BuildTraceGeometry(*bad, geometry);
    ASSERT_EQ(geometry.points.size(), 2u);
    EXPECT_EQ(geometry.points[0].x, plot.XToPixel(1));
    EXPECT_EQ(geometry.points[1].x, plot.XToPixel(3));
    EXPECT_EQ(geometry.points[1].y, plot.YToPixel(3));

    // A limit fixed at no number still leaves nothing that could be placed.
    plot.SetYMax(nan);
    EXPECT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
    EXPECT_FALSE(plot.ShouldDrawTraces());
    plot.YAxisTexts(measure);
    plot.XAxisTexts(measure);
  }
  {
    // A window too small for anything and a range far below float precision.
    CZSpectrumPlot plot;
    auto tiny = MakeTrace(L"T", {1.0e6f, 1.0e6f + 0.125f}, {1.0e7f, 1.0e7f + 1.0f});
    plot.AddTrace(tiny.get(), false, false);
    EXPECT_TRUE(plot.PrepareFrame(measure, MakeRect(0, 0, 3, 2), nullptr));
    EXPECT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
    EXPECT_LE(plot.GetYTickValues().GetCount(), 4096);
  }
}

namespace {
// Grid steps kept from a loaded settings record instead of recomputed from the spacings.
class KeptStepPlot : public CZSpectrumPlot {
public:
  void KeepSteps(float xStep, float yStep)
  {
    m_keepXTickStep = m_keepYTickStep = true;
    m_xGridStep = xStep;
    m_yGridStep = yStep;
  }
};
} // namespace

TEST(CZSpectrumPlotFrame, GridWalkEndsWhateverTheStep)
{
  FixedMeasure measure;
  KeptStepPlot plot;
  auto data = MakeTrace(L"T", {-1.2f, 1.2f}, {-1.2f, 1.2f});
  plot.AddTrace(data.get(), false, false);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));

  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (float step : {0.0f, -0.5f, -inf, inf, nan}) {
    plot.KeepSteps(step, step);
    plot.CalcGridValues();
    EXPECT_TRUE(plot.GetXTickValues().IsEmpty()) << step;
    EXPECT_TRUE(plot.GetYTickValues().IsEmpty()) << step;
  }
  // A step far too fine for the range would walk for ever; the grid stops at a screenful.
  plot.KeepSteps(1.0e-9f, 1.0e-9f);
  plot.CalcGridValues();
  EXPECT_GT(plot.GetYTickValues().GetCount(), 100);
  EXPECT_LE(plot.GetYTickValues().GetCount(), 4096);
  EXPECT_LE(plot.GetXTickValues().GetCount(), 4096);
  plot.KeepSteps(0.5f, 0.5f);
  plot.CalcGridValues();
  EXPECT_EQ(Values(plot.GetYTickValues()), (std::vector<float>{-1.0f, -0.5f, 0.0f, 0.5f, 1.0f}));
}

TEST(CZSpectrumPlotFrame, AxisDrawersHaveNothingToDrawWithoutATrace)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  EXPECT_TRUE(plot.HasData()); // the Y title switch alone says so
  EXPECT_TRUE(plot.XAxisTexts(measure).empty());
  EXPECT_TRUE(plot.YAxisTexts(measure).empty());
  EXPECT_TRUE(plot.PlotAreaTexts(measure).empty());
  plot.CalcLayout();
  plot.CalcYLabelWidth(measure);
  EXPECT_EQ(plot.GetYLabelRect().right, 0);
}

TEST(CZSpectrumPlotFrame, LongYTitleEndsInDotsAndFitsTheHeight)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeTrace(L"T", {0, 1}, {0, 1});
  data->SetYLabel(L"A very long label for the vertical axis of this plot");
  data->SetYUnits(L"mm/s");
  plot.AddTrace(data.get(), false, false);
  ASSERT_TRUE(plot.PrepareFrame(measure, MakeRect(0, 0, 300, 150), nullptr));
  const LONG plotHeight = RectHeight(plot.GetPlotRect());
  const std::vector<SPlotText> texts = plot.YAxisTexts(measure);
  const SPlotText* title = nullptr;
  for (const SPlotText& t : texts)
    if (t.vertical)
      title = &t;
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text.Right(3), L"...");
  EXPECT_EQ(title->text.Left(6), L"A very");
  EXPECT_LE(measure.MeasureText(title->text).cx + 4, plotHeight);
  EXPECT_GT(measure.MeasureText(title->text).cx + 4 + 7, plotHeight);
  EXPECT_EQ(RectHeight(title->box), measure.MeasureText(title->text).cx);

  // A label of thousands of characters costs a handful of measures, not one per character.
  CountingMeasure counting;
  data->SetYLabel(CString(std::wstring(8000, L'x').c_str()));
  ASSERT_TRUE(plot.PrepareFrame(counting, MakeRect(0, 0, 300, 150), nullptr));
  counting.count = 0;
  const std::vector<SPlotText> longTexts = plot.YAxisTexts(counting);
  EXPECT_LT(counting.count, 40);
  EXPECT_EQ(longTexts.back().text.Right(3), L"...");
  EXPECT_LE(measure.MeasureText(longTexts.back().text).cx + 4, plotHeight);

  // Nothing fits beside the dots: the title is the dots alone, and the shortening ends.
  ASSERT_TRUE(plot.PrepareFrame(measure, MakeRect(0, 0, 300, 40), nullptr));
  ASSERT_GT(RectHeight(plot.GetPlotRect()), 4);
  EXPECT_EQ(plot.YAxisTexts(measure).back().text, L"...");
}

TEST(CZSpectrumPlotFrame, LogarithmicYShowsPowersOfTen)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeTrace(L"T", {0, 1, 2, 3}, {1, 10, 100, 10000});
  plot.AddTrace(data.get(), false, false);
  plot.SetLogY(true);
  plot.SetShowYTickLabels(true);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  EXPECT_EQ(plot.GetDrawnYMin(), 0.0f);
  EXPECT_EQ(plot.GetDrawnYMax(), 4.0f);
  EXPECT_GE(plot.GetYGridStep(), 1.0f);
  EXPECT_EQ(Values(plot.GetYTickValues()), (std::vector<float>{1, 2, 3}));
  std::vector<SPlotText> texts = plot.YAxisTexts(measure);
  EXPECT_NE(FindText(texts, L"100"), nullptr);
  EXPECT_NE(FindText(texts, L"1000"), nullptr);
  STraceGeometry geometry;
  plot.BuildTraceGeometry(*data, geometry);
  ASSERT_EQ(geometry.points.size(), 4u);
  EXPECT_EQ(geometry.points[2].y, plot.YToPixel(2.0f));
}

TEST(CZSpectrumPlotFrame, YTitleBesideTheLabelsSharesTheirColumn)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeTrace(L"T", {0, 10}, {-1000, 1000});
  data->SetYLabel(L"Speed");
  plot.AddTrace(data.get(), false, false);
  plot.SetShowYTickLabels(true);
  plot.SetTitleSwitches(true, false, true, false, true);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  const LONG h = 13 + 2;
  // With a title the column is one line wide and shows only the two end values and the title.
  EXPECT_EQ(RectWidth(plot.GetYLabelRect()), h);
  std::vector<SPlotText> texts = plot.YAxisTexts(measure);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].text, L"-1000");
  EXPECT_EQ(texts[1].text, L"1000 ");
  EXPECT_TRUE(texts[2].vertical);

  // Without one, the column is as wide as the labels and holds every tick label.
  data->SetYLabel(L"");
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  EXPECT_EQ(RectWidth(plot.GetYLabelRect()), 7 * 5 + 2);
  EXPECT_EQ(plot.YAxisTexts(measure).size(), size_t(plot.GetYTickValues().GetCount()));
}

TEST(CZSpectrumPlotFrame, EndLabelsSnapToTheNearestSample)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeRamp(L"T", 11, 0, 1, 0, 1); // x 0..10
  plot.AddTrace(data.get(), false, false);
  plot.SetXSpan(2.5f); // automatic X min 7.5, between two samples
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  EXPECT_FLOAT_EQ(plot.GetDrawnXMin(), 7.5f);
  std::vector<SPlotText> texts = plot.XAxisTexts(measure);
  EXPECT_NE(FindText(texts, L"7"), nullptr);
  EXPECT_NE(FindText(texts, L"10"), nullptr);

  // A fixed limit is shown as it is.
  plot.SetXMin(7.5f);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  EXPECT_NE(FindText(plot.XAxisTexts(measure), L"7.5"), nullptr);
}

TEST(CZSpectrumPlotFrame, TickLabelsFollowTheGridAndStayInsideThePlot)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  auto data = MakeTrace(L"T", {0, 1000}, {0, 100});
  plot.AddTrace(data.get(), false, false);
  plot.SetShowXTickLabels(true);
  plot.SetShowYTickLabels(true);
  plot.SetXTitleInline(false);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  const RECT plotRect = plot.GetPlotRect();
  size_t labels = 0;
  for (const SPlotText& t : plot.XAxisTexts(measure)) {
    if (t.text.IsEmpty())
      continue;
    EXPECT_GE(t.box.left, plotRect.left);
    EXPECT_LE(t.box.right, plotRect.right);
    ++labels;
  }
  EXPECT_EQ(labels, size_t(plot.GetXTickValues().GetCount()));
  std::vector<SPlotText> yTexts = plot.YAxisTexts(measure);
  size_t yLabels = 0;
  for (const SPlotText& t : yTexts)
    yLabels += !t.vertical;
  EXPECT_EQ(yLabels, size_t(plot.GetYTickValues().GetCount()));
  // Grey labels, or the active trace's colour when every trace is scaled onto it.
  EXPECT_EQ(yTexts.front().colour, 0x787878u);
  data->SetTraceColour(0x00FF00);
  plot.SetAutoScaleAll(true);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  EXPECT_EQ(plot.YAxisTexts(measure).front().colour, 0x00FF00u);
}

TEST(CZSpectrumPlotFrame, ZLegendTitleAndInfo)
{
  CZSpectrumPlot plot;
  FixedMeasure measure;
  CSpectrumData layers(L"L", 3, 2);
  layers.SetXData(std::vector<float>{0, 1, 2}.data());
  layers.SetYData(std::vector<float>{0, 1, 4}.data(), 0);
  layers.SetZ(0, 2.5f);
  layers.SetZLabel(L"Depth");
  layers.SetZUnits(L"m");
  layers.SetInfoText(L"info");
  plot.AddTrace(&layers, false, false);
  plot.SetTitle(L"Title");
  plot.SetShowInfo(true);
  ASSERT_TRUE(plot.PrepareFrame(measure, kArea, nullptr));
  std::vector<SPlotText> texts = plot.PlotAreaTexts(measure);
  EXPECT_NE(FindText(texts, L"Title"), nullptr);
  EXPECT_NE(FindText(texts, L"Depth: 2.5 (m)"), nullptr);
  ASSERT_NE(FindText(texts, L"info"), nullptr);
  EXPECT_EQ(FindText(texts, L"info")->align, unsigned(PlotAlignRight));
}
