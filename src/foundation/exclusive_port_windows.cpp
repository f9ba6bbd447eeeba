#include "foundation/exclusive_port.h"

namespace mrw {

// On Windows SO_REUSEADDR would let a second socket bind a port in use, and a socket bound to one
// address takes datagrams from a socket on the wildcard address: SO_EXCLUSIVEADDRUSE refuses both
// (WSAEACCES), for the datagram sockets as for the listener.
int gf_bindExclusively(SOCKET s, int, const sockaddr* address, int length) {
    const BOOL exclusive = TRUE;
    if (setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
                   sizeof exclusive) != 0)
        return SOCKET_ERROR;
    return bind(s, address, length);
}

}  // namespace mrw
