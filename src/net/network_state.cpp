#include "net/network_state.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

namespace tambor {

bool networkInterfaceUp() {
    ifaddrs* list = nullptr;
    // Should the system not say, the network is taken to be there: the
    // message then names the address that failed rather than blaming the
    // connection.
    if (::getifaddrs(&list) != 0) return true;
    bool up = false;
    for (const ifaddrs* a = list; a != nullptr && !up; a = a->ifa_next) {
        if (a->ifa_addr == nullptr) continue;
        const int family = a->ifa_addr->sa_family;
        const unsigned flags = a->ifa_flags;
        up = (family == AF_INET || family == AF_INET6) && (flags & IFF_UP) && (flags & IFF_RUNNING) &&
             !(flags & IFF_LOOPBACK);
    }
    ::freeifaddrs(list);
    return up;
}

}  // namespace tambor
