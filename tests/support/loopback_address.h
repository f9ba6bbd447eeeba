#pragma once
// The 127.0.0.1 address the socket tests bind and send to, and a free TCP port on it.

#include "platform/winsock/winsock.h"
#include "support/winsock_session.h"

namespace mrwtest {

inline sockaddr_in loopbackAddress(u_short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// A TCP port that was free a moment ago.
inline u_short freeTcpPort() {
    const WinsockSession winsock;
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in address = loopbackAddress(0);
    bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    sockaddr_in bound{};
    int length = sizeof bound;
    getsockname(s, reinterpret_cast<sockaddr*>(&bound), &length);
    closesocket(s);
    return ntohs(bound.sin_port);
}

}  // namespace mrwtest
