// On Windows the RealTraffic link's listener holds its port with SO_EXCLUSIVEADDRUSE. (Wine refuses
// a second socket on a port in use whatever the options, so only the option itself shows there.)

#include <gtest/gtest.h>

#include <string>

#include "support/logged_program_folder.h"
#include "support/loopback_address.h"
#include "support/winsock_session.h"
#include "traffic/feed/realtraffic_link.h"
#include "traffic/feed/realtraffic_mode.h"

namespace {

TEST(ExclusivePortsOnWindows, TheLinksListenerHoldsItsPortExclusively) {
    const mrwtest::WinsockSession winsock;
    const mrwtest::LoggedProgramFolder folder;
    mrw::g_realTrafficMode = mrw::RealTrafficMode::OtherPc;
    mrw::lf_listenForRealTraffic(std::to_string(mrwtest::freeTcpPort()));
    BOOL exclusive = FALSE;
    int length = sizeof exclusive;
    EXPECT_EQ(getsockopt(mrw::g_rtListenSocket.load(), SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
                         reinterpret_cast<char*>(&exclusive), &length),
              0)
        << WSAGetLastError();
    EXPECT_TRUE(exclusive);
    mrw::lf_closeRealTrafficLink();
}

}  // namespace
