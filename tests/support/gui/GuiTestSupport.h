#pragma once
#include <wx/bitmap.h>
#include <wx/string.h>

class wxWindow;

// Lets the window system deliver pending events (paint, size, show) for about the given time.
void PumpEvents(int milliseconds = 50);

// What the window shows on screen now, as a bitmap of its client area.
wxBitmap CaptureWindow(wxWindow* window);

// Saves what the window shows as <build>/snapshots/<name>.png for people to look at; returns the
// path written, or an empty text when it could not be written.
wxString SaveSnapshot(wxWindow* window, const wxString& name);
