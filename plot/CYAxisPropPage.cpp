#include "CYAxisPropPage.h"

#include "AxisPageExchange.h"
#include "DialogUnits.h"

namespace {
enum : int {
  IDC_MINIMUM = 1000,
  IDC_MAXIMUM = 1001,
  IDC_AUTO_MINIMUM = 1002,
  IDC_AUTO_MAXIMUM = 1003,
  IDC_AUTO_SCALE_ALL = 1004,
  IDC_MATCH_ORIGIN = 1005,
  IDC_SCALE_OVERLAPPED = 1006,
  IDC_LOG_SCALE = 1007,
  IDC_SHOW_GRID = 1008,
  IDC_FULL_RANGE = 1009,
  IDC_CENTRE_LABEL = 1010,
  IDC_CENTRE = 1011,
  IDC_RANGE = 1013,
  IDC_RANGE_LABEL = 1014,
};

// Dialog 304, 143 x 153 dialog units.
constexpr SDialogControl kTemplate[] = {
    {IDC_AUTO_MINIMUM, EDialogControlKind::CheckBox, {6, 6, 48, 12}, L" Minimum"},
    {IDC_AUTO_MAXIMUM, EDialogControlKind::CheckBox, {6, 20, 48, 12}, L" Maximum"},
    {IDC_MINIMUM, EDialogControlKind::Edit, {57, 6, 48, 12}},
    {IDC_MAXIMUM, EDialogControlKind::Edit, {57, 20, 48, 12}},
    {IDC_AUTO_SCALE_ALL, EDialogControlKind::CheckBox, {6, 34, 85, 12}, L" Auto-scale all spectra"},
    {IDC_MATCH_ORIGIN, EDialogControlKind::CheckBox, {16, 48, 63, 12}, L" Match origin"},
    {IDC_LOG_SCALE, EDialogControlKind::CheckBox, {7, 121, 48, 12}, L" Log scale"},
    {IDC_SHOW_GRID, EDialogControlKind::CheckBox, {7, 134, 74, 12}, L" Show grid lines"},
    {IDC_FULL_RANGE, EDialogControlKind::CheckBox, {16, 78, 63, 12}, L"Full range"},
    {IDC_SCALE_OVERLAPPED, EDialogControlKind::CheckBox, {7, 64, 96, 12}, L"Scale overlapped spectra"},
    {IDC_CENTRE, EDialogControlKind::Edit, {86, 90, 49, 13}},
    {IDC_CENTRE_LABEL, EDialogControlKind::Label, {17, 92, 67, 10}, L"Center Wavelength:", wxALIGN_RIGHT},
    {IDC_RANGE, EDialogControlKind::Edit, {86, 105, 49, 13}},
    {IDC_RANGE_LABEL, EDialogControlKind::Label, {18, 107, 67, 8}, L"Wavelength Range:", wxALIGN_RIGHT},
};
} // namespace

CYAxisPropPage::CYAxisPropPage(wxWindow* book) : wxPanel(book, wxID_ANY)
{
  CreateDialogControls(this, kTemplate);
  SetMinSize(DialogUnitsToPixels(this, 143, 153));
  BindLimitEdit(this, IDC_MINIMUM, IDC_AUTO_MINIMUM, m_autoMin);
  BindLimitEdit(this, IDC_MAXIMUM, IDC_AUTO_MAXIMUM, m_autoMax);
  for (int id : {IDC_AUTO_SCALE_ALL, IDC_MATCH_ORIGIN, IDC_SCALE_OVERLAPPED, IDC_FULL_RANGE})
    Bind(wxEVT_CHECKBOX, &CYAxisPropPage::OnScalingClicked, this, id);
}

bool CYAxisPropPage::DoDataExchange(bool save)
{
  ExchangeCheck(this, IDC_AUTO_MINIMUM, m_autoMin, save);
  ExchangeCheck(this, IDC_AUTO_MAXIMUM, m_autoMax, save);
  if (!ExchangeFloat(this, IDC_MINIMUM, m_min, save) || !ExchangeFloat(this, IDC_MAXIMUM, m_max, save))
    return false;
  ExchangeCheck(this, IDC_AUTO_SCALE_ALL, m_autoScaleAll, save);
  ExchangeCheck(this, IDC_MATCH_ORIGIN, m_matchOrigin, save);
  ExchangeCheck(this, IDC_LOG_SCALE, m_logScale, save);
  ExchangeCheck(this, IDC_SHOW_GRID, m_showGrid, save);
  ExchangeCheck(this, IDC_SCALE_OVERLAPPED, m_scaleOverlapped, save);
  ExchangeCheck(this, IDC_FULL_RANGE, m_fullRange, save);

  const SYAxisPageEnables enables = YAxisPageEnables(*this);
  EnableControl(this, IDC_MATCH_ORIGIN, enables.matchOrigin);
  EnableControl(this, IDC_LOG_SCALE, enables.logScale);
  EnableControl(this, IDC_SCALE_OVERLAPPED, enables.scaleOverlapped);
  EnableControl(this, IDC_FULL_RANGE, enables.fullRange);
  for (int id : {IDC_CENTRE, IDC_RANGE, IDC_CENTRE_LABEL, IDC_RANGE_LABEL})
    EnableControl(this, id, enables.centreAndRange);

  return ExchangeFloat(this, IDC_CENTRE, m_centreWavelength, save) &&
         ExchangeFloat(this, IDC_RANGE, m_wavelengthRange, save);
}

void CYAxisPropPage::OnScalingClicked(wxCommandEvent&)
{
  DoDataExchange(true);
}
