#include "BrowserLaunch.h"

#include <wx/utils.h>

namespace {
BrowserLauncher& Launcher()
{
  static BrowserLauncher launcher;
  return launcher;
}
} // namespace

bool OpenInBrowser(const CString& url)
{
  if (Launcher())
    return Launcher()(url);
  return wxLaunchDefaultBrowser(url.GetString());
}

BrowserLauncher SetBrowserLauncher(BrowserLauncher launcher)
{
  std::swap(Launcher(), launcher);
  return launcher;
}
