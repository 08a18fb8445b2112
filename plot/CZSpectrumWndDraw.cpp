#include "CZSpectrumWnd.h"
#include "Colours.h"

#include <ZSpectrumData/CSpectrumData.h>
#include <wx/dcmemory.h>
#include <wx/graphics.h>

#include <functional>

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
    const SIZE size = measure.MeasureText(t.text);
    LONG x = t.box.left, y = t.box.top;
    if (t.align & PlotAlignHCentre)
      x += (RectWidth(t.box) - size.cx) / 2;
    else if (t.align & PlotAlignRight)
      x = t.box.right - size.cx;
    if (t.align & PlotAlignVCentre)
      y += (RectHeight(t.box) - size.cy) / 2;
    else if (t.align & PlotAlignBottom)
      y = t.box.bottom - size.cy;
    dc.DrawText(text, x, y);
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

void CZSpectrumWnd::DrawDottedLines(wxDC& dc, const std::vector<SPlotSegment>& segments)
{
  // A dashed stroke costs one small rectangle per dot; a fill with the dot pattern, one per line.
  dc.SetPen(*wxTRANSPARENT_PEN);
  for (const SPlotSegment& s : segments) {
    dc.SetBrush(DotBrush(s.colour));
    const int left = std::min(s.from.x, s.to.x), top = std::min(s.from.y, s.to.y);
    dc.DrawRectangle(left, top, std::abs(s.to.x - s.from.x) + 1, std::abs(s.to.y - s.from.y) + 1);
  }
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

void CZSpectrumWnd::DrawPolyline(wxDC& dc, const std::vector<POINT>& points)
{
  m_pointBuffer.resize(points.size());
  for (size_t i = 0; i < points.size(); ++i)
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
      DrawBackground(memory, rect);
      memory.SetPen(wxPen(ToWxColour(kFrameColour), 1));
      DrawPolyline(memory, FrameOutline());
      DrawTexts(memory, PlotAreaTexts(measure), m_backColour, measure);
      DrawSegments(memory, TickMarks(), wxPENSTYLE_SOLID);
      if (m_showXTitle)
        DrawXAxis(memory);
      if (HasData())
        DrawYAxis(memory);
      DrawDottedLines(memory, XGridLines());
      DrawDottedLines(memory, YGridLines());
      if (ShouldDrawTraces())
        DrawTraces(memory);
    }
  }
  m_pictureStamp = PictureStamp();
  dc.DrawBitmap(m_plotBitmap, area.left, area.top);
  DrawCursor(dc);
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
  if (m_traces.IsEmpty())
    return;
  if (wxGraphicsContext* gc = dc.GetGraphicsContext())
    gc->SetAntialiasMode(wxANTIALIAS_NONE);
  SelectPlotFont(dc);
  DcTextMeasure measure(dc, m_textSizes, FontKey());
  const SCursorOverlay overlay = CursorOverlay(measure);
  if (overlay.band) {
    // What an XOR outline over the plot colour would show.
    dc.SetPen(wxPen(ToWxColour(~m_plotColour & 0xFFFFFF), 1));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.DrawRectangle(ToWxRect(overlay.bandRect));
  }
  if (overlay.lines)
    DrawDottedLines(dc, {overlay.vertical, overlay.horizontal});
  // The focus frame of a box, dotted in the inverse of the background under it.
  const COLORREF frame = ~m_backColour & 0xFFFFFF;
  auto box = [&](const SPlotText& text) {
    DrawTexts(dc, {text}, m_backColour, measure);
    const RECT& r = text.box;
    const POINT corners[] = {
        {r.left, r.top}, {r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}};
    DrawDottedLines(dc, {{corners[0], corners[1], frame, 1},
                         {corners[1], corners[2], frame, 1},
                         {corners[3], corners[2], frame, 1},
                         {corners[0], corners[3], frame, 1}});
  };
  if (overlay.xBox)
    box(overlay.xText);
  if (overlay.yBox)
    box(overlay.yText);
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
      if (points.size() < 2)
        break;
      dc.SetPen(wxPen(colour, std::max(m_geometry.lineWidth, 1), PenStyle(m_geometry.lineStyle)));
      DrawPolyline(dc, points);
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
