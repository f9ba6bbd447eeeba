#pragma once
// Winsock started for as long as the object lives: the real Winsock refuses every call before
// WSAStartup; each start is balanced by its WSACleanup.

#include "platform/winsock/winsock.h"

#include <stdexcept>

namespace mrwtest {

class WinsockSession {
  public:
    WinsockSession() {
        WSADATA data{};
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
    }
    ~WinsockSession() { WSACleanup(); }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;
};

}  // namespace mrwtest
