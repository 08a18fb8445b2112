#pragma once
// COLORREF (0x00BBGGRR, red in the low byte) to wx colours and back.
#include "WinTypes.h"

#include <wx/colour.h>

inline wxColour ToWxColour(COLORREF c, unsigned char alpha = wxALPHA_OPAQUE)
{
  return wxColour(GetRValue(c), GetGValue(c), GetBValue(c), alpha);
}

inline COLORREF ToColorref(const wxColour& c) { return RGB(c.Red(), c.Green(), c.Blue()); }

// GDI+ colours are 0xAARRGGBB.
inline wxColour ArgbToWxColour(uint32_t argb)
{
  return wxColour((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF, (argb >> 24) & 0xFF);
}
