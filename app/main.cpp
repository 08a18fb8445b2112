// The program's entry point: the window toolkit's application runs the application object's
// InitInstance, which shows the main dialog modally; when it returns the program ends.
#include "CZHVXProConfigApp.h"
#include "EmbeddedResources.h"
#include "FrameworkMessageBox.h"
#include "StandardMessageBox.h"

#include <wx/app.h>

CZHVXProConfigApp theApp;

namespace {
void ShowInStandardBox(const CString& text)
{
  AfxMessageBox(text, MB_OK);
}

class CProgramApp : public wxApp {
public:
  bool OnInit() override
  {
    SetAppName(L"ZHVXProConfig");
    EnsureImageHandlers();
    SetFrameworkMessageBoxHandler(&ShowInStandardBox);
    return true;
  }
  // No main loop of its own: the dialog's modal loop is the program's.
  int OnRun() override
  {
    theApp.InitInstance();
    return 0;
  }
};
} // namespace

wxIMPLEMENT_APP(CProgramApp);
