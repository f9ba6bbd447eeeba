#include "platform/entry/demo_watch.h"

#include "platform/simconnect/ai_object_counts.h"
#include "platform/simconnect/sim_world.h"
#include "platform/win32/standin.h"
#include "platform/win32/win32.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <thread>

namespace standin {

namespace {

std::atomic<bool> g_pngWanted{false};
std::atomic<bool> g_stopWatch{false};
std::atomic<bool> g_watchEnded{false};
std::thread g_watch;

extern "C" void lf_onUsr1(int) {
    g_pngWanted = true;
}

HWND lf_mainWindow() {
    return FindWindowW(u"Merrowvale", nullptr);
}

void lf_writePng(const std::filesystem::path& png) {
    HWND window = lf_mainWindow();
    const bool written = window != nullptr && savePng(window, png);
    std::printf("%s %s\n", written ? "PNG written:" : "PNG not written:", png.string().c_str());
    std::fflush(stdout);
}

void lf_watch(DemoOptions options) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    auto nextReport = start + std::chrono::seconds(5);
    AiObjectCounts counts;
    while (!g_stopWatch) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto now = Clock::now();
        if (g_pngWanted.exchange(false)) lf_writePng(options.png);
        if (now >= nextReport) {
            const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - start).count();
            std::printf("%s\n", counts.report(static_cast<long>(elapsed)).c_str());
            std::fflush(stdout);
            nextReport += std::chrono::seconds(5);
        }
        if (options.duration && now - start >= *options.duration) {
            lf_writePng(options.png);
            if (HWND window = lf_mainWindow()) requestClose(window);
            break;
        }
    }
    g_watchEnded = true;
}

}  // namespace

void startDemo(const DemoOptions& options) {
    SimWorldConfig config;
    resetWorld(config);
    if (options.userLatitude && options.userLongitude) {
        modifyUser([&](SimObject& user) {
            user.latitudeDeg = *options.userLatitude;
            user.longitudeDeg = *options.userLongitude;
            user.headingRad = options.userHeadingDeg * 3.14159265358979323846 / 180.0;
            user.altitudeFeet = config.groundElevationFeet;
            user.onGround = true;
        });
    }
    startSimulator();
    startFreeRunning();
    struct sigaction action {};
    action.sa_handler = lf_onUsr1;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR1, &action, nullptr);
    g_watch = std::thread(lf_watch, options);
}

void stopDemo() {
    g_stopWatch = true;
    // The watch may be waiting for this (the UI) thread in a PNG or the close: serve it until it ends.
    pumpUntil([] { return g_watchEnded.load(); }, std::chrono::seconds(30));
    if (g_watch.joinable()) g_watch.join();
    stopFreeRunning();
}

}  // namespace standin
