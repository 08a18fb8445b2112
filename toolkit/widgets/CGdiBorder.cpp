#include "CGdiBorder.h"

#include "Colours.h"
#include "GdiPlusHelpers.h"

#include <algorithm>
#include <cmath>

namespace {
RECT Inset(const RECT& r, int by)
{
  return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

wxGraphicsGradientStops Blend(std::initializer_list<std::pair<uint32_t, float>> stops)
{
  auto first = *stops.begin(), last = *(stops.end() - 1);
  wxGraphicsGradientStops result(ArgbToWxColour(first.first), ArgbToWxColour(last.first));
  for (auto it = stops.begin() + 1; it + 1 != stops.end(); ++it)
    result.Add(ArgbToWxColour(it->first), it->second);
  return result;
}

wxGraphicsBrush Vertical(wxGraphicsContext& g, const RECT& r, const wxGraphicsGradientStops& stops)
{
  return g.CreateLinearGradientBrush(r.left, r.top, r.left, r.bottom, stops);
}

void FillRing(wxGraphicsContext& g, const wxGraphicsBrush& brush, int shape, int corner, const RECT& outer,
              const RECT& inner)
{
  wxGraphicsPath ring = g.CreatePath();
  AddBorderShape(ring, shape, corner, outer);
  AddBorderShape(ring, shape, corner, inner);
  g.SetBrush(brush);
  g.FillPath(ring, wxODDEVEN_RULE);
}
} // namespace

int CGdiBorder::Draw(wxGraphicsContext& g, RECT* rect)
{
  m_x = rect->left;
  m_y = rect->top;
  m_width = rect->right - rect->left;
  m_height = rect->bottom - rect->top;
  m_hasInner = false;
  if (m_style == 5)
    return 0;

  const RECT outer = *rect;
  // The share of the frame taken by the outer ring: two thirds for the two-ring styles.
  const bool twoRings = m_style == 0 || m_style == 3;
  const int outerInset = twoRings ? m_borderWidth * 2 / 3 : m_borderWidth;
  const int innerInset = twoRings ? m_borderWidth / 3 : 0;
  const RECT inner = Inset(outer, outerInset);
  const RECT inside = Inset(inner, innerInset);
  const wxColour c1 = ArgbToWxColour(m_colour1), c2 = ArgbToWxColour(m_colour2);

  switch (m_style) {
  case 0:
    FillRing(g,
             Vertical(g, outer,
                      Blend({{0xFF8C8887, 0.0f},
                             {0xFFFFFFFF, 0.05f},
                             {0xFFFFFFFF, 0.5f},
                             {0xFF787878, 0.6f},
                             {0xFFF7F1F3, 0.7f},
                             {0xFF949494, 1.0f}})),
             m_shape, m_cornerDiameter, outer, inner);
    FillRing(
        g,
        Vertical(g, outer,
                 Blend({{0xFF535353, 0.0f}, {0xFFE8E8E8, 0.25f}, {0xFF4D4D4D, 0.5f}, {0xFFF4F5F7, 1.0f}})),
        m_shape, m_cornerDiameter, inner, inside);
    break;
  case 1:
    FillRing(g, Vertical(g, outer, wxGraphicsGradientStops(c2, c1)), m_shape, m_cornerDiameter, outer, inner);
    break;
  case 2:
    FillRing(g, Vertical(g, outer, wxGraphicsGradientStops(c1, c2)), m_shape, m_cornerDiameter, outer, inner);
    break;
  case 3:
    FillRing(g, Vertical(g, outer, wxGraphicsGradientStops(c1, c2)), m_shape, m_cornerDiameter, outer, inner);
    FillRing(g, Vertical(g, outer, wxGraphicsGradientStops(c2, c1)), m_shape, m_cornerDiameter, inner,
             inside);
    break;
  case 4: {
    // A path gradient has no wx counterpart: a radial one from the inset centre, solid colour 1
    // over the focus share, comes close.
    const double cx = (inner.left + inner.right) / 2.0, cy = (inner.top + inner.bottom) / 2.0;
    const double insetWidth = std::max<double>(inner.right - inner.left, 1);
    const double insetHeight = std::max<double>(inner.bottom - inner.top, 1);
    const double focus = std::clamp(
        std::min(1 - 2 * m_borderWidth / insetWidth, 1 - 2 * m_borderWidth / insetHeight), 0.0, 0.99);
    wxGraphicsGradientStops stops(c1, c2);
    stops.Add(c1, float(focus));
    wxGraphicsPath whole = g.CreatePath();
    AddBorderShape(whole, m_shape, m_cornerDiameter, outer);
    g.SetBrush(g.CreateRadialGradientBrush(cx, cy, cx, cy, std::hypot(m_width, m_height) / 2, stops));
    g.FillPath(whole);
    break;
  }
  default:
    return 0;
  }
  m_hasInner = true;
  m_inside = inside;
  *rect = inside;
  return 0;
}

void CGdiBorder::AddInnerPath(wxGraphicsPath& path) const
{
  if (m_hasInner)
    AddBorderShape(path, m_shape, m_cornerDiameter, m_inside);
}
