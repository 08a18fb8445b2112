#include "CXAxisPropPage.h"
#include "CYAxisPropPage.h"
#include "CZMessageBox.h"
#include "CZSpectrumWnd.h"
#include "MessageBoxTypes.h"
#include "ModalResponder.h"

#include <wx/bookctrl.h>
#include <wx/button.h>
#include <wx/propdlg.h>
#include <wx/textctrl.h>

namespace {
constexpr const wchar_t* kSheetCaption = L"Settings";
constexpr int kMinimumEdit = 1000; // on both pages

// The two axis pages in one sheet. OK saves each page in turn and closes only when every page
// took its values; a page whose number is bad is shown instead.
class CAxisPropertySheet : public wxPropertySheetDialog {
public:
  explicit CAxisPropertySheet(wxWindow* parent)
  {
    Create(parent, wxID_ANY, kSheetCaption);
    CreateButtons(wxOK | wxCANCEL);
    m_xPage = new CXAxisPropPage(GetBookCtrl());
    m_yPage = new CYAxisPropPage(GetBookCtrl());
    GetBookCtrl()->AddPage(m_xPage, L"X axis", true);
    GetBookCtrl()->AddPage(m_yPage, L"Y axis");
    LayoutDialog();
    Bind(wxEVT_BUTTON, &CAxisPropertySheet::OnOk, this, wxID_OK);
  }

  int DoModal()
  {
    SModalRequest request;
    request.kind = EModalKind::Dialog;
    request.caption = kSheetCaption;
    if (auto answer = AskModalResponder(request))
      return answer->result;
    m_xPage->DoDataExchange(false);
    m_yPage->DoDataExchange(false);
    return ShowModal() == wxID_OK ? IDOK : IDCANCEL;
  }

  CXAxisPropPage* m_xPage;
  CYAxisPropPage* m_yPage;

private:
  void OnOk(wxCommandEvent&)
  {
    if (!m_xPage->DoDataExchange(true)) {
      GetBookCtrl()->SetSelection(0);
      return;
    }
    if (!m_yPage->DoDataExchange(true)) {
      GetBookCtrl()->SetSelection(1);
      return;
    }
    if (const wchar_t* refused = RefusedLimitsText(*m_xPage)) {
      RefuseLimits(0, refused);
      return;
    }
    if (const wchar_t* refused = RefusedLimitsText(*m_yPage)) {
      RefuseLimits(1, refused);
      return;
    }
    EndModal(wxID_OK);
  }

  // The sheet stays open on the page, with its minimum selected for typing over.
  void RefuseLimits(size_t page, const wchar_t* why)
  {
    GetBookCtrl()->SetSelection(page);
    ZMessageBox(why, MB_OK);
    if (auto* edit = dynamic_cast<wxTextCtrl*>(GetBookCtrl()->GetPage(page)->FindWindow(kMinimumEdit))) {
      edit->SetFocus();
      edit->SelectAll();
    }
  }
};
} // namespace

void CZSpectrumWnd::OnSettings()
{
  CAxisPropertySheet sheet(this);
  GetAxisPageValues(*sheet.m_xPage, *sheet.m_yPage);
  if (sheet.DoModal() == IDOK)
    ApplyAxisPageValues(*sheet.m_xPage, *sheet.m_yPage);
}
