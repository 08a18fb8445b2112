#include "GuiTestSupport.h"

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <chrono>
#include <thread>

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

wxBitmap CaptureWindow(wxWindow* window)
{
  window->Update();
  PumpEvents(30);
  wxSize size = window->GetClientSize();
  wxBitmap bitmap(size.x > 0 ? size.x : 1, size.y > 0 ? size.y : 1, 24);
  wxMemoryDC memory(bitmap);
  // Reading back a window's own DC is not supported by every GTK back end; the screen is.
  wxScreenDC screen;
  wxPoint origin = window->ClientToScreen(wxPoint(0, 0));
  memory.Blit(0, 0, size.x, size.y, &screen, origin.x, origin.y);
  memory.SelectObject(wxNullBitmap);
  return bitmap;
}

wxString SaveSnapshot(wxWindow* window, const wxString& name)
{
  wxString folder = HVX_SNAPSHOT_DIR;
  if (!wxFileName::Mkdir(folder, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL) && !wxFileName::DirExists(folder))
    return {};
  wxString path = folder + "/" + name + ".png";
  return CaptureWindow(window).ConvertToImage().SaveFile(path, wxBITMAP_TYPE_PNG) ? path : wxString();
}
