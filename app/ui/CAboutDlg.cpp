#include "CAboutDlg.h"

#include "MessageBoxTypes.h"
#include "ModalResponder.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

namespace {
constexpr const wchar_t* kCaption = L"About ZHVXProConfig";
}

CAboutDlg::CAboutDlg(wxWindow* parent) : wxDialog(parent, wxID_ANY, kCaption)
{
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX)),
           0, wxALL, 10);
  auto* lines = new wxBoxSizer(wxVERTICAL);
  lines->Add(new wxStaticText(this, wxID_ANY, L"ZHVXProConfig, Version 1.0"), 0, wxBOTTOM, 6);
  lines->Add(new wxStaticText(this, wxID_ANY, L"Set-up, test and maintenance of HVX PRO servos"), 0);
  row->Add(lines, 1, wxALL, 10);
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(row, 1, wxEXPAND);
  column->Add(CreateStdDialogButtonSizer(wxOK), 0, wxALL | wxEXPAND, 10);
  SetSizerAndFit(column);
}

int CAboutDlg::DoModal()
{
  SModalRequest request;
  request.kind = EModalKind::Dialog;
  request.caption = kCaption;
  if (auto answer = AskModalResponder(request))
    return answer->result;
  ShowModal();
  return IDOK;
}
