#include "GuiTestSupport.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/toplevel.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <chrono>
#include <cstdlib>
#include <dlfcn.h>
#include <string_view>
#include <thread>

namespace {
// GTK 3 draws the screen DC with cairo, which keeps a snapshot of the root window's surface once it
// has been read and believes nothing else draws there: every later capture would show the screen
// as it was at the first one. Marking the surface dirty makes cairo read the screen again. The
// two cairo calls are looked up at run time, as the toolkit links cairo and we have no headers.
void ForgetScreenSnapshot(wxScreenDC& screen)
{
#ifdef __WXGTK3__
  using GetTarget = void* (*)(void*);
  using MarkDirty = void (*)(void*);
  static const auto getTarget = reinterpret_cast<GetTarget>(dlsym(RTLD_DEFAULT, "cairo_get_target"));
  static const auto markDirty = reinterpret_cast<MarkDirty>(dlsym(RTLD_DEFAULT, "cairo_surface_mark_dirty"));
  if (void* cairo = screen.GetHandle(); cairo && getTarget && markDirty)
    markDirty(getTarget(cairo));
#else
  (void)screen;
#endif
}
} // namespace

void PumpEvents(int milliseconds)
{
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    wxTheApp->ProcessPendingEvents();
    while (wxTheApp->Pending())
      wxTheApp->Dispatch();
    wxYield();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  } while (std::chrono::steady_clock::now() < end);
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMilliseconds)
{
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= end)
      return false;
    PumpEvents(20);
  }
  return true;
}

wxBitmap CaptureWindow(wxWindow* window)
{
  // Test programs run side by side on one display, and their windows may lie over ours.
  if (wxWindow* top = wxGetTopLevelParent(window))
    top->Raise();
  window->Update();
  PumpEvents(30);
  wxSize size = window->GetClientSize();
  wxBitmap bitmap(size.x > 0 ? size.x : 1, size.y > 0 ? size.y : 1, 24);
  wxMemoryDC memory(bitmap);
  // Reading back a window's own DC is not supported by every GTK back end; the screen is.
  wxScreenDC screen;
  ForgetScreenSnapshot(screen);
  wxPoint origin = window->ClientToScreen(wxPoint(0, 0));
  memory.Blit(0, 0, size.x, size.y, &screen, origin.x, origin.y);
  memory.SelectObject(wxNullBitmap);
  return bitmap;
}

wxString SaveSnapshot(const wxBitmap& bitmap, const wxString& name)
{
  wxString folder = HVX_SNAPSHOT_DIR;
  if (!wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL) && !wxFileName::DirExists(folder))
    return {};
  wxString path = folder + "/" + name + ".png";
  return bitmap.IsOk() && bitmap.ConvertToImage().SaveFile(path, wxBITMAP_TYPE_PNG) ? path : wxString();
}

wxString SaveSnapshot(wxWindow* window, const wxString& name)
{
  return SaveSnapshot(CaptureWindow(window), name);
}

bool AllocationsUnwoundInFull()
{
  for (const char* variable : {"ASAN_OPTIONS", "LSAN_OPTIONS"})
    if (const char* options = std::getenv(variable);
        options && std::string_view(options).find("fast_unwind_on_malloc=0") != std::string_view::npos)
      return true;
  return false;
}
