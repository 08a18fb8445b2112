#pragma once
// Path shapes of the house widgets' GDI+-style drawing.
#include "WinTypes.h"

#include <wx/graphics.h>

// Adds a closed rounded rectangle; the corner diameter is cut to the width and height. The
// path should be empty (wx paths cannot be reset).
void AddRoundRect(wxGraphicsPath& path, int cornerDiameter, int x, int y, int width, int height);

// Border shapes: 0 rectangle, 1 circle (a square centred in the rectangle), 2 ellipse, 3 rounded
// rectangle.
void AddBorderShape(wxGraphicsPath& path, int shape, int cornerDiameter, const RECT& rect);
