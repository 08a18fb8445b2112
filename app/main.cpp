#include <wx/wx.h>

// For now the program is one empty main window that opens and closes.
class CZHVXProConfigApp : public wxApp {
public:
  bool OnInit() override
  {
    auto* frame = new wxFrame(nullptr, wxID_ANY, "HVX PRO Config", wxDefaultPosition, wxSize(800, 600));
    frame->Show();
    return true;
  }
};

wxIMPLEMENT_APP(CZHVXProConfigApp);
