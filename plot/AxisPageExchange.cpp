#include "AxisPageExchange.h"

#include "CLocale.h"
#include "StandardMessageBox.h"
#include "StringFormat.h"

#include <wx/checkbox.h>
#include <wx/textctrl.h>

#include <cmath>
#include <cwctype>
#include <limits>

namespace {
bool ParseFloat(const std::wstring& text, float& value)
{
  const wchar_t* start = text.c_str();
  const wchar_t* end = nullptr;
  const double parsed = wcstod_c(start, &end);
  if (end == start)
    return false;
  while (*end == L' ' || *end == L'\t')
    ++end;
  if (*end != L'\0' || !std::isfinite(parsed) || std::fabs(parsed) > std::numeric_limits<float>::max())
    return false;
  value = float(parsed);
  return true;
}
} // namespace

void ExchangeCheck(wxWindow* page, int id, BOOL& value, bool save)
{
  auto* box = dynamic_cast<wxCheckBox*>(page->FindWindow(id));
  if (!box)
    return;
  if (save)
    value = box->GetValue() ? TRUE : FALSE;
  else
    box->SetValue(value != FALSE);
}

bool ExchangeFloat(wxWindow* page, int id, float& value, bool save)
{
  auto* edit = dynamic_cast<wxTextCtrl*>(page->FindWindow(id));
  if (!edit)
    return true;
  if (!save) {
    // No change event: only typing counts as the user's choice of a limit.
    edit->ChangeValue(wxString(FormatW(L"%g", double(value))));
    return true;
  }
  if (ParseFloat(edit->GetValue().ToStdWstring(), value))
    return true;
  AfxMessageBox(L"Please enter a number.", MB_OK);
  edit->SetFocus();
  edit->SelectAll();
  return false;
}

void EnableControl(wxWindow* page, int id, bool enable)
{
  if (wxWindow* control = page->FindWindow(id))
    control->Enable(enable);
}

void BindLimitEdit(wxWindow* page, int editId, int autoId, BOOL& automatic)
{
  page->Bind(
      wxEVT_TEXT,
      [page, autoId, &automatic](wxCommandEvent&) {
        automatic = FALSE;
        static_cast<wxCheckBox*>(page->FindWindow(autoId))->SetValue(false);
      },
      editId);
}
