#pragma once
// The 127.0.0.1 address the socket tests bind and send to.

#include "platform/winsock/winsock.h"

namespace mrwtest {

inline sockaddr_in loopbackAddress(u_short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

}  // namespace mrwtest
