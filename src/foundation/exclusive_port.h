#pragma once
// Binding a socket to one of RealTraffic's ports so that no other program can bind it beside us:
// a second socket on the port could read the user's position from the link or take the datagrams.
// The socket options that give this differ between the platforms: one file per platform
// (exclusive_port_posix.cpp, exclusive_port_windows.cpp).

#include "platform/winsock/winsock.h"

namespace mrw {

// Binds the socket (SOCK_STREAM or SOCK_DGRAM) to the address for itself alone; a port another
// socket holds is refused. 0, or SOCKET_ERROR with WSAGetLastError telling why.
int gf_bindExclusively(SOCKET s, int socketType, const sockaddr* address, int length);

}  // namespace mrw
