#pragma once
#include "Colours.h"

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/image.h>
#include <wx/string.h>

#include <functional>
#include <ostream>

class wxWindow;

// Lets the window system deliver pending events (paint, size, show) for about the given time.
void PumpEvents(int milliseconds = 50);

// Pumps events until the condition holds or the time is up; whether it held. What a window shows
// on screen lags its paint by a frame or more, so tests of the screen wait for it this way.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMilliseconds = 2000);

// Whether the sanitizers unwind the whole stack at every allocation, as the sanitizer build's GUI
// tests do for their leak check: everything then runs several times slower than it would, and a
// bound on real time says nothing about the program.
bool AllocationsUnwoundInFull();

// What the window shows on screen now, as a bitmap of its client area. Its top-level window is
// raised first; other test programs may still cover it for a moment, so compare in WaitUntil.
wxBitmap CaptureWindow(wxWindow* window);

// Saves what the window shows as <build>/snapshots/<name>.png for people to look at; returns the
// path written, or an empty text when it could not be written.
wxString SaveSnapshot(wxWindow* window, const wxString& name);
// The same for a picture painted off screen.
wxString SaveSnapshot(const wxBitmap& bitmap, const wxString& name);

// The colour of one pixel of a picture, for comparing with the colour expected there.
inline wxColour ColourAt(const wxImage& image, int x, int y)
{
  return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

// The same as a COLORREF, for comparing with the colours a window was given.
inline COLORREF PixelAt(const wxImage& image, int x, int y)
{
  return ToColorref(ColourAt(image, x, y));
}

// Lets GoogleTest show a colour as its RGB value in failure messages.
inline void PrintTo(const wxColour& colour, std::ostream* os)
{
  *os << "RGB(" << int(colour.Red()) << ", " << int(colour.Green()) << ", " << int(colour.Blue()) << ")";
}
