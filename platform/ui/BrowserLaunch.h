#pragma once
// Opening a web page in the desktop's browser, behind a seam: a test installs a launcher that
// records the address, so that no browser ever starts from a test.
#include "CString.h"

#include <functional>

using BrowserLauncher = std::function<bool(const CString& url)>;

// Hands the address to the installed launcher, else to the desktop's default browser. False when
// the page could not be handed on (the toolkit has told the user why).
bool OpenInBrowser(const CString& url);
// Installs a launcher (empty: the default browser again) and returns the one it replaces.
BrowserLauncher SetBrowserLauncher(BrowserLauncher launcher);
