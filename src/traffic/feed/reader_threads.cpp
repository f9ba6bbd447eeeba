#include "traffic/feed/reader_threads.h"

#include <atomic>
#include <cstdlib>
#include <exception>
#include <string_view>
#include <thread>

#include <fmt/format.h>

#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/run_state.h"
#include "foundation/thread_safety.h"
#include "foundation/window_model.h"
#include "traffic/feed/realtraffic_mode.h"

namespace mrw {

namespace {

constexpr std::string_view kTrafficReaderName = "Traffic Reader";
constexpr std::string_view kQnhReaderName = "QNH Reader";

// Winsock is ended once in the process, by the first reader thread that ends.
std::atomic<bool> g_winsockEnded{false};
// Per reader: the receiving state was shown since the lamp last went to 2.
std::atomic<bool> g_trafficLampLatch{true};
std::atomic<bool> g_qnhLampLatch{true};

// The thread of one reader. Created on first use and never destroyed; the process-exit handler
// joins the threads while everything they use still exists.
struct ReaderThread {
    Mutex mutex;
    std::thread thread GUARDED_BY(mutex);
};

ReaderThread& lf_trafficThread() {
    static auto* thread = new ReaderThread();
    return *thread;
}

ReaderThread& lf_qnhThread() {
    static auto* thread = new ReaderThread();
    return *thread;
}

void lf_join(ReaderThread& readerThread) {
    MutexLock lock(readerThread.mutex);
    if (readerThread.thread.joinable()) readerThread.thread.join();
}

void lf_stopAndJoinAtExit() {
    gf_stopReaders();
    gf_waitForReaders();
}

void lf_setLamps(bool traffic, ReaderStatus status) {
    MainWindow& window = g_mainWindow();
    if (traffic) {
        window.trafficReaderStatus = status;
        gf_invalidateStatusBand();
    }
    window.weatherReaderStatus = status;
    gf_invalidateStatusBand();
}

void lf_logReaderConnected(std::string_view name) {
    gf_logIndented(fmt::format("{} connected", name));
}

void lf_logReaderDisconnected(std::string_view name) {
    gf_logIndented(fmt::format("{} disconnected", name));
}

// Both thread bodies: the Traffic Reader's lamps cover the weather lamp too.
void lf_runReader(UdpReader& reader, std::string_view name, std::uint16_t port, bool traffic) {
    try {
        reader.startup();
        reader.createSocket();
        reader.bind(port);
        lf_setLamps(traffic, ReaderStatus::Receiving);
        lf_logReaderConnected(name);
        reader.receiveLoop(g_realTrafficMode.load() == RealTrafficMode::ThisPc);
    } catch (const std::exception& e) {
        gf_readerStopped(name, e.what());
    } catch (...) {
        gf_readerStopped(name, "Unknown exception");
    }
    reader.closeSocket();
    if (!g_winsockEnded.exchange(true)) WSACleanup();
    lf_setLamps(traffic, ReaderStatus::Stopped);
    lf_logReaderDisconnected(name);
}

void lf_trafficReader(std::uint16_t port) {
    lf_runReader(g_trafficReader(), kTrafficReaderName, port, true);
}

void lf_qnhReader(std::uint16_t port) {
    lf_runReader(g_qnhReader(), kQnhReaderName, port, false);
}

void lf_start(ReaderThread& readerThread, UdpReader& reader, void (*body)(std::uint16_t),
              std::uint16_t port) {
    static const bool exitHandlerArmed = [] { return std::atexit(lf_stopAndJoinAtExit) == 0; }();
    (void)exitHandlerArmed;
    MutexLock lock(readerThread.mutex);
    if (readerThread.thread.joinable()) {
        // The previous run's thread may not have seen its stop request yet (or the run's reset
        // cleared it first): stop it, wait for it, and give the new run its own request back.
        const bool stopRequest = reader.stopRequest.exchange(true);
        readerThread.thread.join();
        reader.stopRequest = stopRequest;
    }
    readerThread.thread = std::thread(body, port);
}

// One lamp of the check: count unchanged -> 2, else 1 the first time after a 2.
void lf_checkLamp(UdpReader& reader, std::atomic<bool>& latch, std::atomic<ReaderStatus>& lamp) {
    const std::int32_t count = reader.datagramCount.load();
    const std::int32_t previous = reader.countAtLastCheck.exchange(count);
    if (count == previous) {
        lamp = ReaderStatus::NothingNew;
        gf_invalidateStatusBand();
        latch = false;
    } else if (!latch.exchange(true)) {
        lamp = ReaderStatus::Receiving;
        gf_invalidateStatusBand();
    }
}

}  // namespace

TrafficReader& g_trafficReader() {
    static auto* reader = new TrafficReader();
    return *reader;
}

QnhReader& g_qnhReader() {
    static auto* reader = new QnhReader();
    return *reader;
}

void gf_startTrafficReader(std::uint16_t port) {
    lf_start(lf_trafficThread(), g_trafficReader(), lf_trafficReader, port);
}

void gf_startQnhReader(std::uint16_t port) {
    lf_start(lf_qnhThread(), g_qnhReader(), lf_qnhReader, port);
}

void gf_stopReaders() {
    g_trafficReader().stopRequest = true;
    g_qnhReader().stopRequest = true;
}

void gf_waitForReaders() {
    lf_join(lf_trafficThread());
    lf_join(lf_qnhThread());
}

void gf_resetReaderSide() {
    TrafficReader& traffic = g_trafficReader();
    traffic.resetStartValues();
    traffic.resetErrorLines();
    traffic.stopRequest = false;
    g_trafficLampLatch = true;
    QnhReader& weather = g_qnhReader();
    weather.qnh = 1013;
    weather.stopRequest = false;
    weather.datagramCount = 0;
    weather.countAtLastCheck = 0;
    weather.resetErrorLines();
    g_qnhLampLatch = true;
}

void gf_updateReaderLamps() {
    MainWindow& window = g_mainWindow();
    if (!window.realTrafficReady.load()) return;
    lf_checkLamp(g_qnhReader(), g_qnhLampLatch, window.weatherReaderStatus);
    lf_checkLamp(g_trafficReader(), g_trafficLampLatch, window.trafficReaderStatus);
}

void gf_readerStopped(std::string_view readerName, std::string_view error) {
    gf_setMessage(fmt::format("The {} has stopped with error: {}", readerName, error), true);
    gf_stopWithReason(ExitReason::ReaderError, 15);
}

}  // namespace mrw
