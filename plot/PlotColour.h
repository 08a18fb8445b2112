#pragma once
// COLORREF (0x00BBGGRR, red in the low byte) as a wx colour.
#include <WinTypes.h>
#include <wx/colour.h>

inline wxColour ToWxColour(COLORREF colour)
{
  return wxColour(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}
