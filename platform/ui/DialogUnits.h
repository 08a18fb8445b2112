#pragma once
// Dialog templates as tables: each control's id, kind, text and rectangle in dialog units,
// converted to pixels with the dialog's font. GTK's minimum sizes win where they are larger.
#include "WinTypes.h"

#include <span>

#include <wx/gdicmn.h>

class wxWindow;

// Control ids 1 (OK) and 2 (Cancel) are wxID_OK and wxID_CANCEL as window ids, so
// that wx's own dialog logic recognises them; every other id is its own window id.
int ToWindowId(int controlId);
int FromWindowId(int windowId);

struct SDialogRect {
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
};

enum class EDialogControlKind {
  PushButton,
  DefPushButton,
  Label,       // static text
  Edit,        // single-line edit
  MultiEdit,   // multi-line edit
  CheckBox,
  RadioButton,
  DropList,    // combo box without an edit field
  ComboBox,    // combo box with an edit field
  ListBox,
  GroupBox,
  Bitmap,      // static picture or icon, filled in by the dialog
  Placeholder, // no control: the dialog creates its own window in this rectangle
};

struct SDialogControl {
  int id = 0;
  EDialogControlKind kind = EDialogControlKind::Label;
  SDialogRect rect;
  const wchar_t* text = L"";
  long style = 0; // extra wx style bits
};

wxRect DialogUnitsToPixels(const wxWindow* dialog, const SDialogRect& rect);
wxSize DialogUnitsToPixels(const wxWindow* dialog, int cx, int cy);

// Creates one control of a template on its dialog; nullptr for a placeholder.
wxWindow* CreateDialogControl(wxWindow* dialog, const SDialogControl& control);
void CreateDialogControls(wxWindow* dialog, std::span<const SDialogControl> controls);
