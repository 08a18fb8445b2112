#include "NetworkState.h"

#include <ifaddrs.h>
#include <net/if.h>

namespace {
// Unresolvable on purpose until the update server's name is known.
constexpr const wchar_t* kDefaultUpdateServer = L"update.hvxpro.invalid";
} // namespace

bool IsInternetConnected()
{
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0)
    return false;
  bool connected = false;
  for (const ifaddrs* a = list; a && !connected; a = a->ifa_next)
    connected = a->ifa_addr && (a->ifa_flags & IFF_UP) && (a->ifa_flags & IFF_RUNNING) &&
                !(a->ifa_flags & IFF_LOOPBACK);
  freeifaddrs(list);
  return connected;
}

CString OnlineHelpUrl(const CString& updateServerName)
{
  CString url;
  url.Format(L"http://%s/HVXPro/Help/",
             updateServerName.IsEmpty() ? CString(kDefaultUpdateServer) : updateServerName);
  return url;
}
