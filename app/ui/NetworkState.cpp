#include "NetworkState.h"

#include <ifaddrs.h>
#include <net/if.h>

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
