#include "foundation/exclusive_port.h"

namespace mrw {

// Linux refuses a port in use unless every socket on it set SO_REUSEADDR, so the datagram sockets
// set nothing. The listener sets it all the same: it then binds again at once after a restart while
// the last link's connection waits in TIME_WAIT, and a port another socket listens on is still
// refused.
int gf_bindExclusively(SOCKET s, int socketType, const sockaddr* address, int length) {
    if (socketType == SOCK_STREAM) {
        const int reuse = 1;
        if (setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse) != 0)
            return SOCKET_ERROR;
    }
    return bind(s, address, length);
}

}  // namespace mrw
