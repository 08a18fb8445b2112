// Entry point of every GUI test program: a wxApp on the test display (Xvfb in CI), then the tests.
#include "ModalTestSupport.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <cstdio>

namespace {
class GuiTestApp : public wxApp {
public:
  bool OnInit() override { return true; }
};
} // namespace

wxIMPLEMENT_APP_NO_MAIN(GuiTestApp);

int main(int argc, char** argv)
{
  testing::InitGoogleTest(&argc, argv);
  if (testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS();
  wxApp::SetInstance(new GuiTestApp);
  int wxArgc = 1;
  char* wxArgv[] = {argv[0], nullptr};
  if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "cannot start wxWidgets: is there a display (DISPLAY=%s)?\n",
                 getenv("DISPLAY") ? getenv("DISPLAY") : "");
    return 1;
  }
  // A log message must never open a modal box that nobody answers.
  delete wxLog::SetActiveTarget(new wxLogStderr);
  wxInitAllImageHandlers();
  // A failed wx assertion fails the test that made it, instead of opening a box of its own.
  wxSetAssertHandler(
      [](const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg) {
        ADD_FAILURE_AT(file.utf8_string().c_str(), line)
            << "wx assertion \"" << cond.utf8_string() << "\" failed in " << func.utf8_string() << ": "
            << msg.utf8_string();
      });
  // An unexpected modal dialog fails its test instead of waiting for a person.
  ModalWatchdog().Register();
  int result = RUN_ALL_TESTS();
  ModalWatchdog().Unregister();
  wxTheApp->OnExit();
  wxEntryCleanup();
  return result;
}
