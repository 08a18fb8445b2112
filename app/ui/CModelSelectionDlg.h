#pragma once
// Dialog 107, "Model Selection": asks which model of the product line a servo is, when the servo
// itself does not know. The index chosen is what is configured on the servo.
#include <wx/dialog.h>

class wxChoice;

class CModelSelectionDlg : public wxDialog {
public:
  explicit CModelSelectionDlg(wxWindow* parent);
  // IDOK or IDCANCEL. The modal responder answers in place of a person when one is installed.
  int DoModal();

  int m_model = 0; // row of combo box 1070

private:
  void DoDataExchange(bool saveAndValidate);
  wxChoice* m_modelCombo = nullptr;
};
