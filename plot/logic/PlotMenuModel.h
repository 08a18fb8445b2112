#pragma once
// The plot window's context menu as data: which entries it shows, in which order, enabled and
// checked, decided from the plot's state and the permissions its owner set. The window turns the
// entries into a real pop-up; tests read them directly.
#include <CString.h>
#include <WinTypes.h>

#include <vector>

// Command ids of the context menu (menu 302). The three edit commands keep the framework's ids.
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_SPECTRUM_SETTINGS = 40001;
constexpr UINT ID_SPECTRUM_HOLD = 40002;
constexpr UINT ID_SPECTRUM_CLEAR_HOLD = 40003;
constexpr UINT ID_SPECTRUM_COPY_ALL = 40012;
constexpr UINT ID_SPECTRUM_MASK = 40013;
constexpr UINT ID_SPECTRUM_ENABLE_MASKING = 40014;
constexpr UINT ID_SPECTRUM_UNMASK = 40015;

struct SPlotMenuState {
  int traceCount = 0;
  bool activeIsOwnedCopy = false;
  bool holdPresent = false;
  bool hasCursorPoint = false;
  bool cursorPointMasked = false;
  bool maskEnabled = false;
  bool canPaste = false; // the clipboard holds text that Paste takes
  bool allowCut = false;
  bool allowHold = true;
  bool allowMasking = true;
  bool allowPaste = false;
  bool allowSettings = true;
};

struct SPlotMenuEntry {
  UINT id = 0;
  CString caption;
  bool enabled = true;
  bool checkable = false;
  bool checked = false;
  bool operator==(const SPlotMenuEntry&) const = default;
};

// The built-in entries that show for that state; the owner's own items go after them.
std::vector<SPlotMenuEntry> BuildPlotMenu(const SPlotMenuState& state);
