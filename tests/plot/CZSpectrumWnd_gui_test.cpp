#include "CZSpectrumWnd.h"
#include "GuiTestSupport.h"
#include "PlotTestSupport.h"

#include <functional>
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/stattext.h>

namespace {
constexpr COLORREF kBack = RGB(57, 57, 57);
constexpr COLORREF kPlot = RGB(20, 20, 80);
constexpr COLORREF kGrid = 0xC8C8C8;
constexpr COLORREF kRed = RGB(230, 30, 30);
constexpr COLORREF kGreen = RGB(30, 200, 30);
constexpr COLORREF kCyan = RGB(0, 200, 200);
constexpr COLORREF kYellow = RGB(240, 220, 0);
constexpr COLORREF kMagenta = RGB(220, 0, 220);

// Whether the colour is found within one pixel of (x, y).
bool NearPixel(const wxImage& image, int x, int y, COLORREF colour)
{
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (PixelAt(image, x + dx, y + dy) == colour)
        return true;
  return false;
}

struct PlotFrame {
  PlotFrame()
  {
    frame = new wxFrame(nullptr, wxID_ANY, "plot", wxPoint(30, 30), wxSize(560, 400));
    plot = new CZSpectrumWnd();
    plot->Create(frame, 1027, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE);
    plot->SetFontSize(11);
    plot->SetPlotFont(nullptr);
    plot->SetColours(kBack, kPlot);
    frame->Show();
    PumpEvents(150);
  }
  ~PlotFrame()
  {
    frame->Destroy();
    PumpEvents(20);
  }
  wxImage Paint()
  {
    plot->Refresh();
    plot->Update();
    PumpEvents(50);
    return plot->GetPlotBitmap().ConvertToImage();
  }
  wxFrame* frame;
  CZSpectrumWnd* plot;
};

// A subclass that lets the test raise a sent notification, as marker dragging will.
class SendingPlot : public CZSpectrumWnd {
public:
  using CZSpectrumWnd::PostToParent;
  using CZSpectrumWnd::SendToParent;
};
} // namespace

TEST(CZSpectrumWnd, EmptyPlotShowsOnlyTheBackground)
{
  PlotFrame f;
  f.plot->SetEmptyPlotText(L"");
  wxImage image = f.Paint();
  ASSERT_TRUE(image.IsOk());
  const wxSize size = f.plot->GetClientSize();
  EXPECT_EQ(image.GetWidth(), size.x);
  for (int y = 0; y < image.GetHeight(); y += 7)
    for (int x = 0; x < image.GetWidth(); x += 7)
      ASSERT_EQ(PixelAt(image, x, y), kBack) << x << "," << y;

  // The empty-plot text, centred, and nothing else.
  f.plot->SetEmptyPlotText(L"No trace selected");
  image = f.Paint();
  int text = 0, elsewhere = 0;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x) {
      if (PixelAt(image, x, y) == kBack)
        continue;
      const bool central = std::abs(x - size.x / 2) < 100 && std::abs(y - size.y / 2) < 15;
      (central ? text : elsewhere)++;
    }
  EXPECT_GT(text, 50);
  EXPECT_EQ(elsewhere, 0);
}

TEST(CZSpectrumWnd, TracesGridMarkersAndBackgroundWhereTheyBelong)
{
  PlotFrame f;
  auto rising = MakeTrace(L"Rising", {0, 100}, {0, 100});
  rising->SetTraceColour(kRed);
  rising->SetXLabel(L"Time");
  rising->SetXUnits(L"s");
  rising->SetYLabel(L"Position");
  auto low = MakeTrace(L"Low", {0, 100}, {30, 30});
  low->SetTraceColour(kGreen);
  low->SetTraceLineWidth(3);
  auto high = MakeTrace(L"High", {0, 100}, {70, 70});
  high->SetTraceColour(kCyan);
  auto dots = MakeTrace(L"Dots", {10, 90}, {85, 85});
  dots->SetTraceColour(kMagenta);
  dots->SetTraceLineStyle(PlotLineDotSymbol);
  for (CSpectrumData* d : {rising.get(), low.get(), high.get(), dots.get()})
    f.plot->AddTrace(d, false, false);
  SSpectrumMarker marker;
  marker.m_shown = 1;
  marker.m_position = 45;
  marker.m_width = 0;
  marker.m_secondFlag = 1;
  marker.m_colour = kYellow;
  f.plot->GetMarkerList().AddTail(marker);
  f.plot->SetShowXGrid(true);
  f.plot->SetShowXTickLabels(true);
  f.plot->SetShowYTickLabels(true);
  f.plot->SetShowXTicks(true);
  f.plot->SetShowYTicks(true);
  f.plot->SetXTitleInline(false);

  wxImage image = f.Paint();
  ASSERT_TRUE(image.IsOk());
  CZSpectrumWnd& p = *f.plot;
  const RECT plotRect = p.GetPlotRect();
  ASSERT_GT(RectWidth(plotRect), 200);
  ASSERT_GT(RectHeight(plotRect), 150);

  EXPECT_EQ(PixelAt(image, 1, 1), kBack);
  EXPECT_EQ(PixelAt(image, image.GetWidth() - 2, image.GetHeight() - 2), kBack);
  EXPECT_EQ(PixelAt(image, plotRect.left, (plotRect.top + plotRect.bottom) / 2), 0u); // black frame
  // Inside the plot, the plot colour wherever nothing is drawn.
  int plotPixels = 0, all = 0;
  for (int y = plotRect.top + 1; y < plotRect.bottom; ++y)
    for (int x = plotRect.left + 1; x < plotRect.right; ++x, ++all)
      plotPixels += PixelAt(image, x, y) == kPlot;
  EXPECT_GT(plotPixels, all * 8 / 10);

  // The grid: dotted lines at the tick values.
  ASSERT_FALSE(p.GetYTickValues().IsEmpty());
  ASSERT_FALSE(p.GetXTickValues().IsEmpty());
  int gridPixels = 0;
  const int gridRow = p.YToPixel(p.GetYTickValues().GetHead());
  for (int x = plotRect.left + 4; x < plotRect.right - 4; ++x)
    gridPixels += PixelAt(image, x, gridRow) == kGrid;
  EXPECT_GT(gridPixels, RectWidth(plotRect) / 5);
  gridPixels = 0;
  const int gridColumn = p.XToPixel(p.GetXTickValues().GetHead());
  for (int y = plotRect.top + 4; y < plotRect.bottom - 4; ++y)
    gridPixels += PixelAt(image, gridColumn, y) == kGrid;
  EXPECT_GT(gridPixels, RectHeight(plotRect) / 5);

  // Each trace in its colour where its points put it.
  EXPECT_TRUE(NearPixel(image, p.XToPixel(20), p.YToPixel(30), kGreen));
  EXPECT_EQ(PixelAt(image, p.XToPixel(20), p.YToPixel(30) - 1), kGreen); // 3 pixels wide
  EXPECT_TRUE(NearPixel(image, p.XToPixel(20), p.YToPixel(70), kCyan));
  EXPECT_TRUE(NearPixel(image, p.XToPixel(60), p.YToPixel(60), kRed));
  EXPECT_EQ(PixelAt(image, p.XToPixel(10), p.YToPixel(85)), kMagenta);
  EXPECT_EQ(PixelAt(image, p.XToPixel(10) + 2, p.YToPixel(85)), kMagenta);
  for (int x = p.XToPixel(15); x < p.XToPixel(85); ++x) // symbols, no line between them
    ASSERT_NE(PixelAt(image, x, p.YToPixel(85)), kMagenta) << x;
  // The active trace is drawn last, on top of the 3-pixel line it crosses.
  EXPECT_TRUE(NearPixel(image, p.XToPixel(30), p.YToPixel(30), kRed));
  // The movable window marker, 3 pixels wide.
  const int markerRow = (p.YToPixel(85) + p.YToPixel(100)) / 2;
  EXPECT_TRUE(NearPixel(image, p.XToPixel(45), markerRow, kYellow));

  // The bitmap is what the screen shows.
  wxImage screen = CaptureWindow(f.plot).ConvertToImage();
  EXPECT_EQ(PixelAt(screen, p.XToPixel(20), p.YToPixel(30) - 1), kGreen);
  EXPECT_EQ(PixelAt(screen, 1, 1), kBack);
  EXPECT_FALSE(SaveSnapshot(f.frame, "plot_several_traces").IsEmpty());
}

TEST(CZSpectrumWnd, StrokesOutOfAZoomedWindowAreCutAtItsEdge)
{
  PlotFrame f;
  auto pasted = MakeTrace(L"Pasted", {0, 5, 1, 3}, {1, 2, 3, 4});
  pasted->SetTraceColour(kRed);
  f.plot->AddTrace(pasted.get(), false, false);
  f.plot->SetXMin(0.5f);
  f.plot->SetXMax(3.5f);
  f.plot->SetYMin(0);
  f.plot->SetYMax(5);
  const wxImage image = f.Paint();
  CZSpectrumWnd& p = *f.plot;
  auto redNear = [&](float x, float y) { return NearPixel(image, p.XToPixel(x), p.YToPixel(y), kRed); };
  // The stroke from x = 5 comes in at the right edge on its own line, halfway at (2.25, 2.6875);
  // held on the edge at the end of the stroke before, the point would have sent it through 2.35.
  EXPECT_TRUE(redNear(2.25f, 2.6875f));
  EXPECT_FALSE(redNear(2.25f, 2.35f));
  EXPECT_TRUE(redNear(2, 3.5f));
  // A one-pixel line: a single pixel in a column of its flat part.
  int column = 0;
  for (int y = p.GetPlotRect().top; y < p.GetPlotRect().bottom; ++y)
    column += PixelAt(image, p.XToPixel(2), y) == kRed;
  EXPECT_EQ(column, 3); // the three strokes over x = 2
}

TEST(CZSpectrumWnd, LivePlotSettingsWithAFlatTraceStayDrawable)
{
  PlotFrame f;
  // The time plot of the program: every trace scaled onto the active one.
  f.plot->SetXMax(30);
  f.plot->SetXSpan(1200);
  f.plot->SetXLabel(L"Time (sec)");
  f.plot->SetShowXGrid(true);
  f.plot->SetAutoScaleAll(true);
  f.plot->SetXTitleInline(false);
  f.plot->SetShowXTicks(true);
  f.plot->SetShowXTickLabels(true);
  f.plot->SetShowYTicks(true);
  f.plot->SetShowYTickLabels(true);
  f.plot->SetColours(0x393939, 0x393939);
  auto position = MakeRamp(L"Position", 40, 0.5f, 0.5f, 100, 3);
  position->SetTraceColour(kRed);
  auto temperature = MakeRamp(L"Temperature", 40, 0.5f, 0.5f, 41, 0);
  temperature->SetTraceColour(kGreen);
  f.plot->AddTrace(position.get(), true, false);
  f.plot->AddTrace(temperature.get(), true, false);
  wxImage image = f.Paint();
  EXPECT_EQ(temperature->GetYScale(), 1.0f);
  // The flat trace is mapped onto the bottom of the active trace's range.
  CZSpectrumWnd& p = *f.plot;
  EXPECT_TRUE(NearPixel(image, p.XToPixel(10), p.YToPixel(position->GetYMin(false)), kGreen));
  EXPECT_TRUE(NearPixel(image, p.XToPixel(10), p.YToPixel(100 + 3 * 19), kRed));
  EXPECT_FALSE(SaveSnapshot(f.frame, "plot_live_traces").IsEmpty());

  // The flat trace alone (a servo holding still): its Y range is widened around 41, and the
  // line runs across the middle of the plot with Y labels beside it.
  f.plot->RemoveAllTraces(false);
  f.plot->AddTrace(temperature.get(), true, false);
  image = f.Paint();
  EXPECT_TRUE(p.ShouldDrawTraces());
  EXPECT_LT(p.GetDrawnYMin(), 41.0f);
  EXPECT_GT(p.GetDrawnYMax(), 41.0f);
  EXPECT_FALSE(p.GetYTickValues().IsEmpty());
  const int row = p.YToPixel(41);
  EXPECT_GT(row, p.GetPlotRect().top + 10);
  EXPECT_LT(row, p.GetPlotRect().bottom - 10);
  EXPECT_TRUE(NearPixel(image, p.XToPixel(5), row, kGreen));
  EXPECT_TRUE(NearPixel(image, p.XToPixel(15), row, kGreen));
}

TEST(CZSpectrumWnd, AxisDrawersLeaveTheCanvasAloneWithoutATrace)
{
  PlotFrame f;
  auto data = MakeTrace(L"A", {0, 10}, {0, 10});
  data->SetXLabel(L"Time");
  f.plot->SetShowXTickLabels(true);
  f.plot->SetShowYTickLabels(true);
  f.plot->AddTrace(data.get(), false, false);
  f.Paint(); // leaves label bands from a plot that had a trace
  f.plot->RemoveAllTraces(false);

  // The cursor handling redraws the axes between paints; with no trace they draw nothing.
  const wxSize size = f.plot->GetClientSize();
  wxBitmap canvas(size.x, size.y, 24);
  {
    wxMemoryDC dc(canvas);
    dc.SetBackground(wxBrush(wxColour(10, 200, 90)));
    dc.Clear();
    f.plot->DrawXAxis(dc);
    f.plot->DrawYAxis(dc);
    f.plot->DrawTraces(dc);
  }
  const wxImage image = canvas.ConvertToImage();
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x)
      ASSERT_EQ(PixelAt(image, x, y), RGB(10, 200, 90)) << x << "," << y;
}

TEST(CZSpectrumWnd, AKeptPictureUnderTheTracesFollowsWhatItShows)
{
  // Painted the same three times, the picture under the traces comes from its kept copy; after a
  // change of any one thing it shows, alone, it must be that of a window painted only once.
  auto data = MakeRamp(L"A", 400, 0.0f, 0.25f, 0.0f, 0.1f);
  data->SetTraceColour(kRed);
  auto paint = [&](CZSpectrumWnd& plot, int times) {
    const RECT area = MakeRect(0, 0, 520, 340);
    wxBitmap screen(RectWidth(area), RectHeight(area), 24);
    for (int i = 0; i < times; ++i) {
      wxMemoryDC dc(screen);
      plot.Draw(dc, &area);
    }
    return plot.GetPlotBitmap().ConvertToImage();
  };
  auto same = [](const wxImage& a, const wxImage& b) {
    return a.IsOk() && b.IsOk() && a.GetSize() == b.GetSize() &&
           std::equal(a.GetData(), a.GetData() + a.GetWidth() * a.GetHeight() * 3, b.GetData());
  };
  auto setUp = [&](CZSpectrumWnd& plot) {
    plot.SetFontSize(11);
    plot.SetPlotFont(nullptr);
    plot.SetShowXTickLabels(true);
    plot.SetShowYTickLabels(true);
    plot.SetShowXGrid(true);
    plot.SetShowYGrid(true);
    plot.SetColours(kBack, kBack);
    plot.AddTrace(data.get(), false, false);
  };
  struct SChange {
    const char* name;
    std::function<void(CZSpectrumWnd&)> apply;
  };
  const SChange changes[] = {
      {"nothing", [](CZSpectrumWnd&) {}},
      {"the Y grid", [](CZSpectrumWnd& p) { p.SetShowYGrid(false); }},
      {"the X grid", [](CZSpectrumWnd& p) { p.SetShowXGrid(false); }},
      {"the plot colour", [](CZSpectrumWnd& p) { p.SetColours(kBack, kPlot); }},
      {"the background colour", [](CZSpectrumWnd& p) { p.SetColours(kPlot, kBack); }},
      {"the X limit", [](CZSpectrumWnd& p) { p.SetXMax(60.0f); }},
  };
  for (const SChange& change : changes) {
    CZSpectrumWnd kept, once;
    setUp(kept);
    setUp(once);
    change.apply(once);
    paint(kept, 3);
    change.apply(kept);
    EXPECT_TRUE(same(paint(kept, 1), paint(once, 1))) << change.name;
    kept.RemoveAllTraces(false);
    once.RemoveAllTraces(false);
  }
}

TEST(CZSpectrumWnd, AWindowTooSmallForItsFrameOrFontDrawsNoTrace)
{
  // The windows too small for the frame are the headless frame's cases; here the window's own
  // paint meets a real font of 200 points that fills all of it.
  auto data = MakeRamp(L"A", 400, 0.0f, 0.25f, 0.0f, 0.1f);
  data->SetTraceColour(kRed);
  CZSpectrumWnd plot;
  plot.SetFontSize(200);
  plot.SetPlotFont(nullptr);
  plot.SetShowXTickLabels(true);
  plot.SetShowYTickLabels(true);
  plot.SetColours(kBack, kPlot);
  plot.AddTrace(data.get(), false, false);
  const RECT area = MakeRect(0, 0, 800, 500);
  wxBitmap screen(800, 500, 24);
  {
    wxMemoryDC dc(screen);
    plot.Draw(dc, &area);
  }
  EXPECT_FALSE(plot.ShouldDrawTraces());
  EXPECT_GT(plot.GetXPixelsPerUnit(), 0.0f);
  const wxImage image = plot.GetPlotBitmap().ConvertToImage();
  int red = 0;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x)
      red += PixelAt(image, x, y) == kRed;
  EXPECT_EQ(red, 0);
  plot.RemoveAllTraces(false);
}

TEST(CZSpectrumWnd, NotificationsArePostedOrSentToTheParent)
{
  auto* frame = new wxFrame(nullptr, wxID_ANY, "events", wxPoint(40, 40), wxSize(300, 200));
  auto* plot = new SendingPlot();
  plot->Create(frame, 1027);
  std::vector<std::pair<wxEventType, LPARAM>> posted;
  int sentDuring = 0;
  frame->Bind(wxEVT_SPECTRUM_TRACES_CHANGED, [&](CZSpectrumEvent& e) {
    EXPECT_EQ(e.GetWParam(), 0u);
    posted.push_back({e.GetEventType(), e.GetLParam()});
  });
  frame->Bind(wxEVT_SPECTRUM_LIMITS_CHANGED, [&](CZSpectrumEvent& e) {
    EXPECT_EQ(e.GetId(), 1027);
    EXPECT_EQ(e.GetWParam(), 1027u);
    posted.push_back({e.GetEventType(), e.GetLParam()});
  });
  frame->Bind(wxEVT_SPECTRUM_MARKER_MOVING, [&](CZSpectrumEvent& e) {
    ++sentDuring;
    EXPECT_EQ(reinterpret_cast<SSpectrumMarker*>(e.GetLParam())->m_label, L"m");
    e.SetResult(42);
  });

  auto data = MakeTrace(L"A", {0, 1}, {0, 1});
  plot->AddTrace(data.get(), false, false);
  plot->SetYMin(0);
  plot->SetXMax(2);
  plot->SetXMin(-1);
  EXPECT_TRUE(posted.empty()); // queued: nothing arrives before the calls return
  PumpEvents(30);
  ASSERT_EQ(posted.size(), 3u);
  EXPECT_EQ(posted[0].first, wxEventType(0x701));
  EXPECT_EQ(posted[1], (std::pair<wxEventType, LPARAM>{0x702, 1}));
  EXPECT_EQ(posted[2], (std::pair<wxEventType, LPARAM>{0x702, 0}));

  SSpectrumMarker marker;
  marker.m_label = L"m";
  EXPECT_EQ(plot->SendToParent(WM_SPECTRUM_MARKER_MOVING, 1027, LPARAM(&marker)), 42);
  EXPECT_EQ(sentDuring, 1); // handled before the call returned

  // A notification still queued when the plot goes away does no harm.
  plot->RemoveAllTraces(false);
  plot->Destroy();
  PumpEvents(30);
  EXPECT_EQ(posted.size(), 4u);
  frame->Destroy();
  PumpEvents(20);
}

TEST(CZSpectrumWnd, CreateInPlaceOfTakesThePlaceholdersPlace)
{
  auto* frame = new wxFrame(nullptr, wxID_ANY, "dialog", wxPoint(50, 50), wxSize(400, 300));
  auto* panel = new wxPanel(frame);
  auto* before = new wxStaticText(panel, 1026, "before", wxPoint(5, 5));
  new wxStaticText(panel, 1027, "placeholder", wxPoint(10, 40), wxSize(220, 130));
  frame->Show();
  PumpEvents(50);

  auto* plot = new CZSpectrumWnd();
  ASSERT_TRUE(plot->CreateInPlaceOf(1027, panel, 0, wxBORDER_SUNKEN));
  EXPECT_EQ(plot->GetId(), 1027);
  EXPECT_EQ(plot->GetPosition(), wxPoint(10, 40));
  EXPECT_EQ(plot->GetSize(), wxSize(220, 130));
  EXPECT_EQ(panel->FindWindow(1027), plot);
  EXPECT_EQ(panel->GetChildren().GetCount(), 2u);
  EXPECT_EQ(before->GetNextSibling(), plot);
  EXPECT_EQ(plot->GetFontSize(), 11);
  ASSERT_NE(plot->GetPlotFont(), nullptr);
  EXPECT_EQ(plot->GetPlotFont()->GetPointSize(), 11);

  wxFont big(wxFontInfo(20));
  plot->SetPlotFont(&big);
  EXPECT_EQ(plot->GetFontSize(), 20);
  EXPECT_FALSE(plot->CreateInPlaceOf(1, nullptr, 0, 0));
  frame->Destroy();
  PumpEvents(20);
}
