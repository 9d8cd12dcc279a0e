#pragma once
// Whether this machine has any network at all, told apart from a server
// that cannot be reached: an update that fails to connect says "no internet
// connection" only when no interface but the loopback one is up.

namespace tambor {

// True when an interface other than the loopback one is up, running and has
// an IPv4 or IPv6 address.
bool networkInterfaceUp();

}  // namespace tambor
