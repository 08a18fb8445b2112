#include "CModelSelectionDlg.h"

#include "MessageBoxTypes.h"
#include "ModalResponder.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace {
constexpr int IDC_MODEL_COMBO = 1070;
constexpr const wchar_t* kCaption = L"Model Selection";
} // namespace

CModelSelectionDlg::CModelSelectionDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, kCaption)
{
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(
      new wxStaticText(this, wxID_ANY,
                       L"Please select the model for this servo.  After pressing Ok the value will be "
                       L"configured.",
                       wxDefaultPosition, ConvertDialogToPixels(wxSize(160, 20))),
      0, wxALL | wxEXPAND, 10);
  const wxString models[] = {L"HVX PRO Standard", L"HVX PRO High Torque", L"HVX PRO High Speed"};
  m_modelCombo = new wxChoice(this, IDC_MODEL_COMBO, wxDefaultPosition, wxDefaultSize, 3, models);
  column->Add(m_modelCombo, 0, wxLEFT | wxRIGHT | wxEXPAND, 10);
  column->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxALL | wxEXPAND, 10);
  SetSizerAndFit(column);
}

void CModelSelectionDlg::DoDataExchange(bool saveAndValidate)
{
  if (saveAndValidate)
    m_model = m_modelCombo->GetSelection();
  else
    m_modelCombo->SetSelection(m_model);
}

int CModelSelectionDlg::DoModal()
{
  SModalRequest request;
  request.kind = EModalKind::Dialog;
  request.caption = kCaption;
  if (auto answer = AskModalResponder(request))
    return answer->result;
  DoDataExchange(false);
  const int result = ShowModal() == wxID_OK ? IDOK : IDCANCEL;
  if (result == IDOK)
    DoDataExchange(true);
  return result;
}
