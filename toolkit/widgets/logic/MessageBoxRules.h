#pragma once
// The house message box's rules that need no window: which buttons a type shows, which button a
// key presses, how big the box is for its text, and how the text wraps.
#include "CString.h"
#include "MessageBoxTypes.h"
#include "WinTypes.h"

#include <functional>
#include <vector>

// Every button of the box, in its layout order.
inline constexpr int kMessageBoxButtonOrder[] = {IDABORT, IDYES, IDNO, IDOK, IDRETRY, IDCANCEL, IDIGNORE};

// Buttons shown for a type (only its low four bits count), in the layout order.
std::vector<int> MessageBoxButtons(UINT type);
bool MessageBoxShowsButton(UINT type, int id);
// The button that Enter presses when no shown button has the focus; 0 when none is shown.
int MessageBoxDefaultButton(UINT type);

// The button that a key presses, or 0 when the key answers nothing. Enter presses the focused
// shown button, else the default one (in a box without buttons it ends the box with IDCANCEL); a
// letter presses the shown button it names (A, C, I, N, O, R, Y), but not with Ctrl or Alt held.
// Esc never answers.
struct SMessageBoxKey {
  int keyCode = 0; // wx key code: letters as upper-case ASCII, WXK_RETURN, WXK_ESCAPE...
  bool ctrl = false;
  bool alt = false;
  int focusedButton = 0; // id of the button with the focus, 0 when none
};
int MessageBoxKeyButton(UINT type, const SMessageBoxKey& key);

// Sizes in pixels. The text is measured after wrapping, so its height fits it.
struct SMessageBoxMeasure {
  int buttons = 0; // number of buttons shown
  bool showImage = false;
  int textWidth = 0;  // widest line of the wrapped text
  int textHeight = 0; // height of the wrapped text
  int averageCharWidth = 0;
  int textOverhead = 42; // client width beside the text: margins, icon and spacing
  int minimumHeight = 0; // client height the laid-out controls need beside the text
};
struct SMessageBoxSize {
  int width = 0;
  int height = 0;
  int textWidth = 0;
  int textHeight = 0;
};
int MessageBoxMaxTextWidth(bool showImage);
SMessageBoxSize MessageBoxSize(const SMessageBoxMeasure& measure);

// Breaks the text into lines no wider than maxWidth: at blanks where it can, inside a word only
// when the word alone is too wide. Existing line breaks stay.
CString WrapMessageText(const CString& text, int maxWidth,
                        const std::function<int(const CString&)>& measureWidth);
