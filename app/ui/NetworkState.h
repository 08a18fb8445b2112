#pragma once
// Whether the machine has a network connection.

// True when an interface other than loopback is up with an address: the machine is on a
// network, not necessarily on the internet.
bool IsInternetConnected();
