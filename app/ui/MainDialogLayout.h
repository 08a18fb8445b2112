#pragma once
// Dialog 102, the main window, as a template: every control with its id, kind, text and rectangle
// in dialog units (the frame is 538 x 346). Placeholders are windows of the dialog's own making:
// the push-like check boxes, the progress bar, the three LCD read-outs and the plot frame.
#include "DialogUnits.h"

#include <span>

inline constexpr int kMainDialogWidthDlu = 538;
inline constexpr int kMainDialogHeightDlu = 346;
// Statics without a role of their own.
inline constexpr int kUnnamedStatic = wxID_ANY;

// Group boxes come before the controls they frame, so that those stay on top.
std::span<const SDialogControl> MainDialogControls();
// The rectangle of one control of the table (an empty one for an id it does not hold).
SDialogRect MainDialogRect(int id);
