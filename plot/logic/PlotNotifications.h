#pragma once
// What the plot window tells its parent. The numbers are the window messages WM_USER + 0x300 to
// WM_USER + 0x305 that the parent has always received; the GUI turns them into wx event types with
// the same numbers.
#include <WinTypes.h>

constexpr UINT WM_SPECTRUM_CURSOR = 0x700;         // wParam control id, lParam 0; posted
constexpr UINT WM_SPECTRUM_TRACES_CHANGED = 0x701; // wParam 0, lParam 0; posted
constexpr UINT WM_SPECTRUM_LIMITS_CHANGED = 0x702; // wParam control id, lParam 0 for X, 1 for Y; posted
constexpr UINT WM_SPECTRUM_MARKER_MOVING = 0x703;  // wParam control id, lParam SSpectrumMarker*; sent
constexpr UINT WM_SPECTRUM_MARKER_DROPPED = 0x704; // wParam control id, lParam SSpectrumMarker*; sent
constexpr UINT WM_SPECTRUM_MENU_COMMAND = 0x705;   // wParam control id, lParam command id; posted

// The receiver of the notifications: the parent window, or a recorder in tests.
class IPlotNotificationSink {
public:
  // Queued: the receiver sees it after the call that raised it has returned.
  virtual void PostNotification(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Handled before the call that raised it returns.
  virtual LRESULT SendNotification(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
  ~IPlotNotificationSink() = default;
};
