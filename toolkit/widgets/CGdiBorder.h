#pragma once
// A bevelled frame painted with gradient brushes. Draw paints it around a rectangle and writes
// the area inside the frame back into that rectangle.
#include "WinTypes.h"

#include <cstdint>

#include <wx/graphics.h>

class CGdiBorder {
public:
  CGdiBorder() = default;
  virtual ~CGdiBorder() = default;

  // Styles: 0 chrome bevel, 1 dark to light, 2 light to dark, 3 light to dark with a reversed
  // inner ring, 4 path gradient, 5 nothing at all (the rectangle stays as it is). Returns 0.
  virtual int Draw(wxGraphicsContext& graphics, RECT* rect);

  void SetWidth(int width) { m_borderWidth = width; }
  void SetStyle(int style) { m_style = style; }
  void SetShape(int shape) { m_shape = shape; }
  void SetCornerDiameter(int diameter) { m_cornerDiameter = diameter; }
  void SetColours(uint32_t lightArgb, uint32_t darkArgb)
  {
    m_colour1 = lightArgb;
    m_colour2 = darkArgb;
  }
  int GetWidth() const { return m_borderWidth; }
  int GetStyle() const { return m_style; }
  int GetShape() const { return m_shape; }
  int GetCornerDiameter() const { return m_cornerDiameter; }

  // The rectangle of the last Draw, and whether that Draw left an inner outline.
  RECT GetRect() const { return RECT{m_x, m_y, m_x + m_width, m_y + m_height}; }
  bool HasInnerPath() const { return m_hasInner; }
  // Adds the inner outline of the last Draw (the border's shape over the inside).
  void AddInnerPath(wxGraphicsPath& path) const;

private:
  int m_x = 0;
  int m_y = 0;
  int m_width = 0;
  int m_height = 0;
  int m_borderWidth = 0;
  int m_cornerDiameter = 0;
  int m_style = 5;
  int m_shape = 0;
  // The inner outline is kept as its rectangle: a wx path belongs to the context that made it.
  bool m_hasInner = false;
  RECT m_inside;
  uint32_t m_colour1 = 0xFFF0F0F0;
  uint32_t m_colour2 = 0xFF101010;
};
