#include "FileDialog.h"

#include "MessageBoxTypes.h"

#include <wx/filedlg.h>

std::optional<CString> AskFilePath(wxWindow* parent, EModalKind kind, const CString& fileName,
                                   const CString& filter, UINT flags)
{
  SModalRequest request;
  request.kind = kind;
  request.type = flags;
  request.defaultPath = fileName;
  request.filter = filter;
  if (auto answer = AskModalResponder(request)) {
    if (answer->result != IDOK || answer->paths.empty())
      return std::nullopt;
    return answer->paths.front();
  }

  long style = kind == EModalKind::FileSave ? wxFD_SAVE : wxFD_OPEN;
  if (kind == EModalKind::FileSave && (flags & OFN_OVERWRITEPROMPT))
    style |= wxFD_OVERWRITE_PROMPT;
  // GTK's dialogs have no read-only check box to hide.
  wxFileDialog dialog(parent, wxFileSelectorPromptStr, wxEmptyString, wxString(fileName.GetString()),
                      wxString(filter.GetString()), style);
  if (dialog.ShowModal() != wxID_OK)
    return std::nullopt;
  return CString(dialog.GetPath().wc_str());
}
