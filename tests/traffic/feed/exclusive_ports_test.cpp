// RealTraffic's ports are held by our sockets alone: a second socket on the port, with SO_REUSEADDR
// or bound to 127.0.0.1 beside our wildcard address, is refused, so that no other program can read
// the link or take the datagrams.

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <string_view>

#include "foundation/run_state.h"
#include "support/logged_program_folder.h"
#include "support/loopback_address.h"
#include "support/winsock_session.h"
#include "traffic/feed/exclusive_port_refusal.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/feed/realtraffic_mode.h"
#include "traffic/feed/udp_reader.h"

namespace {

class SilentReader : public mrw::UdpReader {
  public:
    void onDatagram(std::string_view) override {}
    void onStopped() override {}
};

struct SecondSocket {
    const char* name;
    bool reuseAddress;
    ULONG address;
};

const std::array<SecondSocket, 3> kSecondSockets{{
    {"any address, SO_REUSEADDR", true, INADDR_ANY},
    {"127.0.0.1", false, INADDR_LOOPBACK},
    {"127.0.0.1, SO_REUSEADDR", true, INADDR_LOOPBACK},
}};

// A UDP port that was free a moment ago.
u_short freeUdpPort() {
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const sockaddr_in address = mrwtest::loopbackAddress(0);
    EXPECT_EQ(bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    sockaddr_in bound{};
    int length = sizeof bound;
    getsockname(s, reinterpret_cast<sockaddr*>(&bound), &length);
    closesocket(s);
    return ntohs(bound.sin_port);
}

// The error of a second socket's bind to the port; 0 when it was bound.
int secondBindError(int type, u_short port, const SecondSocket& second) {
    const SOCKET s = socket(AF_INET, type, type == SOCK_STREAM ? IPPROTO_TCP : IPPROTO_UDP);
    EXPECT_NE(s, INVALID_SOCKET);
    if (second.reuseAddress) {
        const int on = 1;
        EXPECT_EQ(setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on), 0);
    }
    sockaddr_in address = mrwtest::loopbackAddress(port);
    address.sin_addr.s_addr = htonl(second.address);
    const int error =
        bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? 0 : WSAGetLastError();
    closesocket(s);
    return error;
}

class ExclusivePorts : public ::testing::Test {
  protected:
    // RealTraffic on another PC: our sockets are on the wildcard address.
    void SetUp() override { mrw::g_realTrafficMode = mrw::RealTrafficMode::OtherPc; }
    void TearDown() override {
        mrw::lf_closeRealTrafficLink();
        mrw::g_realTrafficMode = mrw::RealTrafficMode::OtherPc;
    }

    void expectEverySecondSocketRefused(int type, u_short port) {
        for (const SecondSocket& second : kSecondSockets) {
            SCOPED_TRACE(second.name);
            const int error = secondBindError(type, port, second);
            EXPECT_TRUE(mrwtest::isPortHeldError(error)) << error;
        }
    }

    mrwtest::WinsockSession winsock;
    mrwtest::LoggedProgramFolder folder;
};

TEST_F(ExclusivePorts, AReadersPortTakesNoSecondSocket) {
    SilentReader reader;
    reader.startup();
    reader.createSocket();
    const u_short port = freeUdpPort();
    reader.bind(port);
    expectEverySecondSocketRefused(SOCK_DGRAM, port);
    reader.closeSocket();
}

TEST_F(ExclusivePorts, TheLinksPortTakesNoSecondSocket) {
    const u_short port = mrwtest::freeTcpPort();
    mrw::lf_listenForRealTraffic(std::to_string(port));
    expectEverySecondSocketRefused(SOCK_STREAM, port);
}

}  // namespace
