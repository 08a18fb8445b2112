#include "AxisSteps.h"
#include "CZSpectrumPlot.h"
#include "TraceIndex.h"

#include <ZSpectrumData/CSpectrumData.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr COLORREF kTextColour = 0x000000;
constexpr COLORREF kLabelGrey = 0x787878;
constexpr COLORREF kGridColour = 0xC8C8C8;
// More grid lines than a screen has pixels mean a step that float precision cannot follow.
constexpr int kMaxGridValues = 4096;
constexpr int kMaxPeakLabels = 1 << 16;

CString FormatG(double value)
{
  return CString(FormatW(L"%g", value));
}

// DrawText with DT_CALCRECT into the rectangle, then InflateRect(1, 1).
void MeasureInto(RECT& rect, IPlotTextMeasure& measure, const CString& text)
{
  const SIZE size = measure.MeasureText(text);
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  rect.left -= 1;
  rect.top -= 1;
  rect.right += 1;
  rect.bottom += 1;
}

LONG TextWidth(IPlotTextMeasure& measure, const CString& text)
{
  return measure.MeasureText(text).cx;
}

// The trace's label with its units, or the window's own label where that is preferred or the
// trace has neither.
CString AxisTitle(const CString& label, const CString& units, const CString& windowLabel, bool useWindowLabel)
{
  CString title = label;
  if (!units.IsEmpty())
    title.Format(L"%s (%s)", label, units);
  if (useWindowLabel || (title.IsEmpty() && !windowLabel.IsEmpty()))
    title = windowLabel;
  return title;
}

SPlotText Text(const CString& text, const RECT& box, unsigned align, COLORREF colour)
{
  SPlotText t;
  t.text = text;
  t.box = box;
  t.align = align;
  t.colour = colour;
  return t;
}

// Grid values strictly inside (lo, hi) at multiples of step; near-zero values become exactly 0.
// The longest head of the title that, followed by "...", fits the height with 4 pixels to
// spare; "..." alone when none does. Text widths grow with the text, so a binary search needs
// only a logarithmic number of measures however long the label.
CString ShortenedTitle(IPlotTextMeasure& measure, const CString& title, LONG height)
{
  auto fits = [&](int kept) { return TextWidth(measure, title.Left(kept) + L"...") + 4 <= height; };
  int lo = 0, hi = title.GetLength() - 1; // lo is known to be the answer when nothing longer fits
  while (lo < hi) {
    const int mid = lo + (hi - lo + 1) / 2;
    if (fits(mid))
      lo = mid;
    else
      hi = mid - 1;
  }
  return title.Left(lo) + L"...";
}

// Pixels per unit of an axis of that many pixels over [lo, hi], in double: finite and above 0
// for any finite limits in order, also a span beyond float or of a few floats. 1 otherwise.
double PixelScale(double pixels, float lo, float hi)
{
  const double span = double(hi) - double(lo);
  const double scale = pixels / span;
  return span > 0 && std::isfinite(scale) && scale > 0 ? scale : 1.0;
}

// The float scale that grid steps, markers and the mouse read: the double one held within float,
// never 0 nor infinite.
float HeldScale(double scale)
{
  constexpr double kLeast = std::numeric_limits<float>::min(), kMost = std::numeric_limits<float>::max();
  const double held = std::clamp(std::fabs(scale), kLeast, kMost);
  return float(scale < 0 ? -held : held);
}

template <typename Append> void WalkGrid(double lo, double hi, double span, double step, Append append)
{
  if (!IsUsableStep(step) || !std::isfinite(lo) || !std::isfinite(hi))
    return;
  const double t0 = RoundToStep(float(lo), float(step));
  if (!(std::fabs(span) > step && t0 + step > lo && hi > t0))
    return;
  double t = t0;
  int count = 0;
  do {
    if (t > lo)
      append(t);
    double next = t + step;
    if (std::fabs(next) < step * 0.5)
      next = 0.0;
    if (!(next > t))
      return;
    t = next;
  } while (hi > t && ++count < kMaxGridValues);
}
} // namespace

CString CZSpectrumPlot::XTitleText() const
{
  CSpectrumData* active = GetActiveTrace();
  return AxisTitle(active->GetXLabel(), active->GetXUnits(), m_xLabel, m_useWindowXLabel);
}

CString CZSpectrumPlot::YTitleText() const
{
  CSpectrumData* active = GetActiveTrace();
  return AxisTitle(active->GetYLabel(), active->GetYUnits(), m_yLabel, m_useWindowYLabel);
}

void CZSpectrumPlot::CalcYLabelWidth(IPlotTextMeasure& measure)
{
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return;
  const float s = active->GetYLabelValueScaling();
  const float g = m_yGridStep;
  const float values[] = {m_drawnYMin, m_drawnYMax, m_drawnYMin + g, m_drawnYMax - g};
  CString longest;
  bool first = true;
  for (float v : values) {
    CString text = FormatG(RoundToStep(s * v, s * g));
    if (first || text.GetLength() > longest.GetLength())
      longest = text;
    first = false;
  }
  MeasureInto(m_yLabelRect, measure, longest);
}

void CZSpectrumPlot::CalcLayout()
{
  if (m_traces.IsEmpty())
    return;
  RECT band = m_plotRect;
  m_yTitlePresent = m_yTitleSwitch && !YTitleText().IsEmpty();
  const LONG w = RectWidth(m_yLabelRect);
  const LONG h = RectHeight(m_yLabelRect);
  if (m_yTitleBesideLabels) {
    band.right = band.left + ((m_showYTickLabels && !m_yTitlePresent) ? w : h);
  } else {
    band.right = band.left + (m_showYTickLabels ? w + h : 2 * h);
    if (!m_yTitlePresent)
      band.right -= h;
  }
  m_yLabelRect = band;
}

void CZSpectrumPlot::CalcGridValues()
{
  const float s = m_xLabelScaling;
  const float o = m_xLabelOffset;
  if (!m_keepXTickStep)
    m_xGridStep = NiceStep(float(m_xGridSpacing) / m_xPixelsPerUnit * s + o);
  if (!m_keepYTickStep) {
    m_yGridStep = NiceStep(-float(m_yGridSpacing) / m_yPixelsPerUnit);
    if (m_logY && m_yGridStep < 1.0f)
      m_yGridStep = 1.0f;
  }
  m_xTickValues.RemoveAll();
  m_yTickValues.RemoveAll();

  if (s != 0.0f) {
    const double lo = double(s) * m_drawnXMin + o;
    const double hi = double(s) * m_drawnXMax + o;
    const double span = (double(m_drawnXMax) - m_drawnXMin) * s + o;
    WalkGrid(lo, hi, span, m_xGridStep, [&](double t) { m_xTickValues.AddTail(float((t - o) / s)); });
  }
  WalkGrid(m_drawnYMin, m_drawnYMax, double(m_drawnYMax) - m_drawnYMin, m_yGridStep,
           [&](double t) { m_yTickValues.AddTail(float(t)); });
}

bool CZSpectrumPlot::PrepareFrame(IPlotTextMeasure& measure, const RECT& area, const RECT* band)
{
  m_frameDrawsTraces = false;
  if (m_traces.IsEmpty())
    return false;
  float xMin = m_xMin, xMax = m_xMax, yMin = m_yMin, yMax = m_yMax;
  CalcLimits(xMin, xMax, yMin, yMax);
  m_drawnXMin = xMin;
  m_drawnXMax = xMax;
  m_drawnYMin = yMin;
  m_drawnYMax = yMax;
  CSpectrumData* active = GetActiveTrace();
  m_xLabelScaling = active->GetXLabelValueScaling();

  MeasureInto(m_yLabelRect, measure, L"0");
  const LONG h = RectHeight(m_yLabelRect);
  const RECT outer = band ? *band : area;
  m_xTitlePresent = m_xTitleSwitch && !XTitleText().IsEmpty();
  const LONG xBandHeight = !m_showXTitle ? 0 : (!m_xTitleInline && m_xTitlePresent) ? 2 * h : h;

  // First estimates of the steps, for the width of the labels that the layout leaves room for.
  const LONG bandHeight = RectHeight(outer) - 2 * (h / 2) - xBandHeight;
  m_yGridSpacing = int(2 * h);
  m_yGridStep = NiceStep(2.0f * float(h) * (yMax - yMin) / float(bandHeight));
  if (m_logY && m_yGridStep < 1.0f)
    m_yGridStep = 1.0f;
  CalcYLabelWidth(measure);

  const float s = m_xLabelScaling;
  const float coarse = NiceStep(s * (xMax - xMin));
  LONG w = std::max(TextWidth(measure, FormatG(RoundToStep(s * xMin, coarse))),
                    TextWidth(measure, FormatG(RoundToStep(s * xMax, coarse))));
  m_xGridSpacing = int(2 * w);
  const LONG yBandWidth = (m_yTitleSwitch ? h : 0) + (m_showYTickLabels ? RectWidth(m_yLabelRect) : 0);
  const LONG bandWidth = RectWidth(outer) - 10 - yBandWidth;
  const float xStep = NiceStep(2.0f * float(w) * s * (xMax - xMin) / float(bandWidth));
  const float fine = NiceStep(xStep);
  w = std::max({w, TextWidth(measure, FormatG(RoundToStep(s * xMin, fine) + xStep)),
                TextWidth(measure, FormatG(RoundToStep(s * xMax, fine) - xStep))});
  m_xGridSpacing = int(2 * w);
  m_xGridStep = xStep;

  RECT plot = MakeRect(outer.left + 5, outer.top + h / 2, outer.right - 5, outer.bottom - h / 2);
  if (m_showXTitle) {
    m_xLabelRect = MakeRect(plot.left, plot.bottom - xBandHeight, plot.right, plot.bottom);
    plot.bottom = m_xLabelRect.top;
  } else {
    m_xLabelRect = MakeRect(plot.left, plot.bottom, plot.right, plot.bottom);
  }
  m_plotRect = plot;
  if (HasData()) {
    CalcLayout();
    m_plotRect.left = m_yLabelRect.right;
    m_xLabelRect.left = m_yLabelRect.right;
  }
  m_plotRect.bottom -= m_showXTicks ? 3 : 1;
  m_plotRect.left += m_showYTicks ? 3 : 1;

  // A window too small for its font or frame leaves no inner area: the scales stay positive
  // (X) and negative (Y), and no trace is drawn.
  const bool hasArea = HasTraceArea();
  const double innerWidth = hasArea ? double(RectWidth(m_plotRect) - 6) : 1.0;
  const double innerHeight = hasArea ? double(RectHeight(m_plotRect) - 6) : 1.0;
  m_xPixelScale = PixelScale(innerWidth, xMin, xMax);
  m_yPixelScale = -PixelScale(innerHeight, yMin, yMax);
  m_xPixelsPerUnit = HeldScale(m_xPixelScale);
  m_yPixelsPerUnit = HeldScale(m_yPixelScale);
  m_xOriginPixel = m_plotRect.left + 3;
  m_yOriginPixel = m_plotRect.bottom - 3;
  CalcGridValues();
  // A limit fixed at no number (or one beyond float) leaves nothing that can be placed, and
  // limits in the wrong order (a caller's own: neither the mouse nor the settings make them)
  // have no scale to place anything with.
  const bool finite =
      std::isfinite(xMin) && std::isfinite(xMax) && std::isfinite(yMin) && std::isfinite(yMax);
  m_frameDrawsTraces = hasArea && finite && yMin < yMax && xMin < xMax;
  return true;
}

std::vector<POINT> CZSpectrumPlot::FrameOutline() const
{
  const RECT& r = m_plotRect;
  return {POINT{r.left, r.bottom}, POINT{r.left, r.top}, POINT{r.right, r.top}, POINT{r.right, r.bottom},
          POINT{r.left, r.bottom}};
}

std::vector<SPlotText> CZSpectrumPlot::PlotAreaTexts(IPlotTextMeasure&) const
{
  std::vector<SPlotText> texts;
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return texts;
  const RECT inner = GetInnerPlotRect();
  if (!m_title.IsEmpty())
    texts.push_back(Text(m_title, inner, PlotAlignHCentre | PlotAlignVCentre, kTextColour));
  if (active->GetArraySize() > 1) {
    CString legend;
    if (active->GetZLabel().IsEmpty())
      legend.Format(L"Z: %g", active->GetZ(-1));
    else
      legend.Format(L"%s: %g", active->GetZLabel(), active->GetZ(-1));
    if (!active->GetZUnits().IsEmpty()) {
      CString withUnits;
      withUnits.Format(L"%s (%s)", legend, active->GetZUnits());
      legend = withUnits;
    }
    texts.push_back(Text(legend, inner, PlotAlignLeft | PlotAlignTop, kTextColour));
  }
  if (m_showInfo && !active->GetInfoText().IsEmpty())
    texts.push_back(Text(active->GetInfoText(), inner, PlotAlignRight | PlotAlignTop, kTextColour));
  return texts;
}

std::vector<SPlotSegment> CZSpectrumPlot::TickMarks() const
{
  std::vector<SPlotSegment> ticks;
  if (m_showXTicks)
    for (POSITION pos = m_xTickValues.GetHeadPosition(); pos;) {
      const int px = XToPixel(m_xTickValues.GetNext(pos));
      ticks.push_back({POINT{px, m_yOriginPixel + 3}, POINT{px, m_yOriginPixel + 5}, kTextColour, 1});
    }
  if (m_showYTicks)
    for (POSITION pos = m_yTickValues.GetHeadPosition(); pos;) {
      const int py = YToPixel(m_yTickValues.GetNext(pos));
      ticks.push_back({POINT{m_xOriginPixel - 3, py}, POINT{m_xOriginPixel - 6, py}, kTextColour, 1});
    }
  return ticks;
}

std::vector<SPlotSegment> CZSpectrumPlot::XGridLines() const
{
  std::vector<SPlotSegment> lines;
  if (!m_showXGrid)
    return lines;
  const int top = YToPixel(m_drawnYMax), bottom = YToPixel(m_drawnYMin);
  for (POSITION pos = m_xTickValues.GetHeadPosition(); pos;) {
    const int px = XToPixel(m_xTickValues.GetNext(pos));
    lines.push_back({POINT{px, bottom}, POINT{px, top}, kGridColour, 1});
  }
  return lines;
}

std::vector<SPlotSegment> CZSpectrumPlot::YGridLines() const
{
  std::vector<SPlotSegment> lines;
  if (!m_showYGrid)
    return lines;
  const int left = XToPixel(m_drawnXMin), right = XToPixel(m_drawnXMax);
  for (POSITION pos = m_yTickValues.GetHeadPosition(); pos;) {
    const int py = YToPixel(m_yTickValues.GetNext(pos));
    lines.push_back({POINT{left, py}, POINT{right, py}, kGridColour, 1});
  }
  return lines;
}

std::vector<SPlotText> CZSpectrumPlot::XAxisTexts(IPlotTextMeasure& measure) const
{
  std::vector<SPlotText> texts;
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return texts;
  const RECT band = m_xLabelRect;
  RECT lowerHalf = band;
  lowerHalf.top = band.top + RectHeight(band) / 2;
  const CString title = XTitleText();

  if (!m_showXTickLabels || (m_xTitleInline && m_xTitlePresent)) {
    float a = m_drawnXMin, b = m_drawnXMax;
    if (!m_xMinFixed)
      a = active->GetX(NearestPoint(*active, a));
    if (!m_xMaxFixed)
      b = active->GetX(NearestPoint(*active, b));
    // About one pixel's worth of data.
    const float step = NiceStep((b - a) / float(RectWidth(m_plotRect)));
    const CString low = FormatG(RoundToStep(a, step));
    const CString high = FormatG(RoundToStep(b, step));
    if (m_xTitleInline) {
      texts.push_back(Text(title, band, PlotAlignHCentre | PlotAlignVCentre, kTextColour));
      texts.push_back(Text(low, band, PlotAlignLeft | PlotAlignVCentre, kTextColour));
      texts.push_back(Text(high, band, PlotAlignRight | PlotAlignVCentre, kTextColour));
    } else {
      texts.push_back(Text(title, lowerHalf, PlotAlignHCentre | PlotAlignVCentre, kTextColour));
      texts.push_back(Text(low, band, PlotAlignLeft | PlotAlignTop, kTextColour));
      texts.push_back(Text(high, band, PlotAlignRight | PlotAlignTop, kTextColour));
    }
  } else {
    texts.push_back(Text(title, lowerHalf, PlotAlignHCentre | PlotAlignVCentre, kTextColour));
    for (POSITION pos = m_xTickValues.GetHeadPosition(); pos;) {
      const float value = m_xTickValues.GetNext(pos);
      const CString label = FormatG(value * m_xLabelScaling + m_xLabelOffset);
      const SIZE size = measure.MeasureText(label);
      const LONG left = LeftInsidePlot(XToPixel(value) - size.cx / 2, size.cx);
      texts.push_back(Text(label, MakeRect(left, band.top, left + size.cx, band.top + size.cy),
                           PlotAlignLeft | PlotAlignTop, kTextColour));
    }
  }
  AddPeakLabels(*active, measure, texts);
  return texts;
}

LONG CZSpectrumPlot::LeftInsidePlot(LONG left, LONG width) const
{
  if (left + width > m_plotRect.right)
    left = m_plotRect.right - width;
  if (left < m_plotRect.left)
    left = m_plotRect.left;
  return left;
}

void CZSpectrumPlot::AddPeakLabels(CSpectrumData& active, IPlotTextMeasure& measure,
                                   std::vector<SPlotText>& texts) const
{
  const RECT& band = m_xLabelRect;
  const LONG height = m_xTitleInline ? RectHeight(band) : RectHeight(band) / 2;
  const int entry = active.GetArrayIndex();
  const int peaks = std::min(FoundPeakCount(active, entry), kMaxPeakLabels);
  for (int k = 0; k < peaks; ++k) {
    const float x = active.GetPeakWavelength(entry, k);
    if (!std::isfinite(x))
      continue;
    const CString label(FormatW(L" %g ", double(x)));
    const LONG width = measure.MeasureText(label).cx;
    const LONG left = LeftInsidePlot(XToPixel(x) - width / 2, width);
    SPlotText t = Text(label, MakeRect(left, band.top, left + width, band.top + height),
                       PlotAlignLeft | PlotAlignTop, active.GetTraceColour());
    t.fillBox = true;
    texts.push_back(t);
  }
}

std::vector<SPlotText> CZSpectrumPlot::YAxisTexts(IPlotTextMeasure& measure) const
{
  std::vector<SPlotText> texts;
  CSpectrumData* active = GetActiveTrace();
  if (!active)
    return texts;
  const RECT band = m_yLabelRect;
  const COLORREF colour = m_autoScaleAll ? active->GetTraceColour() : kLabelGrey;
  const float s = active->GetYLabelValueScaling();
  auto shown = [&](float y) { return m_logY ? s * std::pow(10.0f, y) : s * y; };

  if (!m_showYTickLabels || (m_yTitleBesideLabels && m_yTitlePresent)) {
    // About ten pixels' worth of data.
    const float step = NiceStep(s * (m_drawnYMax - m_drawnYMin) * 10.0f / float(RectHeight(m_plotRect)));
    texts.push_back(
        Text(FormatG(RoundToStep(shown(m_drawnYMin), step)), band, PlotAlignRight | PlotAlignBottom, colour));
    texts.push_back(Text(CString(FormatW(L"%g ", double(RoundToStep(shown(m_drawnYMax), step)))), band,
                         PlotAlignRight | PlotAlignTop, colour));
  } else {
    for (POSITION pos = m_yTickValues.GetHeadPosition(); pos;) {
      const float value = m_yTickValues.GetNext(pos);
      const CString label = FormatG(shown(value));
      const SIZE size = measure.MeasureText(label);
      const LONG top = YToPixel(value) - size.cy / 2;
      texts.push_back(Text(label, MakeRect(band.left, top, band.right, top + size.cy),
                           PlotAlignRight | PlotAlignTop, colour));
    }
  }

  if (m_showYTitle) {
    CString title = YTitleText();
    const LONG plotHeight = RectHeight(m_plotRect);
    if (plotHeight > 4 && TextWidth(measure, title) > plotHeight)
      title = ShortenedTitle(measure, title, plotHeight);
    if (!title.IsEmpty()) {
      const SIZE size = measure.MeasureText(title);
      const LONG centre = (m_plotRect.top + m_plotRect.bottom) / 2;
      SPlotText t =
          Text(title,
               MakeRect(band.left, centre - size.cx / 2, band.left + size.cy, centre - size.cx / 2 + size.cx),
               PlotAlignLeft | PlotAlignTop, colour);
      t.vertical = true;
      texts.push_back(t);
    }
  }
  return texts;
}
