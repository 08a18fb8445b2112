#pragma once
// Whether the machine has a network connection, and where the on-line help lives.
#include "CString.h"

// True when an interface other than loopback is up with an address: the machine is on a
// network, not necessarily on the internet.
bool IsInternetConnected();

// The help page on the update server (its default host when the name is empty).
CString OnlineHelpUrl(const CString& updateServerName);
