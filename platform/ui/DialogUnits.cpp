#include "DialogUnits.h"

#include "MessageBoxTypes.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/listbox.h>
#include <wx/radiobut.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

int ToWindowId(int controlId)
{
  if (controlId == IDOK)
    return wxID_OK;
  if (controlId == IDCANCEL)
    return wxID_CANCEL;
  return controlId;
}

int FromWindowId(int windowId)
{
  if (windowId == wxID_OK)
    return IDOK;
  if (windowId == wxID_CANCEL)
    return IDCANCEL;
  return windowId;
}

wxRect DialogUnitsToPixels(const wxWindow* dialog, const SDialogRect& rect)
{
  wxPoint origin = dialog->ConvertDialogToPixels(wxPoint(rect.x, rect.y));
  return wxRect(origin, DialogUnitsToPixels(dialog, rect.cx, rect.cy));
}

wxSize DialogUnitsToPixels(const wxWindow* dialog, int cx, int cy)
{
  return dialog->ConvertDialogToPixels(wxSize(cx, cy));
}

namespace {
wxWindow* NewControl(wxWindow* dialog, const SDialogControl& control, const wxRect& r)
{
  const int id = ToWindowId(control.id);
  const wxString text(control.text ? control.text : L"");
  const long style = control.style;
  switch (control.kind) {
  case EDialogControlKind::PushButton:
    return new wxButton(dialog, id, text, r.GetPosition(), r.GetSize(), style);
  case EDialogControlKind::DefPushButton: {
    auto* button = new wxButton(dialog, id, text, r.GetPosition(), r.GetSize(), style);
    button->SetDefault();
    return button;
  }
  case EDialogControlKind::Label:
    return new wxStaticText(dialog, id, text, r.GetPosition(), r.GetSize(), style | wxST_NO_AUTORESIZE);
  case EDialogControlKind::Edit:
    return new wxTextCtrl(dialog, id, text, r.GetPosition(), r.GetSize(), style);
  case EDialogControlKind::MultiEdit:
    return new wxTextCtrl(dialog, id, text, r.GetPosition(), r.GetSize(), style | wxTE_MULTILINE);
  case EDialogControlKind::CheckBox:
    return new wxCheckBox(dialog, id, text, r.GetPosition(), r.GetSize(), style);
  case EDialogControlKind::RadioButton:
    return new wxRadioButton(dialog, id, text, r.GetPosition(), r.GetSize(), style);
  case EDialogControlKind::DropList:
    return new wxChoice(dialog, id, r.GetPosition(), r.GetSize(), 0, nullptr, style);
  case EDialogControlKind::ComboBox:
    return new wxComboBox(dialog, id, text, r.GetPosition(), r.GetSize(), 0, nullptr, style);
  case EDialogControlKind::ListBox:
    return new wxListBox(dialog, id, r.GetPosition(), r.GetSize(), 0, nullptr, style);
  case EDialogControlKind::GroupBox:
    return new wxStaticBox(dialog, id, text, r.GetPosition(), r.GetSize(), style);
  case EDialogControlKind::Bitmap:
    return new wxStaticBitmap(dialog, id, wxNullBitmap, r.GetPosition(), r.GetSize(), style);
  case EDialogControlKind::Placeholder:
    break;
  }
  return nullptr;
}

bool KeepsTemplateSize(EDialogControlKind kind)
{
  return kind == EDialogControlKind::Label || kind == EDialogControlKind::GroupBox ||
         kind == EDialogControlKind::Bitmap || kind == EDialogControlKind::ListBox ||
         kind == EDialogControlKind::MultiEdit;
}
} // namespace

wxWindow* CreateDialogControl(wxWindow* dialog, const SDialogControl& control)
{
  const wxRect r = DialogUnitsToPixels(dialog, control.rect);
  wxWindow* window = NewControl(dialog, control, r);
  if (window && !KeepsTemplateSize(control.kind)) {
    wxSize best = window->GetBestSize();
    window->SetSize(r.x, r.y, std::max(r.width, best.x), std::max(r.height, best.y));
  }
  return window;
}

void CreateDialogControls(wxWindow* dialog, std::span<const SDialogControl> controls)
{
  for (const SDialogControl& control : controls)
    CreateDialogControl(dialog, control);
}
