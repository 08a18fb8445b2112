#include "CZSpectrumWnd.h"
#include "Colours.h"
#include "TraceRaster.h"

#include <ZSpectrumData/CSpectrumData.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include <functional>
#include <optional>

namespace {
constexpr COLORREF kFrameColour = 0x000000;

// Text sizes as the DC measures them with its current font. A paint measures the same few dozen
// labels every time, and each measure lays the text out again: the sizes are kept per font.
class DcTextMeasure : public IPlotTextMeasure {
public:
  // fontKey names the font the DC has selected.
  DcTextMeasure(wxDC& dc, CZSpectrumWnd::CTextSizes& sizes, long fontKey) : m_dc(dc), m_sizes(sizes)
  {
    if (fontKey != m_sizes.fontKey || m_sizes.sizes.size() > 1024) {
      m_sizes.sizes.clear();
      m_sizes.fontKey = fontKey;
    }
  }
  SIZE MeasureText(const CString& text) override
  {
    auto [it, added] = m_sizes.sizes.try_emplace(text.GetString());
    if (added) {
      wxCoord width = 0, height = 0;
      m_dc.GetTextExtent(wxString(text.GetString()), &width, &height);
      it->second.cx = width;
      it->second.cy = height;
    }
    return it->second;
  }

private:
  wxDC& m_dc;
  CZSpectrumWnd::CTextSizes& m_sizes;
};

bool SameRect(const RECT& a, const RECT& b)
{
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool SamePoint(const POINT& a, const POINT& b)
{
  return a.x == b.x && a.y == b.y;
}

bool SameSegments(const std::vector<SPlotSegment>& a, const std::vector<SPlotSegment>& b)
{
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const SPlotSegment& s, const SPlotSegment& t) {
    return SamePoint(s.from, t.from) && SamePoint(s.to, t.to) && s.colour == t.colour && s.width == t.width;
  });
}
} // namespace

bool CZSpectrumWnd::SameChrome(const SChrome& a, const SChrome& b)
{
  return SameRect(a.area, b.area) && SameRect(a.background, b.background) &&
         SameRect(a.plotRect, b.plotRect) && SameRect(a.xBand, b.xBand) && SameRect(a.yBand, b.yBand) &&
         a.back == b.back && a.plot == b.plot && a.fontKey == b.fontKey && a.xAxis == b.xAxis &&
         a.yAxis == b.yAxis &&
         std::equal(a.frame.begin(), a.frame.end(), b.frame.begin(), b.frame.end(), SamePoint) &&
         a.texts == b.texts && a.xTexts == b.xTexts && a.yTexts == b.yTexts &&
         SameSegments(a.ticks, b.ticks) && SameSegments(a.xGrid, b.xGrid) && SameSegments(a.yGrid, b.yGrid);
}

namespace {
wxRect ToWxRect(const RECT& r)
{
  return wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void FillRect(wxDC& dc, const RECT& r, COLORREF colour)
{
  dc.SetPen(*wxTRANSPARENT_PEN);
  dc.SetBrush(wxBrush(ToWxColour(colour)));
  dc.DrawRectangle(ToWxRect(r));
}

// Single-line texts placed in their boxes by their alignment. The sizes come from the kept
// measures: DrawLabel would lay every text out once more only to measure it.
void DrawTexts(wxDC& dc, const std::vector<SPlotText>& texts, COLORREF background, IPlotTextMeasure& measure)
{
  for (const SPlotText& t : texts) {
    if (t.text.IsEmpty())
      continue;
    if (t.fillBox)
      FillRect(dc, t.box, background);
    dc.SetTextForeground(ToWxColour(t.colour));
    const wxString text(t.text.GetString());
    if (t.vertical) {
      dc.DrawRotatedText(text, t.box.left, t.box.bottom, 90.0);
      continue;
    }
    const RECT placed = PlacedTextRect(t, measure.MeasureText(t.text));
    dc.DrawText(text, placed.left, placed.top);
  }
}

void DrawSegments(wxDC& dc, const std::vector<SPlotSegment>& segments, wxPenStyle style)
{
  for (const SPlotSegment& s : segments) {
    dc.SetPen(wxPen(ToWxColour(s.colour), s.width, style));
    dc.DrawLine(s.from.x, s.from.y, s.to.x, s.to.y);
  }
}

void ClipTo(wxDC& dc, const RECT& r)
{
  dc.DestroyClippingRegion();
  dc.SetClippingRegion(ToWxRect(r));
}

// The GDI pen styles of the data sets. Style 2 (dots) and 7 (symbols) never reach a pen.
wxPenStyle PenStyle(int lineStyle)
{
  switch (lineStyle) {
  case PlotLineDash:
    return wxPENSTYLE_LONG_DASH;
  case PlotLineDashDot:
  case PlotLineDashDotDot:
    return wxPENSTYLE_DOT_DASH;
  case PlotLineNull:
    return wxPENSTYLE_TRANSPARENT;
  default:
    return wxPENSTYLE_SOLID;
  }
}
} // namespace

const wxBrush& CZSpectrumWnd::DotBrush(COLORREF colour)
{
  auto [it, added] = m_dotBrushes.try_emplace(colour);
  if (added) {
    wxImage pattern(2, 2);
    pattern.InitAlpha();
    const wxColour c = ToWxColour(colour);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) {
        pattern.SetRGB(x, y, c.Red(), c.Green(), c.Blue());
        pattern.SetAlpha(x, y, x == y ? 255 : 0);
      }
    it->second = wxBrush(wxBitmap(pattern));
  }
  return it->second;
}

void CZSpectrumWnd::DrawDottedLine(wxDC& dc, const SPlotSegment& s)
{
  // A dashed stroke costs one small rectangle per dot; a fill with the dot pattern, one per line.
  dc.SetPen(*wxTRANSPARENT_PEN);
  const wxBrush& brush = DotBrush(s.colour);
  if (!dc.GetBrush().IsSameAs(brush))
    dc.SetBrush(brush);
  const int left = std::min(s.from.x, s.to.x), top = std::min(s.from.y, s.to.y);
  dc.DrawRectangle(left, top, std::abs(s.to.x - s.from.x) + 1, std::abs(s.to.y - s.from.y) + 1);
}

void CZSpectrumWnd::DrawDottedLines(wxDC& dc, const std::vector<SPlotSegment>& segments)
{
  for (const SPlotSegment& s : segments)
    DrawDottedLine(dc, s);
}

RECT CZSpectrumWnd::ClientArea() const
{
  if (!m_created)
    return MakeRect(0, 0, 0, 0);
  const wxSize size = GetClientSize();
  return MakeRect(0, 0, size.x, size.y);
}

void CZSpectrumWnd::SelectPlotFont(wxDC& dc)
{
  if (!m_plotFont)
    return;
  // Made once per font and size: each paint and cursor move selects it several times.
  if (m_sizedFontKey != FontKey() || !m_sizedFont.IsOk()) {
    m_sizedFont = *m_plotFont;
    m_sizedFont.SetPointSize(m_fontSize > 0 ? m_fontSize : 12);
    m_sizedFontKey = FontKey();
  }
  dc.SetFont(m_sizedFont);
}

void CZSpectrumWnd::DrawPolyline(wxDC& dc, const POINT* points, size_t count)
{
  m_pointBuffer.resize(count);
  for (size_t i = 0; i < count; ++i)
    m_pointBuffer[i] = wxPoint(points[i].x, points[i].y);
  dc.DrawLines(int(m_pointBuffer.size()), m_pointBuffer.data());
}

void CZSpectrumWnd::Draw(wxDC& dc, const RECT* rect)
{
  RECT area = m_created ? ClientArea() : (rect ? *rect : MakeRect(0, 0, 0, 0));
  const int width = std::max<int>(RectWidth(area), 1);
  const int height = std::max<int>(RectHeight(area), 1);
  if (!m_plotBitmap.IsOk() || m_plotBitmap.GetWidth() != width || m_plotBitmap.GetHeight() != height)
    m_plotBitmap.Create(width, height, 24);

  {
    wxMemoryDC memory(m_plotBitmap);
    // The picture is drawn in area coordinates wherever the area lies.
    memory.SetDeviceOrigin(-area.left, -area.top);
    if (wxGraphicsContext* gc = memory.GetGraphicsContext())
      gc->SetAntialiasMode(wxANTIALIAS_NONE);
    SelectPlotFont(memory);
    memory.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    memory.SetTextForeground(*wxBLACK);

    DcTextMeasure measure(memory, m_textSizes, FontKey());
    if (!PrepareFrame(measure, area, rect)) {
      FillRect(memory, area, m_backColour);
      memory.DrawLabel(wxString(m_emptyPlotText.GetString()), ToWxRect(area), wxALIGN_CENTRE);
    } else {
      SChrome chrome = ChromeOf(measure, area, rect);
      const bool same = SameChrome(chrome, m_chrome);
      bool restored = false;
      if (same && m_chromePicture.IsKept()) {
        CTraceRaster raster(memory);
        restored = raster.Restore(m_chromePicture);
      }
      if (!restored) {
        DrawChrome(memory, chrome, measure, rect);
        // Kept once it comes out the same twice: while the limits move on at every paint (a live
        // plot scrolling) the copy would cost about what it saves and never be used.
        m_chromePicture.Clear();
        if (same) {
          CTraceRaster raster(memory);
          raster.Keep(m_chromePicture, m_plotRect, m_plotColour, m_backColour);
        }
        m_chrome = std::move(chrome);
      }
      if (ShouldDrawTraces())
        DrawTraces(memory);
    }
  }
  m_pictureStamp = PictureStamp();
  m_fullPaintPending = false;
  dc.DrawBitmap(m_plotBitmap, area.left, area.top);
  DrawCursor(dc);
}

CZSpectrumWnd::SChrome CZSpectrumWnd::ChromeOf(IPlotTextMeasure& measure, const RECT& area, const RECT* rect)
{
  SChrome chrome;
  chrome.area = area;
  chrome.background = m_created || !rect ? ClientArea() : *rect;
  chrome.plotRect = m_plotRect;
  chrome.back = m_backColour;
  chrome.plot = m_plotColour;
  chrome.fontKey = FontKey();
  chrome.frame = FrameOutline();
  chrome.texts = PlotAreaTexts(measure);
  chrome.ticks = TickMarks();
  chrome.xAxis = m_showXTitle && !m_traces.IsEmpty();
  chrome.yAxis = HasData() && !m_traces.IsEmpty();
  if (chrome.xAxis) {
    chrome.xBand = m_xLabelRect;
    chrome.xTexts = XAxisTexts(measure);
  }
  if (chrome.yAxis) {
    chrome.yBand = m_yLabelRect;
    chrome.yTexts = YAxisTexts(measure);
  }
  chrome.xGrid = XGridLines();
  chrome.yGrid = YGridLines();
  return chrome;
}

void CZSpectrumWnd::DrawChrome(wxDC& dc, const SChrome& chrome, IPlotTextMeasure& measure, const RECT* rect)
{
  DrawBackground(dc, rect);
  dc.SetPen(wxPen(ToWxColour(kFrameColour), 1));
  DrawPolyline(dc, chrome.frame.data(), chrome.frame.size());
  DrawTexts(dc, chrome.texts, m_backColour, measure);
  DrawSegments(dc, chrome.ticks, wxPENSTYLE_SOLID);
  if (chrome.xAxis)
    DrawXAxis(dc);
  if (chrome.yAxis)
    DrawYAxis(dc);
  DrawDottedLines(dc, chrome.xGrid);
  DrawDottedLines(dc, chrome.yGrid);
}

void CZSpectrumWnd::DrawBackground(wxDC& dc, const RECT* rect)
{
  FillRect(dc, m_created || !rect ? ClientArea() : *rect, m_backColour);
  FillRect(dc, m_plotRect, m_plotColour);
}

size_t CZSpectrumWnd::PictureStamp() const
{
  // Points appended, traces added or cycled, limits or scales changed: any of these shows here.
  size_t stamp = std::hash<float>{}(m_xMin) ^ (std::hash<float>{}(m_xMax) << 1) ^
                 (std::hash<float>{}(m_yMin) << 2) ^ (std::hash<float>{}(m_yMax) << 3);
  // Settings a caller may change before invalidating the window itself.
  const size_t settings[] = {size_t(m_backColour), size_t(m_plotColour), size_t(FontKey()), size_t(m_logY),
                             std::hash<std::wstring>{}(m_title.GetString())};
  for (size_t part : settings)
    stamp = stamp * 1000003u ^ part;
  for (POSITION pos = m_traces.GetHeadPosition(); pos;) {
    const CSpectrumData* trace = m_traces.GetNext(pos);
    const size_t parts[] = {size_t(trace),
                            size_t(trace->GetFirstIndex()),
                            size_t(trace->GetLastIndex()),
                            size_t(trace->GetArrayIndex()),
                            std::hash<float>{}(trace->GetX(trace->GetLastIndex())),
                            std::hash<float>{}(trace->GetY(trace->GetLastIndex())),
                            std::hash<float>{}(trace->GetYScale()),
                            std::hash<float>{}(trace->GetYOffset())};
    for (size_t part : parts)
      stamp = stamp * 1000003u ^ part;
  }
  return stamp;
}

void CZSpectrumWnd::DrawCursor(wxDC& dc)
{
  m_overlayShown = SOverlayArea();
  if (m_traces.IsEmpty())
    return;
  if (wxGraphicsContext* gc = dc.GetGraphicsContext())
    gc->SetAntialiasMode(wxANTIALIAS_NONE);
  SelectPlotFont(dc);
  const SCursorOverlay overlay = CursorOverlay(m_overlayMeasure);
  m_overlayShown = OverlayAreaOf(overlay, m_overlayMeasure);
  if (overlay.band) {
    // What an XOR outline over the plot colour would show.
    dc.SetPen(wxPen(ToWxColour(~m_plotColour & 0xFFFFFF), 1));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(ToWxRect(overlay.bandRect));
  }
  if (!m_backBrush.IsOk() || m_backBrush.GetColour() != ToWxColour(m_backColour))
    m_backBrush = wxBrush(ToWxColour(m_backColour));
  auto fill = [&](const SPlotText& t) {
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(m_backBrush);
    dc.DrawRectangle(ToWxRect(t.box));
    if (!t.text.IsEmpty())
      DrawOverlayText(dc, t);
  };
  if (overlay.xBox)
    fill(overlay.xText);
  if (overlay.yBox)
    fill(overlay.yText);
  // The DC believes the context still has the DC's own font and colour.
  if (wxGraphicsContext* gc = dc.GetGraphicsContext(); gc && (overlay.xBox || overlay.yBox))
    gc->SetFont(OverlayFont(*gc, dc.GetFont(), ToColorref(dc.GetTextForeground())));
  // The lines, then the dotted focus frame of each box in the inverse of the background under it.
  std::array<SPlotSegment, 10> dots;
  size_t count = 0;
  if (overlay.lines) {
    dots[count++] = overlay.vertical;
    dots[count++] = overlay.horizontal;
  }
  const COLORREF frame = ~m_backColour & 0xFFFFFF;
  for (const SPlotText* t :
       {overlay.xBox ? &overlay.xText : nullptr, overlay.yBox ? &overlay.yText : nullptr}) {
    if (!t)
      continue;
    const RECT& r = t->box;
    const POINT corners[] = {
        {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    dots[count++] = {corners[0], corners[1], frame, 1};
    dots[count++] = {corners[1], corners[2], frame, 1};
    dots[count++] = {corners[3], corners[2], frame, 1};
    dots[count++] = {corners[0], corners[3], frame, 1};
  }
  DrawOverlayDots(dc, dots.data(), count);
}

void CZSpectrumWnd::DrawOverlayDots(wxDC& dc, const SPlotSegment* dots, size_t count)
{
  wxGraphicsContext* gc = dc.GetGraphicsContext();
  if (!gc) {
    for (size_t i = 0; i < count; ++i)
      DrawDottedLine(dc, dots[i]);
    return;
  }
  // Through the DC every change of the dot brush makes the context a new pattern from its bitmap,
  // and every line is a fill of its own: the overlay keeps its patterns and fills all lines of one
  // colour at once.
  for (size_t i = 0; i < count;) {
    const COLORREF colour = dots[i].colour;
    if (m_overlayDotBrushes.size() > 16)
      m_overlayDotBrushes.clear();
    auto [brush, added] = m_overlayDotBrushes.try_emplace(colour);
    if (added)
      brush->second = gc->CreateBrush(DotBrush(colour));
    wxGraphicsPath path = gc->CreatePath();
    for (; i < count && dots[i].colour == colour; ++i) {
      const SPlotSegment& s = dots[i];
      path.AddRectangle(std::min(s.from.x, s.to.x), std::min(s.from.y, s.to.y),
                        std::abs(s.to.x - s.from.x) + 1, std::abs(s.to.y - s.from.y) + 1);
    }
    gc->SetBrush(brush->second);
    // The sides of a frame share their corners.
    gc->FillPath(path, wxWINDING_RULE);
  }
  // The DC believes the context still has the DC's brush.
  gc->SetBrush(dc.GetBrush());
}

void CZSpectrumWnd::DrawOverlayText(wxDC& dc, const SPlotText& t)
{
  const RECT placed = PlacedTextRect(t, m_overlayMeasure.MeasureText(t.text));
  const wxString text(t.text.GetString());
  wxGraphicsContext* gc = dc.GetGraphicsContext();
  if (!gc) {
    dc.SetTextForeground(ToWxColour(t.colour));
    if (t.vertical)
      dc.DrawRotatedText(text, placed.left, placed.bottom, 90.0);
    else
      dc.DrawText(text, placed.left, placed.top);
    return;
  }
  // Straight to the graphics context: the DC would lay the text out a second time only to widen
  // its bounding box, which nothing here reads.
  gc->SetFont(OverlayFont(*gc, dc.GetFont(), t.colour));
  if (t.vertical)
    gc->DrawText(text, placed.left, placed.bottom, M_PI / 2);
  else
    gc->DrawText(text, placed.left, placed.top);
}

const wxGraphicsFont& CZSpectrumWnd::OverlayFont(wxGraphicsContext& gc, const wxFont& font, COLORREF colour)
{
  if (m_overlayFontKey != FontKey() || m_overlayFonts.size() > 16) {
    m_overlayFonts.clear();
    m_overlayFontKey = FontKey();
  }
  auto [it, added] = m_overlayFonts.try_emplace(colour);
  if (added)
    it->second = gc.CreateFont(font, ToWxColour(colour));
  return it->second;
}

SIZE CZSpectrumWnd::CharWidthMeasure::MeasureText(const CString& text)
{
  SCharWidths& widths = m_window.m_charWidths;
  if (widths.fontKey != m_window.FontKey()) {
    // Ten of a kind measured at once keep the sum of a number's advances within a pixel of the
    // laid-out whole; digits carry no kerning in the plot's faces.
    wxBitmap bitmap(1, 1, 24);
    wxMemoryDC dc(bitmap);
    m_window.SelectPlotFont(dc);
    wxCoord width = 0, height = 0;
    for (size_t c = 0; c < widths.tenfold.size(); ++c) {
      dc.GetTextExtent(wxString(size_t(10), wxUniChar(int(c) + 32)), &width, &height);
      widths.tenfold[c] = width;
    }
    dc.GetTextExtent(wxString(L"0"), &width, &height);
    widths.height = height;
    dc.GetTextExtent(wxString(), &width, &height);
    widths.empty = SIZE{LONG(width), LONG(height)};
    widths.fontKey = m_window.FontKey();
  }
  const int length = text.GetLength();
  if (length == 0)
    return widths.empty;
  long sum = 0;
  const wchar_t* chars = text.GetString();
  for (int i = 0; i < length; ++i) {
    if (chars[i] < 32 || chars[i] > 126)
      return m_window.MeasureWithOwnDc(text);
    sum += widths.tenfold[size_t(chars[i] - 32)];
  }
  return SIZE{LONG((sum + 5) / 10), LONG(widths.height)};
}

SIZE CZSpectrumWnd::MeasureWithOwnDc(const CString& text)
{
  wxBitmap bitmap(1, 1, 24);
  wxMemoryDC dc(bitmap);
  SelectPlotFont(dc);
  wxCoord width = 0, height = 0;
  dc.GetTextExtent(wxString(text.GetString()), &width, &height);
  return SIZE{LONG(width), LONG(height)};
}

void CZSpectrumWnd::DrawXAxis(wxDC& dc)
{
  if (m_traces.IsEmpty())
    return;
  SelectPlotFont(dc);
  DcTextMeasure measure(dc, m_textSizes, FontKey());
  DrawBand(dc, m_xBand, m_xLabelRect, XAxisTexts(measure), measure);
}

void CZSpectrumWnd::DrawYAxis(wxDC& dc)
{
  if (m_traces.IsEmpty())
    return;
  SelectPlotFont(dc);
  DcTextMeasure measure(dc, m_textSizes, FontKey());
  DrawBand(dc, m_yBand, m_yLabelRect, YAxisTexts(measure), measure);
}

long CZSpectrumWnd::FontKey() const
{
  return m_plotFont ? m_fontGeneration * 1000L + m_fontSize : -1L;
}

void CZSpectrumWnd::DrawBand(wxDC& dc, SBandPicture& picture, const RECT& band, std::vector<SPlotText> texts,
                             IPlotTextMeasure& measure)
{
  // The labels come out the same paint after paint; laying them out again is most of what a
  // repaint of unchanged limits costs. The band is kept as a picture of its own, with the
  // background around it that its labels reach into.
  RECT area = band;
  for (const SPlotText& t : texts)
    if (!t.text.IsEmpty())
      area = MakeRect(std::min(area.left, t.box.left), std::min(area.top, t.box.top),
                      std::max(area.right, t.box.right), std::max(area.bottom, t.box.bottom));
  const bool same = picture.bitmap.IsOk() && picture.fontKey == FontKey() && picture.back == m_backColour &&
                    SameRect(picture.band, band) && SameRect(picture.area, area) && picture.texts == texts;
  if (!same) {
    picture.bitmap = wxBitmap(std::max<int>(RectWidth(area), 1), std::max<int>(RectHeight(area), 1), 24);
    wxMemoryDC memory(picture.bitmap);
    if (wxGraphicsContext* gc = memory.GetGraphicsContext())
      gc->SetAntialiasMode(wxANTIALIAS_NONE);
    memory.SetDeviceOrigin(-area.left, -area.top);
    memory.SetFont(dc.GetFont());
    memory.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    FillRect(memory, area, m_backColour);
    DrawTexts(memory, texts, m_backColour, measure);
    picture.fontKey = FontKey();
    picture.back = m_backColour;
    picture.band = band;
    picture.area = area;
    picture.texts = std::move(texts);
  }
  dc.DrawBitmap(picture.bitmap, area.left, area.top);
}

void CZSpectrumWnd::DrawTraceLine(wxDC& dc)
{
  const wxPenStyle style = PenStyle(m_geometry.lineStyle);
  const std::vector<POINT>& points = m_geometry.points;
  const std::vector<size_t>& starts = m_geometry.runStarts;
  std::optional<CTraceRaster> raster;
  if (m_geometry.lineWidth <= 1 && style == wxPENSTYLE_SOLID)
    raster.emplace(dc);
  if (raster && raster->IsOpen()) {
    raster->DrawRuns(points, starts, m_geometry.colour, GetTraceClipRect());
    return;
  }
  const int width = std::max(m_geometry.lineWidth, 1);
  const wxPen pen(ToWxColour(m_geometry.colour), width, style);
  dc.SetPen(pen);
  for (size_t run = 0; run < starts.size(); ++run) {
    const size_t begin = starts[run];
    const size_t end = run + 1 < starts.size() ? starts[run + 1] : points.size();
    if (end - begin >= 2) {
      DrawPolyline(dc, points.data() + begin, end - begin);
    } else if (end == begin + 1 && style != wxPENSTYLE_TRANSPARENT) {
      // A polyline of one point strokes nothing: a lone sample is a dot as wide as the pen.
      dc.SetPen(*wxTRANSPARENT_PEN);
      dc.SetBrush(wxBrush(pen.GetColour()));
      dc.DrawRectangle(points[begin].x - (width - 1) / 2, points[begin].y - (width - 1) / 2, width, width);
      dc.SetPen(pen);
    }
  }
}

void CZSpectrumWnd::DrawTraces(wxDC& dc)
{
  if (m_traces.IsEmpty())
    return;
  ClipTo(dc, GetMarkerClipRect());
  DrawSegments(dc, WindowMarkerLines(), wxPENSTYLE_SOLID);
  SPlotSegment zero;
  if (ZeroLine(zero))
    DrawSegments(dc, {zero}, wxPENSTYLE_SOLID);

  for (CSpectrumData* trace : TracesInDrawingOrder()) {
    BuildTraceGeometry(*trace, m_geometry);
    ClipTo(dc, GetMarkerClipRect());
    DrawSegments(dc, m_geometry.markers, wxPENSTYLE_SOLID);
    ClipTo(dc, GetTraceClipRect());
    const wxColour colour = ToWxColour(m_geometry.colour);
    const std::vector<POINT>& points = m_geometry.points;
    switch (m_geometry.mark) {
    case ETraceMark::Line:
      DrawTraceLine(dc);
      break;
    case ETraceMark::Pixel:
      dc.SetPen(wxPen(colour, 1));
      for (const POINT& p : points)
        dc.DrawPoint(p.x, p.y);
      break;
    case ETraceMark::Symbol:
      // 21 pixels: a 5 x 5 square without its corners.
      dc.SetPen(*wxTRANSPARENT_PEN);
      dc.SetBrush(wxBrush(colour));
      for (const POINT& p : points) {
        dc.DrawRectangle(p.x - 2, p.y - 1, 5, 3);
        dc.DrawRectangle(p.x - 1, p.y - 2, 3, 5);
      }
      break;
    }
    DrawSegments(dc, m_geometry.peaks, wxPENSTYLE_SOLID);
  }
  dc.DestroyClippingRegion();
}
