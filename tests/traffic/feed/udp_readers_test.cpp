// The UDP readers over real sockets on 127.0.0.1.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "foundation/clock.h"
#include "foundation/run_state.h"
#include "foundation/window_model.h"
#include "support/loopback_address.h"
#include "support/winsock_session.h"
#include "tools/realtraffic-peer/realtraffic_peer.h"
#include "traffic/feed/reader_threads.h"
#include "traffic/feed/realtraffic_mode.h"
#include "traffic/feed/traffic_record_test_support.h"
#include "traffic/feed/udp_reader.h"
#include "traffic/model/engine_containers.h"

namespace {

using namespace std::chrono_literals;
constexpr auto kBound = 10s;

// A UDP socket bound to 127.0.0.1 on a port the system chooses; closed with the object.
class BoundUdpSocket {
  public:
    BoundUdpSocket() : m_socket(socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)) {
        const sockaddr_in address = mrwtest::loopbackAddress(0);
        EXPECT_EQ(bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        sockaddr_in bound{};
        int length = sizeof bound;
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&bound), &length);
        m_port = ntohs(bound.sin_port);
    }
    ~BoundUdpSocket() { closesocket(m_socket); }
    u_short port() const { return m_port; }

  private:
    SOCKET m_socket;
    u_short m_port = 0;
};

// A port that was free a moment ago.
u_short freeUdpPort() {
    return BoundUdpSocket().port();
}

void sendTo(u_short port, const std::string& datagram) {
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const sockaddr_in address = mrwtest::loopbackAddress(port);
    EXPECT_EQ(sendto(s, datagram.data(), static_cast<int>(datagram.size()), 0,
                     reinterpret_cast<const sockaddr*>(&address), sizeof address),
              static_cast<int>(datagram.size()));
    closesocket(s);
}

template <typename Predicate>
bool eventually(Predicate predicate) {
    const auto deadline = std::chrono::steady_clock::now() + kBound;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class CollectingReader : public mrw::UdpReader {
  public:
    void onDatagram(std::string_view datagram) override {
        const std::lock_guard lock(mutex);
        received.emplace_back(datagram);
    }
    void onStopped() override { stopped = true; }
    std::vector<std::string> datagrams() {
        const std::lock_guard lock(mutex);
        return received;
    }
    bool hasReceived(const std::string& datagram) {
        const std::lock_guard lock(mutex);
        return std::find(received.begin(), received.end(), datagram) != received.end();
    }

    std::atomic<bool> stopped{false};

  private:
    std::mutex mutex;
    std::vector<std::string> received;
};

class UdpReaderTest : public ::testing::Test {
  protected:
    mrwtest::WinsockSession winsock;  // the test's own sockets come before the reader's start-up
    mrwtest::LoggedProgramFolder folder;
    CollectingReader reader;
    std::thread loop;
    u_short port = 0;

    void SetUp() override { mrw::g_realTrafficMode = mrw::RealTrafficMode::ThisPc; }
    void TearDown() override {
        reader.stopRequest = true;
        if (loop.joinable()) loop.join();
        mrw::g_realTrafficMode = mrw::RealTrafficMode::OtherPc;
    }

    void startLoop(bool keepDuplicates) {
        port = freeUdpPort();
        reader.startup();
        reader.createSocket();
        reader.bind(port);
        loop = std::thread([this, keepDuplicates] { reader.receiveLoop(keepDuplicates); });
    }
};

TEST_F(UdpReaderTest, DuplicatesSkippedUnlessKept) {
    for (const bool keep : {false, true}) {
        SCOPED_TRACE(keep);
        reader.stopRequest = true;
        if (loop.joinable()) loop.join();
        reader.stopRequest = false;
        CollectingReader& r = reader;
        r.datagramCount = 0;
        startLoop(keep);
        sendTo(port, "A");
        sendTo(port, "A");
        sendTo(port, "B");
        sendTo(port, "A");
        ASSERT_TRUE(eventually([&] { return r.datagramCount.load() >= (keep ? 4 : 3); }));
        const std::vector<std::string> expected =
            keep ? std::vector<std::string>{"A", "A", "B", "A"} : std::vector<std::string>{"A", "B", "A"};
        const auto got = r.datagrams();
        EXPECT_EQ(
            std::vector<std::string>(got.end() - static_cast<std::ptrdiff_t>(expected.size()), got.end()),
            expected);
    }
}

// Oversized datagrams leave no trace but their line; a marker datagram after each shows that the
// reader has taken it, as UDP may drop what a full receive buffer cannot hold.
TEST_F(UdpReaderTest, OversizedDatagramsAreDroppedWithTheirTrueSize) {
    mrw::SteadyClockForTests clock;  // a second passes between the oversized datagrams
    startLoop(true);
    sendTo(port, std::string(16383, 'x'));
    int marker = 0;
    for (const std::size_t size : {16384u, 20000u, 65507u}) {  // 65507: the largest there is
        sendTo(port, std::string(size, 'y'));
        const std::string end = "end" + std::to_string(++marker);
        sendTo(port, end);
        ASSERT_TRUE(eventually([&] { return reader.hasReceived(end); }));
        clock.advance(1s);
    }
    EXPECT_EQ(reader.datagrams(),
              (std::vector<std::string>{std::string(16383, 'x'), "end1", "end2", "end3"}));
    const std::string log = folder.logText();
    EXPECT_NE(log.find("buffer overrun: 16384 bytes\n"), std::string::npos);
    EXPECT_NE(log.find("buffer overrun: 20000 bytes\n"), std::string::npos);
    EXPECT_NE(log.find("buffer overrun: 65507 bytes\n"), std::string::npos);
}

// A flood of oversized datagrams writes one line a second, the next one counting those left out.
TEST_F(UdpReaderTest, OversizedDatagramsWriteOneLineASecond) {
    mrw::SteadyClockForTests clock;
    startLoop(true);
    const auto sendOversized = [&](std::size_t size, int i) {
        sendTo(port, std::string(size, 'z'));
        const std::string end = "end" + std::to_string(i);
        sendTo(port, end);
        return eventually([&] { return reader.hasReceived(end); });
    };
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(sendOversized(16384u + static_cast<std::size_t>(i), i));
    std::string log = folder.logText();
    EXPECT_EQ(log.find("buffer overrun: "), log.rfind("buffer overrun: ")) << log;
    EXPECT_NE(log.find("buffer overrun: 16384 bytes\n"), std::string::npos) << log;
    clock.advance(1s);
    ASSERT_TRUE(sendOversized(30000u, 20));
    log = folder.logText();
    EXPECT_NE(log.find("buffer overrun: 30000 bytes (19 more such lines left out)\n"), std::string::npos)
        << log;
}

TEST_F(UdpReaderTest, StopRequestEndsTheLoopWithinItsTimeOut) {
    startLoop(false);
    sendTo(port, "one");
    ASSERT_TRUE(eventually([&] { return reader.hasReceived("one"); }));
    reader.stopRequest = true;
    loop.join();  // the receive time-out (1 s) lets the loop see the request
    EXPECT_TRUE(reader.stopped.load());
}

TEST_F(UdpReaderTest, ASocketErrorEndsTheLoopWithAnError) {
    // The loop on a socket that is not there: every receive fails.
    std::atomic<bool> ended{false};
    std::string error;
    loop = std::thread([&] {
        try {
            reader.receiveLoop(false);
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
        ended = true;
    });
    // A loop that takes the error for a time-out would run on: the stop request ends it.
    EXPECT_TRUE(eventually([&] { return ended.load(); })) << "the loop goes on after a socket error";
    reader.stopRequest = true;
    loop.join();
    EXPECT_TRUE(error.starts_with("receive error: ")) << "the loop ended quietly: " << error;
    EXPECT_FALSE(reader.stopped.load());
}

class ReaderThreadsTest : public ::testing::Test {
  protected:
    mrwtest::WinsockSession winsock;  // the test's own sockets come before the readers' start-up
    mrwtest::TrafficReaderState state;

    void SetUp() override {
        mrw::g_realTrafficMode = mrw::RealTrafficMode::ThisPc;
        mrw::gf_resetReaderSide();
    }
    void TearDown() override {
        mrw::gf_stopReaders();
        mrw::gf_waitForReaders();
        mrw::gf_resetReaderSide();
        mrw::g_realTrafficMode = mrw::RealTrafficMode::OtherPc;
        mrw::g_exitReason = mrw::ExitReason::NotYetSet;
        mrw::g_stopRequested = false;
        mrw::g_mainWindow().realTrafficReady = false;
    }
};

TEST_F(ReaderThreadsTest, ReadersReceiveFromThePeerAndShowTheirLamps) {
    mrw::MainWindow& window = mrw::g_mainWindow();
    for (int run = 0; run < 2; ++run) {  // a second run starts its threads on the same readers
        SCOPED_TRACE(run);
        const u_short trafficPort = freeUdpPort();
        const u_short weatherPort = freeUdpPort();
        mrw::gf_resetReaderSide();
        mrw::gf_startQnhReader(weatherPort);
        mrw::gf_startTrafficReader(trafficPort);
        ASSERT_TRUE(
            eventually([&] { return window.trafficReaderStatus.load() == mrw::ReaderStatus::Receiving; }));

        rtpeer::PeerOptions options;
        options.trafficPort = trafficPort;
        options.weatherPort = weatherPort;
        options.linkPort.reset();
        options.generateIntervalSeconds = 0.05;
        options.generatedQnh = run == 0 ? "3100" : "1020";
        options.aircraft.push_back(rtpeer::parseGeneratedAircraft(
            "11260357,SWA962,B738,N8604K,SFO,LAX,33.95,-118.30,5000,270,180,-500"));
        options.print = [](std::string_view) {};
        rtpeer::Peer peer(options);
        peer.start();
        EXPECT_TRUE(eventually([] {
            const std::lock_guard lock(mrw::g_trafficMutex);
            return !mrw::g_trafficReports.empty();
        }));
        EXPECT_TRUE(eventually([&] { return mrw::g_qnh.load() == (run == 0 ? 1050 : 1020); }));
        peer.stop();
        {
            const std::lock_guard lock(mrw::g_trafficMutex);
            EXPECT_EQ(mrw::g_trafficReports.front().identity.callsign, "SWA962");
            mrw::g_trafficReports.clear();
        }
        mrw::gf_stopReaders();
        mrw::gf_waitForReaders();
        EXPECT_EQ(window.trafficReaderStatus.load(), mrw::ReaderStatus::Stopped);
        EXPECT_EQ(window.weatherReaderStatus.load(), mrw::ReaderStatus::Stopped);
    }
    const std::string log = state.logText();
    EXPECT_NE(log.find("          Traffic Reader connected\n"), std::string::npos);
    EXPECT_NE(log.find("Traffic Reader has stopped\n"), std::string::npos);
    EXPECT_NE(log.find("QNH Reader has stopped\n"), std::string::npos);
    EXPECT_NE(log.find("          QNH Reader disconnected\n"), std::string::npos);
}

TEST_F(ReaderThreadsTest, TheTrafficReaderAloneMovesTheWeatherLampToo) {
    mrw::MainWindow& window = mrw::g_mainWindow();
    window.trafficReaderStatus = mrw::ReaderStatus::Stopped;
    window.weatherReaderStatus = mrw::ReaderStatus::Stopped;
    mrw::gf_startTrafficReader(freeUdpPort());
    ASSERT_TRUE(
        eventually([&] { return window.trafficReaderStatus.load() == mrw::ReaderStatus::Receiving; }));
    EXPECT_EQ(window.weatherReaderStatus.load(), mrw::ReaderStatus::Receiving);
    window.weatherReaderStatus = mrw::ReaderStatus::NothingNew;
    mrw::gf_stopReaders();
    mrw::gf_waitForReaders();
    EXPECT_EQ(window.trafficReaderStatus.load(), mrw::ReaderStatus::Stopped);
    EXPECT_EQ(window.weatherReaderStatus.load(), mrw::ReaderStatus::Stopped);
}

TEST_F(ReaderThreadsTest, PortInUseStopsTheRunWithReaderError) {
    const BoundUdpSocket taken;
    mrw::gf_startQnhReader(taken.port());
    mrw::gf_waitForReaders();
    EXPECT_EQ(mrw::g_exitReason.load(), mrw::ExitReason::ReaderError);
    EXPECT_EQ(mrw::g_restartDelay.load(), 15);
    EXPECT_NE(state.logText().find("The QNH Reader has stopped with error: bind to stream socket failed, "
                                   "error: 10048 Address already in use"),
              std::string::npos);
    EXPECT_EQ(mrw::g_mainWindow().weatherReaderStatus.load(), mrw::ReaderStatus::Stopped);
}

TEST_F(ReaderThreadsTest, LampCheckShowsWhetherDatagramsArrived) {
    mrw::MainWindow& window = mrw::g_mainWindow();
    mrw::TrafficReader& traffic = mrw::g_trafficReader();
    mrw::QnhReader& weather = mrw::g_qnhReader();
    window.trafficReaderStatus = mrw::ReaderStatus::Receiving;
    window.weatherReaderStatus = mrw::ReaderStatus::Receiving;

    window.realTrafficReady = false;  // not ready: nothing changes
    mrw::gf_updateReaderLamps();
    EXPECT_EQ(window.trafficReaderStatus.load(), mrw::ReaderStatus::Receiving);

    window.realTrafficReady = true;
    traffic.datagramCount = 5;
    mrw::gf_updateReaderLamps();  // traffic arrived, weather did not
    EXPECT_EQ(window.trafficReaderStatus.load(), mrw::ReaderStatus::Receiving);
    EXPECT_EQ(window.weatherReaderStatus.load(), mrw::ReaderStatus::NothingNew);
    mrw::gf_updateReaderLamps();  // nothing new for either
    EXPECT_EQ(window.trafficReaderStatus.load(), mrw::ReaderStatus::NothingNew);
    traffic.datagramCount = 6;
    weather.datagramCount = 1;
    mrw::gf_updateReaderLamps();  // both again
    EXPECT_EQ(window.trafficReaderStatus.load(), mrw::ReaderStatus::Receiving);
    EXPECT_EQ(window.weatherReaderStatus.load(), mrw::ReaderStatus::Receiving);
    window.trafficReaderStatus = mrw::ReaderStatus::Stopped;
    traffic.datagramCount = 7;
    mrw::gf_updateReaderLamps();  // shown already since the last 2: left alone
    EXPECT_EQ(window.trafficReaderStatus.load(), mrw::ReaderStatus::Stopped);
}

}  // namespace
