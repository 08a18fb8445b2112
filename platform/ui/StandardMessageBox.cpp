#include "StandardMessageBox.h"

#include "ModalResponder.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

SStandardBoxButtons StandardBoxButtons(UINT type)
{
  SStandardBoxButtons buttons;
  switch (type & MB_TYPEMASK) {
  case MB_OKCANCEL:
    buttons.style = wxOK | wxCANCEL;
    break;
  case MB_ABORTRETRYIGNORE:
    buttons.style = wxYES_NO | wxCANCEL;
    buttons.labels[0] = L"Abort";
    buttons.labels[1] = L"Retry";
    buttons.labels[2] = L"Ignore";
    break;
  case MB_YESNOCANCEL:
    buttons.style = wxYES_NO | wxCANCEL;
    break;
  case MB_YESNO:
    buttons.style = wxYES_NO;
    break;
  case MB_RETRYCANCEL:
    buttons.style = wxOK | wxCANCEL;
    buttons.labels[0] = L"Retry";
    buttons.labels[1] = L"Cancel";
    break;
  default:
    buttons.style = wxOK;
    break;
  }
  if ((type & MB_DEFMASK) == MB_DEFBUTTON2)
    buttons.style |= (buttons.style & wxYES_NO) ? wxNO_DEFAULT : wxCANCEL_DEFAULT;
  switch (type & MB_ICONMASK) {
  case MB_ICONHAND:
    buttons.style |= wxICON_ERROR;
    break;
  case MB_ICONQUESTION:
    buttons.style |= wxICON_QUESTION;
    break;
  case MB_ICONEXCLAMATION:
    buttons.style |= wxICON_WARNING;
    break;
  case MB_ICONASTERISK:
    buttons.style |= wxICON_INFORMATION;
    break;
  default:
    buttons.style |= wxICON_NONE;
    break;
  }
  return buttons;
}

int StandardBoxResult(UINT type, int wxReturnCode)
{
  // Every answer is one of the box's own buttons, also when the window manager closes it.
  switch (type & MB_TYPEMASK) {
  case MB_OKCANCEL:
    return wxReturnCode == wxID_OK ? IDOK : IDCANCEL;
  case MB_ABORTRETRYIGNORE:
    return wxReturnCode == wxID_YES ? IDABORT : wxReturnCode == wxID_NO ? IDRETRY : IDIGNORE;
  case MB_YESNOCANCEL:
    return wxReturnCode == wxID_YES ? IDYES : wxReturnCode == wxID_NO ? IDNO : IDCANCEL;
  case MB_YESNO:
    return wxReturnCode == wxID_YES ? IDYES : IDNO;
  case MB_RETRYCANCEL:
    return wxReturnCode == wxID_OK ? IDRETRY : IDCANCEL;
  default:
    return IDOK;
  }
}

int AfxMessageBox(const CString& text, UINT type, UINT /*helpId*/)
{
  SModalRequest request;
  request.kind = EModalKind::StandardMessageBox;
  request.caption = wxTheApp ? CString(wxTheApp->GetAppDisplayName().wc_str()) : CString();
  request.text = text;
  request.type = type;
  if (auto answer = AskModalResponder(request))
    return answer->result;

  SStandardBoxButtons buttons = StandardBoxButtons(type);
  wxMessageDialog box(wxTheApp ? wxTheApp->GetTopWindow() : nullptr, wxString(text.GetString()),
                      wxString(request.caption.GetString()), buttons.style);
  if (!buttons.labels[0].IsEmpty()) {
    if (buttons.style & wxYES_NO)
      box.SetYesNoCancelLabels(wxString(buttons.labels[0].GetString()), wxString(buttons.labels[1].GetString()),
                               wxString(buttons.labels[2].GetString()));
    else
      box.SetOKCancelLabels(wxString(buttons.labels[0].GetString()), wxString(buttons.labels[1].GetString()));
  }
  return StandardBoxResult(type, box.ShowModal());
}
