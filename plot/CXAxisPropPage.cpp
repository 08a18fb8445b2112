#include "CXAxisPropPage.h"

#include "AxisPageExchange.h"
#include "DialogUnits.h"

namespace {
enum : int {
  IDC_MINIMUM = 1000,
  IDC_MAXIMUM = 1001,
  IDC_AUTO_MINIMUM = 1002,
  IDC_AUTO_MAXIMUM = 1003,
  IDC_SHOW_GRID = 1008,
};

// Dialog 303, 122 x 127 dialog units.
constexpr SDialogControl kTemplate[] = {
    {IDC_AUTO_MINIMUM, EDialogControlKind::CheckBox, {6, 6, 48, 12}, L" Minimum"},
    {IDC_MINIMUM, EDialogControlKind::Edit, {57, 6, 48, 12}},
    {IDC_MAXIMUM, EDialogControlKind::Edit, {57, 20, 48, 12}},
    {IDC_AUTO_MAXIMUM, EDialogControlKind::CheckBox, {6, 20, 48, 12}, L" Maximum"},
    {IDC_SHOW_GRID, EDialogControlKind::CheckBox, {6, 36, 74, 12}, L" Show grid lines"},
};
} // namespace

CXAxisPropPage::CXAxisPropPage(wxWindow* book) : wxPanel(book, wxID_ANY)
{
  CreateDialogControls(this, kTemplate);
  SetMinSize(DialogUnitsToPixels(this, 122, 127));
  BindLimitEdit(this, IDC_MINIMUM, IDC_AUTO_MINIMUM, m_autoMin);
  BindLimitEdit(this, IDC_MAXIMUM, IDC_AUTO_MAXIMUM, m_autoMax);
}

bool CXAxisPropPage::DoDataExchange(bool save)
{
  ExchangeCheck(this, IDC_AUTO_MINIMUM, m_autoMin, save);
  if (!ExchangeFloat(this, IDC_MINIMUM, m_min, save) || !ExchangeFloat(this, IDC_MAXIMUM, m_max, save))
    return false;
  ExchangeCheck(this, IDC_AUTO_MAXIMUM, m_autoMax, save);
  ExchangeCheck(this, IDC_SHOW_GRID, m_showGrid, save);
  return true;
}
