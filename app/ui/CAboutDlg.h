#pragma once
// Dialog 100, the About box.
#include <wx/dialog.h>

class CAboutDlg : public wxDialog {
public:
  explicit CAboutDlg(wxWindow* parent);
  int DoModal();
};
