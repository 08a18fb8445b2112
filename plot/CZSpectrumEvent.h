#pragma once
// The plot window's notifications as wx events. Each event type has the number of the window
// message it stands for (WM_SPECTRUM_CURSOR ...), so the parent reads the same numbers it always
// did. The event id is the plot window's id; wParam and lParam are those of the message.
#include "PlotNotifications.h"

#include <wx/event.h>

class CZSpectrumEvent : public wxEvent {
public:
  explicit CZSpectrumEvent(wxEventType type = wxEVT_NULL, int windowId = 0, WPARAM wParam = 0,
                           LPARAM lParam = 0)
      : wxEvent(windowId, type), m_wParam(wParam), m_lParam(lParam)
  {}

  WPARAM GetWParam() const { return m_wParam; }
  LPARAM GetLParam() const { return m_lParam; }
  // What a handler of a sent notification gives back to the plot window.
  void SetResult(LRESULT result) { m_result = result; }
  LRESULT GetResult() const { return m_result; }

  wxEvent* Clone() const override { return new CZSpectrumEvent(*this); }

private:
  WPARAM m_wParam;
  LPARAM m_lParam;
  LRESULT m_result = 0;
};

// The window messages lie far below the numbers wxNewEventType hands out (10000 and up).
inline const wxEventTypeTag<CZSpectrumEvent> wxEVT_SPECTRUM_CURSOR(WM_SPECTRUM_CURSOR);
inline const wxEventTypeTag<CZSpectrumEvent> wxEVT_SPECTRUM_TRACES_CHANGED(WM_SPECTRUM_TRACES_CHANGED);
inline const wxEventTypeTag<CZSpectrumEvent> wxEVT_SPECTRUM_LIMITS_CHANGED(WM_SPECTRUM_LIMITS_CHANGED);
inline const wxEventTypeTag<CZSpectrumEvent> wxEVT_SPECTRUM_MARKER_MOVING(WM_SPECTRUM_MARKER_MOVING);
inline const wxEventTypeTag<CZSpectrumEvent> wxEVT_SPECTRUM_MARKER_DROPPED(WM_SPECTRUM_MARKER_DROPPED);
inline const wxEventTypeTag<CZSpectrumEvent> wxEVT_SPECTRUM_MENU_COMMAND(WM_SPECTRUM_MENU_COMMAND);
