#pragma once
// The real Winsock 2.

#include <winsock2.h>
#include <ws2tcpip.h>
