// The RealTraffic TCP link against our peer on 127.0.0.1.

#include "traffic/feed/realtraffic_link.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "foundation/run_state.h"
#include "foundation/window_model.h"
#include "support/logged_program_folder.h"
#include "support/loopback_address.h"
#include "tools/realtraffic-peer/realtraffic_peer.h"
#include "traffic/feed/realtraffic_mode.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"

namespace {

using namespace std::chrono_literals;
constexpr auto kBound = 10s;

ULONG listenAddress() {
    sockaddr_in bound{};
    int length = sizeof bound;
    getsockname(mrw::g_rtListenSocket.load(), reinterpret_cast<sockaddr*>(&bound), &length);
    return ntohl(bound.sin_addr.s_addr);
}

class RealTrafficLinkTest : public ::testing::Test {
  protected:
    mrwtest::LoggedProgramFolder folder;
    u_short port = mrwtest::freeTcpPort();

    void SetUp() override {
        mrw::g_realTrafficMode = mrw::RealTrafficMode::ThisPc;
        mrw::g_userAcData = {};
    }
    void TearDown() override {
        mrw::lf_closeRealTrafficLink();
        mrw::g_realTrafficMode = mrw::RealTrafficMode::OtherPc;
        mrw::g_rtProfessional = false;
        mrw::g_awaitingRealTraffic = true;
        mrw::g_exitReason = mrw::ExitReason::NotYetSet;
        mrw::g_stopRequested = false;
        mrw::g_windowClosing = false;
        mrw::g_mainWindow().realTrafficReady = false;
        mrw::g_mainWindow().realTrafficEditionText.set({});
        mrw::g_engineContainers.renew();
        mrw::g_userAcData = {};
        mrw::g_rtVersionAnswerTimeoutMs = 10000;
    }

    rtpeer::PeerOptions peerOptions() const {
        rtpeer::PeerOptions options;
        options.linkPort = port;
        options.trafficPort = 9;  // nothing is generated or replayed
        options.weatherPort = 9;
        options.reconnectDelaySeconds = 0.1;
        options.print = [](std::string_view) {};
        return options;
    }

    // Listens, lets the peer connect and runs the handshake.
    void connect(rtpeer::Peer& peer) {
        mrw::lf_listenForRealTraffic(std::to_string(port));
        peer.start();
        mrw::lf_waitForRealTraffic();
    }

    // Sends the user's position until the program sees the dropped link (a send to a closed peer
    // fails at the latest on the second try) or the bound passes.
    static void sendUntilTheLinkIsSeenGone() {
        const auto deadline = std::chrono::steady_clock::now() + kBound;
        while (mrw::g_mainWindow().realTrafficReady.load() && std::chrono::steady_clock::now() < deadline) {
            mrw::lf_sendUserPosition();
            std::this_thread::sleep_for(10ms);
        }
    }

    static void setUser() {
        mrw::g_userAcData.latitude = 52.0;
        mrw::g_userAcData.longitude = 4.5;
        mrw::g_userAcData.heading = 1.5708;
        mrw::g_userAcData.pitch = 0.05;
        mrw::g_userAcData.bank = -0.1;
        mrw::g_userAcData.indicatedAltitudeFt = 1200.0;
        mrw::g_userAcData.groundVelocityKt = 140.0;
    }
};

TEST_F(RealTrafficLinkTest, ProfessionalHandshakeThenTimePositionAndExitOnce) {
    rtpeer::PeerOptions options = peerOptions();
    options.level = 2;
    options.version = "9.0.0";
    rtpeer::Peer peer(options);
    connect(peer);
    EXPECT_TRUE(mrw::g_rtConnected.load());
    EXPECT_TRUE(mrw::g_rtProfessional.load());
    EXPECT_EQ(mrw::g_mainWindow().realTrafficEditionText.get(), "RT prof edition: 9.0.0");
    EXPECT_TRUE(mrw::g_mainWindow().realTrafficReady.load());
    EXPECT_FALSE(mrw::g_awaitingRealTraffic.load());

    mrw::lf_sendSimTime(1735689600);
    setUser();
    mrw::lf_sendUserPosition();
    mrw::lf_closeRealTrafficLink();
    mrw::lf_closeRealTrafficLink();  // the second closer says nothing
    ASSERT_TRUE(peer.waitForMessages("exit", 1, kBound)) << ::testing::PrintToString(peer.linkMessages());
    peer.stop();
    EXPECT_EQ(
        peer.linkMessages(),
        (std::vector<std::string>{"Qs999=version", "Qs123=1735689600000",
                                  "Qs121=-5000;-10000;1.570800;1200000;140000;0.907571;0.078540", "exit"}));
    EXPECT_NE(folder.logText().find("RealTraffic connected\n"), std::string::npos);
}

TEST_F(RealTrafficLinkTest, VersionAnswers) {
    struct Case {
        std::string answer;
        bool professional;
        std::string edition;
    };
    const Case cases[] = {
        {R"({"version": "8.1"})", false, "RT stnd edition: 8.1"},
        {R"({"level": 2})", true, "RT prof edition: "},
        // Only level 2 is the professional edition.
        {R"({"level": 3, "version": "9.0"})", false, "RT stnd edition: 9.0"},
        // With a line end.
        {"{\"level\": 2, \"version\": \"9.2\"}\r\n", true, "RT prof edition: 9.2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        mrw::g_rtProfessional = !c.professional;
        rtpeer::PeerOptions options = peerOptions();
        options.answerText = c.answer;
        rtpeer::Peer peer(options);
        connect(peer);
        EXPECT_EQ(mrw::g_rtProfessional.load(), c.professional);
        EXPECT_EQ(mrw::g_mainWindow().realTrafficEditionText.get(), c.edition);
        EXPECT_TRUE(mrw::g_mainWindow().realTrafficReady.load());
        mrw::lf_closeRealTrafficLink();
        peer.stop();
        port = mrwtest::freeTcpPort();
    }
}

TEST_F(RealTrafficLinkTest, LostClientDropsLiveTrafficAndIsAwaitedAgain) {
    rtpeer::Peer peer(peerOptions());
    connect(peer);
    setUser();
    // One live aircraft in the simulator, one whose creation is still queued.
    mrw::LiveAc active;
    active.callsign = "ACTIVE1";
    active.simState = mrw::SimState::Active;
    active.objectId = 42;
    mrw::LiveAc adding;
    adding.callsign = "ADDING1";
    adding.simState = mrw::SimState::Adding2Sim;
    mrw::g_liveAcs = {active, adding};
    mrw::CreateRequest request;
    request.callsign = "ADDING1";
    mrw::g_liveCreateQueue.push_back(request);

    peer.dropLink();
    sendUntilTheLinkIsSeenGone();
    ASSERT_FALSE(mrw::g_mainWindow().realTrafficReady.load());
    ASSERT_EQ(mrw::g_liveAcs.size(), 1U);
    EXPECT_EQ(mrw::g_liveAcs.front().callsign, "ACTIVE1");
    EXPECT_EQ(mrw::g_liveAcs.front().simState, mrw::SimState::RemovingFromSim);
    EXPECT_TRUE(mrw::g_liveCreateQueue.empty());
    EXPECT_NE(folder.logText().find(" RealTraffic gone? Wait for RealTraffic to re-connect ..."),
              std::string::npos);

    // The send failed, so the peer has closed the first link: what it read of it is all it reads.
    // It may have dropped the link before reading any position.
    const auto messages = peer.linkMessages();
    const auto positionsOfFirstLink = static_cast<std::size_t>(std::count_if(
        messages.begin(), messages.end(), [](const std::string& m) { return m.starts_with("Qs121="); }));

    mrw::lf_sendUserPosition();  // blocks until the peer is back
    EXPECT_TRUE(mrw::g_mainWindow().realTrafficReady.load());
    EXPECT_NE(folder.logText().find(" RealTraffic re-connected\n"), std::string::npos);
    mrw::lf_sendUserPosition();
    ASSERT_TRUE(peer.waitForMessages("Qs121=", positionsOfFirstLink + 1, kBound));
    EXPECT_EQ(peer.connections(), 2);
    peer.stop();
    int versionQuestions = 0;
    for (const std::string& message : peer.linkMessages())
        versionQuestions += message == "Qs999=version" ? 1 : 0;
    EXPECT_EQ(versionQuestions, 1);
}

TEST_F(RealTrafficLinkTest, ListenerAddressByMode) {
    mrw::lf_listenForRealTraffic(std::to_string(port));
    EXPECT_EQ(listenAddress(), INADDR_LOOPBACK);  // RealTraffic on this PC: no other host
    mrw::lf_closeRealTrafficLink();
    EXPECT_EQ(mrw::g_rtListenSocket.load(), INVALID_SOCKET);
    mrw::g_realTrafficMode = mrw::RealTrafficMode::ConfiguredAddress;
    mrw::lf_listenForRealTraffic(std::to_string(port));
    EXPECT_EQ(listenAddress(), INADDR_ANY);
}

TEST_F(RealTrafficLinkTest, OtherPcModeOpensNothingAndSendsNothing) {
    mrw::g_realTrafficMode = mrw::RealTrafficMode::OtherPc;
    setUser();
    mrw::lf_waitForRealTraffic();
    mrw::lf_sendUserPosition();
    EXPECT_EQ(mrw::g_rtListenSocket.load(), INVALID_SOCKET);
    EXPECT_EQ(mrw::g_rtClientSocket.load(), INVALID_SOCKET);
    EXPECT_FALSE(mrw::g_mainWindow().realTrafficReady.load());
}

TEST_F(RealTrafficLinkTest, PortInUseIsAListenerError) {
    mrw::lf_listenForRealTraffic(std::to_string(port));
    const SOCKET first = mrw::g_rtListenSocket.exchange(INVALID_SOCKET);
    try {
        mrw::lf_listenForRealTraffic(std::to_string(port));
        ADD_FAILURE() << "no error";
    } catch (const std::runtime_error& e) {
        // Windows may refuse a port another socket holds as "in use" or, when that socket holds it for
        // itself alone, as "permission denied".
        const std::string prefix = "Bind failed at port " + std::to_string(port) + " with error ";
        EXPECT_THAT(std::string(e.what()), ::testing::AnyOf(prefix + "10048 Address already in use",
                                                            prefix + "10013 Permission denied"));
    }
    EXPECT_EQ(mrw::g_rtListenSocket.load(), INVALID_SOCKET);
    closesocket(first);
}

TEST_F(RealTrafficLinkTest, ClosingTheLinkReleasesABlockedAccept) {
    mrw::lf_listenForRealTraffic(std::to_string(port));
    auto waiting = std::async(std::launch::async, [] { return mrw::waitForClient(); });
    EXPECT_EQ(waiting.wait_for(100ms), std::future_status::timeout);
    mrw::lf_closeRealTrafficLink();  // the window's close button, on another thread
    ASSERT_EQ(waiting.wait_for(kBound), std::future_status::ready);
    EXPECT_FALSE(waiting.get());
    EXPECT_FALSE(mrw::g_rtConnected.load());
}

// A client of our own on the link's port.
SOCKET connectedClient(u_short port) {
    const SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in address = mrwtest::loopbackAddress(port);
    EXPECT_EQ(::connect(client, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    return client;
}

// What the client reads until the program closes the link (bounded).
std::string readUntilClosed(SOCKET client) {
    const DWORD bound = 10000;
    setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&bound), sizeof bound);
    std::string received;
    char buffer[64];
    for (int n = 0; (n = recv(client, buffer, sizeof buffer, 0)) > 0;)
        received.append(buffer, static_cast<std::size_t>(n));
    return received;
}

// A client that connects and never answers the version request is closed after the time-out, with
// a message line, and the next client gets the handshake.
TEST_F(RealTrafficLinkTest, AStalledClientIsTimedOutAndTheNextOneAnswers) {
    mrw::g_rtVersionAnswerTimeoutMs = 300;
    mrw::lf_listenForRealTraffic(std::to_string(port));
    const SOCKET stalled = connectedClient(port);
    auto waiting = std::async(std::launch::async, [] { mrw::lf_waitForRealTraffic(); });
    // The stalled client is asked, then closed: it reads the question and then the end of the stream.
    EXPECT_EQ(readUntilClosed(stalled), "Qs999=version\r\n");
    closesocket(stalled);

    rtpeer::PeerOptions options = peerOptions();
    options.level = 2;
    options.version = "9.1";
    rtpeer::Peer peer(options);
    peer.start();
    const bool done = waiting.wait_for(kBound) == std::future_status::ready;
    mrw::g_rtVersionAnswerTimeoutMs = 10000;
    if (!done) mrw::lf_closeRealTrafficLink();  // releases the wait before the test ends
    ASSERT_TRUE(done);
    EXPECT_TRUE(mrw::g_rtProfessional.load());
    EXPECT_EQ(mrw::g_mainWindow().realTrafficEditionText.get(), "RT prof edition: 9.1");
    EXPECT_NE(folder.logText().find(
                  " RealTraffic did not answer the version request: waiting for it to connect again ..."),
              std::string::npos);
    EXPECT_NE(folder.logText().find("RealTraffic connected\n"), std::string::npos);
    peer.stop();
}

int occurrences(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// Clients that are not RealTraffic, whatever they send, are closed, and RealTraffic connecting next
// is served with its edition.
TEST_F(RealTrafficLinkTest, ClientsThatAreNotRealTrafficAreClosedAndRealTrafficIsServedNext) {
    mrw::g_rtVersionAnswerTimeoutMs = 300;
    struct Case {
        const char* name;
        std::string sent;  // after the version request
        bool closesFirst;  // closes (or half-closes) before it is asked
        bool halfCloses;
    };
    const Case cases[] = {
        {"one byte", "{", false, false},
        {"one byte of no JSON", "x", false, false},
        {"16 KB without a line end", R"({"version": ")" + std::string(16384, 'a'), false, false},
        {"a JSON array", "[2, \"9.0\"]\r\n", false, false},
        {"a line of no JSON", "garbage\r\n", false, false},
        {"an empty line", "\r\n", false, false},
        {"closes at once", "", true, false},
        {"half-closes", "", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mrw::lf_listenForRealTraffic(std::to_string(port));
        const SOCKET client = connectedClient(port);
        if (c.closesFirst) {
            if (c.halfCloses) {
                shutdown(client, SD_SEND);
            } else {
                closesocket(client);
            }
        }
        auto waiting = std::async(std::launch::async, [] { mrw::lf_waitForRealTraffic(); });
        if (!c.closesFirst) {
            char question[16] = {};
            const DWORD bound = 10000;
            setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&bound), sizeof bound);
            EXPECT_EQ(recv(client, question, 15, 0), 15);
            EXPECT_EQ(std::string(question), "Qs999=version\r\n");
            send(client, c.sent.data(), static_cast<int>(c.sent.size()), 0);
            EXPECT_EQ(readUntilClosed(client), "") << "closed by the program";
        }
        if (!c.closesFirst || c.halfCloses) closesocket(client);

        rtpeer::PeerOptions options = peerOptions();
        options.level = 2;
        options.version = "9.1";
        rtpeer::Peer peer(options);
        peer.start();
        const bool done = waiting.wait_for(kBound) == std::future_status::ready;
        if (!done) mrw::lf_closeRealTrafficLink();  // releases the wait before the test ends
        ASSERT_TRUE(done);
        EXPECT_TRUE(mrw::g_rtConnected.load());
        EXPECT_TRUE(mrw::g_rtProfessional.load());
        EXPECT_EQ(mrw::g_mainWindow().realTrafficEditionText.get(), "RT prof edition: 9.1");
        EXPECT_EQ(peer.connections(), 1);
        mrw::lf_closeRealTrafficLink();
        peer.stop();
        port = mrwtest::freeTcpPort();
    }
}

// A program that connects and closes in a loop keeps RealTraffic out only while it goes on, and
// writes no line for each of its connections.
TEST_F(RealTrafficLinkTest, AConnectAndCloseLoopDoesNotKeepAWaitingRealTrafficOut) {
    mrw::lf_listenForRealTraffic(std::to_string(port));
    auto waiting = std::async(std::launch::async, [] { mrw::lf_waitForRealTraffic(); });
    rtpeer::PeerOptions options = peerOptions();
    options.level = 2;
    rtpeer::Peer peer(options);
    for (int i = 0; i < 300; ++i) {
        closesocket(connectedClient(port));
        if (i == 100) peer.start();
    }
    const bool done = waiting.wait_for(kBound) == std::future_status::ready;
    if (!done) mrw::lf_closeRealTrafficLink();
    ASSERT_TRUE(done);
    EXPECT_TRUE(mrw::g_rtProfessional.load());
    EXPECT_EQ(peer.connections(), 1);
    const std::string log = folder.logText();
    EXPECT_LE(occurrences(log, "RealTraffic did not answer the version request"), 3) << log;
    EXPECT_LE(occurrences(log, "No RealTraffic version received?"), 3) << log;
    peer.stop();
}

// After RealTraffic is gone, clients that have closed again before they are accepted do not count as
// its return: the next one that stays is RealTraffic.
TEST_F(RealTrafficLinkTest, ClosedClientsDoNotCountAsAReconnection) {
    rtpeer::PeerOptions options = peerOptions();
    options.reconnectDelaySeconds = 1.0;
    rtpeer::Peer peer(options);
    connect(peer);
    setUser();
    peer.dropLink();
    sendUntilTheLinkIsSeenGone();
    ASSERT_FALSE(mrw::g_mainWindow().realTrafficReady.load());
    for (int i = 0; i < 20; ++i)
        closesocket(connectedClient(port));  // while RealTraffic waits to come back
    // The peer may have read positions of its first link before it dropped it.
    const auto messages = peer.linkMessages();
    const auto positionsOfFirstLink = static_cast<std::size_t>(std::count_if(
        messages.begin(), messages.end(), [](const std::string& m) { return m.starts_with("Qs121="); }));

    mrw::lf_sendUserPosition();  // blocks until a client that stays connects
    EXPECT_TRUE(mrw::g_mainWindow().realTrafficReady.load());
    mrw::lf_sendUserPosition();
    EXPECT_TRUE(peer.waitForMessages("Qs121=", positionsOfFirstLink + 1, kBound))
        << "the position reaches RealTraffic";
    EXPECT_EQ(peer.connections(), 2);
    const std::string log = folder.logText();
    EXPECT_EQ(occurrences(log, " RealTraffic re-connected\n"), 1);
    EXPECT_EQ(occurrences(log, " RealTraffic gone? "), 1);
    peer.stop();
}

}  // namespace
