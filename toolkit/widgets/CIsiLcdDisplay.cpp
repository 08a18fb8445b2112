#include "CIsiLcdDisplay.h"

#include "Colours.h"
#include "EmbeddedResources.h"
#include "GdiPlusHelpers.h"
#include "SColourHSL.h"

#include <algorithm>
#include <cmath>

#include <wx/timer.h>

namespace {
constexpr COLORREF kNoHighlight = 0xFFFFFFFF;
constexpr COLORREF kWhiteHighlight = 0xFFFFFF;
// The shine fills the shape's outline shrunk once more to four fifths.
constexpr float kShineShrink = 0.95f * 0.8f;

wxGraphicsPath PolygonPath(wxGraphicsContext& g, const std::vector<SLcdPoint>& points)
{
  wxGraphicsPath path = g.CreatePath();
  if (points.empty())
    return path;
  path.MoveToPoint(points[0].x, points[0].y);
  for (size_t i = 1; i < points.size(); ++i)
    path.AddLineToPoint(points[i].x, points[i].y);
  path.CloseSubpath();
  return path;
}

float Extent(const std::vector<SLcdPoint>& points)
{
  float extent = 0.5f;
  for (const SLcdPoint& p : points)
    extent = std::max({extent, std::fabs(p.x), std::fabs(p.y)});
  return extent;
}

wxColour Mix(const wxColour& from, const wxColour& to, float share)
{
  auto channel = [share](unsigned char a, unsigned char b) {
    return (unsigned char)std::lround(a + (b - a) * share);
  };
  return wxColour(channel(from.Red(), to.Red()), channel(from.Green(), to.Green()),
                  channel(from.Blue(), to.Blue()));
}
} // namespace

CIsiLcdDisplay::CIsiLcdDisplay() : m_timers(this)
{
  Bind(wxEVT_TIMER, [this](wxTimerEvent& event) { OnTimer(UINT_PTR(event.GetId())); });
}

CIsiLcdDisplay::~CIsiLcdDisplay()
{
  m_timers.KillAll();
}

bool CIsiLcdDisplay::Create(const CString& text, long style, const RECT& rect, wxWindow* parent, UINT id)
{
  if (!CIsiCompBase::Create(parent, wxWindowID(id), wxPoint(rect.left, rect.top),
                            wxSize(rect.right - rect.left, rect.bottom - rect.top), style))
    return false;
  SetWindowText(text);
  return true;
}

void CIsiLcdDisplay::OnCreate()
{
  SetBlinkPeriod(m_blinkPeriod);
  SetStepPeriod(m_stepPeriod);
}

void CIsiLcdDisplay::CopySettings(const CIsiLcdDisplay& other)
{
  m_dirty = other.m_dirty;
  m_minimum = other.m_minimum;
  m_maximum = other.m_maximum;
  m_value = other.m_value;
  m_digits = other.m_digits;
  m_decimals = other.m_decimals;
  m_glareAlpha = other.m_glareAlpha;
  m_transparent = other.m_transparent;
}

void CIsiLcdDisplay::SetValue(double value)
{
  m_value = value;
  if (GetHandle())
    Refresh(true);
}

double CIsiLcdDisplay::GetValue() const
{
  return m_value;
}

void CIsiLcdDisplay::SetTextMode(BOOL textMode)
{
  m_textMode = textMode;
  MarkDirty();
  if (GetHandle())
    Refresh(true);
}

void CIsiLcdDisplay::SetScaleFactor(float scale)
{
  m_scaleFactor = scale;
  if (GetHandle())
    Refresh(true);
}

void CIsiLcdDisplay::SetDisplayMode(int mode)
{
  m_displayMode = mode;
  MarkDirty();
  if (GetHandle())
    Refresh(true);
}

void CIsiLcdDisplay::SetHexMode(BOOL hexMode)
{
  m_hexMode = hexMode;
  MarkDirty();
  if (GetHandle())
    Refresh(true);
}

void CIsiLcdDisplay::SetStepPeriod(UINT milliseconds)
{
  m_stepPeriod = milliseconds;
  m_stepCounter = 0;
  if (!GetHandle())
    return;
  if (milliseconds)
    m_timers.SetTimer(kStepTimer, milliseconds);
  else
    m_timers.KillTimer(kStepTimer);
  Refresh(true);
}

void CIsiLcdDisplay::SetBlinkPeriod(UINT milliseconds)
{
  m_blinkPeriod = milliseconds;
  m_blinkPhase = TRUE;
  if (!GetHandle())
    return;
  if (milliseconds)
    m_timers.SetTimer(kBlinkTimer, milliseconds);
  else
    m_timers.KillTimer(kBlinkTimer);
  Refresh(true);
}

void CIsiLcdDisplay::OnTimer(UINT_PTR id)
{
  if (id == kBlinkTimer)
    m_blinkPhase = !m_blinkPhase;
  else if (id == kStepTimer)
    ++m_stepCounter;
  else
    return;
  Refresh(true);
}

bool CIsiLcdDisplay::LoadDotMatrixFont(UINT bitmapId)
{
  return LoadDotMatrixFont(LoadEmbeddedImage(int(bitmapId)));
}

bool CIsiLcdDisplay::LoadDotMatrixFont(const wxImage& bitmap)
{
  m_font = SDotMatrixFont();
  MarkDirty();
  bool loaded = false;
  if (bitmap.IsOk()) {
    const unsigned char* rgb = bitmap.GetData();
    const int width = bitmap.GetWidth();
    auto differs = [rgb, width](int x, int y) {
      const unsigned char* p = rgb + 3 * (size_t(y) * size_t(width) + size_t(x));
      return p[0] != rgb[0] || p[1] != rgb[1] || p[2] != rgb[2];
    };
    loaded = CutDotMatrixFont(width, bitmap.GetHeight(), differs, m_font);
  }
  if (GetHandle())
    Refresh(true);
  return loaded;
}

SLcdTextSettings CIsiLcdDisplay::TextSettings() const
{
  SLcdTextSettings s;
  s.mode = m_displayMode;
  s.digits = m_digits;
  s.decimals = m_decimals;
  s.showSign = m_showSign != FALSE;
  s.hexMode = m_hexMode != FALSE;
  s.textMode = m_textMode != FALSE;
  return s;
}

int CIsiLcdDisplay::UpdateCellCount()
{
  SLcdTextSettings s = TextSettings();
  const int count = LcdCellCount(s);
  m_digits = s.digits;
  m_decimals = s.decimals;
  return count;
}

COLORREF CIsiLcdDisplay::UnlitColour() const
{
  return m_unlitColour ? m_unlitColour : ScaleLightness(m_litColour, 0.125f);
}

COLORREF CIsiLcdDisplay::HighlightColour() const
{
  return m_highlightColour ? m_highlightColour : ScaleLightness(m_litColour, 2.0f);
}

RECT CIsiLcdDisplay::GetCellRect(int cell) const
{
  const int left = m_inside.left + cell * m_cellWidth;
  return RECT{left, m_inside.top, left + m_cellWidth, m_inside.bottom};
}

wxPoint CIsiLcdDisplay::GetSegmentCentre(int cell, int column) const
{
  const RECT r = GetCellRect(cell);
  if (column < 0 || size_t(column) >= m_geometry.anchors.size())
    return wxPoint(r.left, r.top);
  const SLcdPoint a = m_geometry.anchors[size_t(column)];
  return wxPoint(r.left + int(std::lround(a.x)), r.top + int(std::lround(a.y)));
}

wxPoint CIsiLcdDisplay::GetDotCentre(int cell, int x, int y) const
{
  const RECT r = GetCellRect(cell);
  if (x < 0 || y < 0 || x >= m_geometry.fontWidth || y >= m_geometry.fontHeight)
    return wxPoint(r.left, r.top);
  const SLcdPoint d = m_geometry.Dot(x, y);
  return wxPoint(r.left + int(std::lround(d.x)), r.top + int(std::lround(d.y)));
}

void CIsiLcdDisplay::BuildShapes(wxGraphicsContext& g)
{
  for (int kind = 0; kind < kShapeKinds; ++kind) {
    m_shapes[kind] = PolygonPath(g, LcdShapeOutline(m_geometry, ELcdShape(kind)));
    const std::vector<SLcdPoint> inner = LcdShapeOutline(m_geometry, ELcdShape(kind), kShineShrink);
    m_shapes[kShapeKinds + kind] = PolygonPath(g, inner);
    m_shineRadius[kind] = Extent(inner);
  }
  m_shapesBuilt = true;
}

void CIsiLcdDisplay::CellTransform(wxGraphicsContext& g, int cell)
{
  g.SetTransform(g.CreateMatrix());
  g.Translate(m_inside.left + cell * m_cellWidth, m_inside.top);
}

void CIsiLcdDisplay::FillShape(wxGraphicsContext& g, ELcdShape shape, SLcdPoint at, COLORREF colour,
                               bool shine)
{
  if (!m_shapesBuilt)
    return;
  g.PushState();
  g.Translate(at.x, at.y);
  g.SetPen(*wxTRANSPARENT_PEN);
  g.SetBrush(wxBrush(ToWxColour(colour)));
  g.FillPath(m_shapes[int(shape)]);
  if (shine) {
    // The shine is a path gradient over the inner outline; wx has radial gradients only, so
    // the centre colour fades out over the shape's half length.
    const wxColour lit = ToWxColour(colour), centre = ToWxColour(HighlightColour());
    wxGraphicsGradientStops stops(centre, lit);
    stops.Add(Mix(lit, centre, 0.8f), 0.6f);
    stops.Add(Mix(lit, centre, 0.5f), 0.75f);
    g.SetBrush(g.CreateRadialGradientBrush(0, 0, 0, 0, m_shineRadius[int(shape)], stops));
    g.FillPath(m_shapes[kShapeKinds + int(shape)]);
  }
  g.PopState();
}

void CIsiLcdDisplay::DrawUnlitCell(wxGraphicsContext& g, int cell)
{
  CellTransform(g, cell);
  const COLORREF colour = UnlitColour();
  auto column = [&](int c) {
    FillShape(g, LcdShapeOfColumn(m_displayMode, c), m_geometry.anchors[size_t(c)], colour, false);
  };
  if (IsSegmentMode(m_displayMode)) {
    const bool seven = m_displayMode == kLcdSevenSegment;
    if (cell == 0 && m_showSign) {
      column(seven ? kSevenMinus : kSixteenMinus);
      column(seven ? kSevenPlus : kSixteenPlus);
    } else {
      for (int c = 0, n = seven ? 7 : 16; c < n; ++c)
        column(c);
    }
    if (cell < m_cellCount - 1) {
      column(seven ? kSevenPoint : kSixteenPoint);
      column(seven ? kSevenColonTop : kSixteenColonTop);
      column(seven ? kSevenColonBottom : kSixteenColonBottom);
    }
    return;
  }
  for (const SLcdPoint& dot : m_geometry.dots)
    FillShape(g, ELcdShape::Dot, dot, colour, false);
}

void CIsiLcdDisplay::DrawLitCell(wxGraphicsContext& g, const SLcdCell& cell)
{
  const bool shine = m_highlightColour != kNoHighlight && m_highlightColour != kWhiteHighlight;
  auto column = [&](int c) {
    FillShape(g, LcdShapeOfColumn(m_displayMode, c), m_geometry.anchors[size_t(c)], m_litColour, shine);
  };
  const uint32_t code = uint32_t(cell.code);
  if (m_displayMode == kLcdSevenSegment || m_displayMode == kLcdSixteenSegment) {
    const bool seven = m_displayMode == kLcdSevenSegment;
    // A sign character lights the cell's own segments; the sign shapes of the sixteen-segment
    // cell are only ever drawn unlit.
    const uint32_t mask = seven ? SevenSegmentMask(code) : SixteenSegmentMask(code);
    for (int c = 0, n = seven ? 9 : 16; c < n; ++c)
      if (mask & (1u << c))
        column(c);
    if (cell.point)
      column(seven ? kSevenPoint : kSixteenPoint);
    if (cell.colon) {
      column(seven ? kSevenColonTop : kSixteenColonTop);
      column(seven ? kSevenColonBottom : kSixteenColonBottom);
    }
    return;
  }
  const int glyph = DotMatrixGlyphIndex(code);
  if (!m_font.IsLoaded() || glyph < 0 || m_geometry.dots.empty())
    return;
  for (int y = 0; y < m_font.height; ++y)
    for (int x = 0; x < m_font.width; ++x)
      if (m_font.Dot(glyph, x, y))
        FillShape(g, ELcdShape::Dot, m_geometry.Dot(x, y), m_litColour, shine);
}

void CIsiLcdDisplay::DrawGlare(wxGraphicsContext& g, const RECT& r)
{
  const double width = r.right - r.left, height = r.bottom - r.top;
  wxGraphicsPath path = g.CreatePath();
  double top = r.top, bottom = r.top;
  const int shape = m_border.GetShape();
  if (shape == 1 || shape == 2) {
    top = r.top + 0.03 * height;
    bottom = top + 0.7 * height;
    path.AddEllipse(r.left + 0.1 * width, top, 0.8 * width, 0.7 * height);
  } else {
    const int m = m_glareCornerDiameter ? m_glareCornerDiameter / 4 : 2;
    top = r.top + m;
    bottom = top + 0.6 * height;
    AddRoundRect(path, m_glareCornerDiameter, r.left + m, r.top + m, int(width) - 2 * m, int(0.6 * height));
  }
  g.SetPen(*wxTRANSPARENT_PEN);
  g.SetBrush(g.CreateLinearGradientBrush(r.left, top, r.left, bottom, wxColour(255, 255, 255, m_glareAlpha),
                                         wxColour(255, 255, 255, 0)));
  g.FillPath(path);
}

BOOL CIsiLcdDisplay::PaintBackground(wxGraphicsContext& g, RECT* rect)
{
  m_border.Draw(g, rect);
  m_inside = *rect;
  if (!m_transparent) {
    wxGraphicsPath inside = g.CreatePath();
    if (m_border.HasInnerPath())
      m_border.AddInnerPath(inside);
    else
      AddBorderShape(inside, m_border.GetShape(), m_border.GetCornerDiameter(), *rect);
    g.SetPen(*wxTRANSPARENT_PEN);
    g.SetBrush(wxBrush(ToWxColour(m_backColour)));
    g.FillPath(inside);
  }
  m_cellCount = UpdateCellCount();
  m_cellWidth = (rect->right - rect->left) / m_cellCount;
  m_geometry = BuildLcdGeometry(m_displayMode, m_cellWidth, rect->bottom - rect->top, m_scaleFactor,
                                m_font.width, m_font.height);
  BuildShapes(g);
  if (m_showUnlit)
    for (int cell = 0; cell < m_cellCount; ++cell)
      DrawUnlitCell(g, cell);
  g.SetTransform(g.CreateMatrix());
  return CIsiCompBase::PaintBackground(g, rect);
}

void CIsiLcdDisplay::PaintContent(wxGraphicsContext& g, RECT* /*rect*/)
{
  if (!m_blinkPhase || !m_cellsVisible)
    return;
  const CString text = m_textMode ? GetWindowText() : LcdValueText(m_value, TextSettings(), m_cellCount);
  const std::vector<SLcdCell> cells =
      LcdCells(text, m_displayMode, m_cellCount, m_stepPeriod != 0, m_stepCounter);
  for (size_t i = 0; i < cells.size(); ++i) {
    CellTransform(g, int(i));
    DrawLitCell(g, cells[i]);
  }
  g.SetTransform(g.CreateMatrix());
  if (m_glareAlpha)
    DrawGlare(g, m_inside);
}
