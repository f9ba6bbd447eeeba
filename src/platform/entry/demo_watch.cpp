#include "platform/entry/demo_watch.h"

#include "platform/simconnect/sim_world.h"
#include "platform/win32/standin.h"
#include "platform/win32/win32.h"

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <map>
#include <set>
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

// Counts over the whole run: objects seen and gone, and where each one was at the last report.
struct ObjectCounts {
    std::set<DWORD> seen;
    std::set<DWORD> removed;
    std::map<DWORD, std::pair<double, double>> lastPlace;
};

// One line of the simulator's AI objects: created and removed so far, moving and parked now.
void lf_report(ObjectCounts& counts, long elapsedSeconds) {
    std::set<DWORD> present;
    int moving = 0;
    int parked = 0;
    std::map<DWORD, std::pair<double, double>> places;
    for (const SimObject& object : objects()) {
        if (object.kind != ObjectKind::Ai) continue;
        present.insert(object.id);
        counts.seen.insert(object.id);
        places[object.id] = {object.latitudeDeg, object.longitudeDeg};
        const auto last = counts.lastPlace.find(object.id);
        // 1e-5 degrees is about a metre: anything less is standing still.
        const bool moved = last == counts.lastPlace.end() ||
                           std::abs(last->second.first - object.latitudeDeg) > 1e-5 ||
                           std::abs(last->second.second - object.longitudeDeg) > 1e-5;
        if (moved && last != counts.lastPlace.end()) ++moving;
        if (!moved && object.onGround) ++parked;
    }
    for (DWORD id : counts.seen) {
        if (present.count(id) == 0) counts.removed.insert(id);
    }
    counts.lastPlace = std::move(places);
    std::printf("%5lds  AI objects: %zu in the simulator, %zu created, %zu removed, %d moving, %d parked\n",
                elapsedSeconds, present.size(), counts.seen.size(), counts.removed.size(), moving, parked);
    std::fflush(stdout);
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
    ObjectCounts counts;
    while (!g_stopWatch) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const auto now = Clock::now();
        if (g_pngWanted.exchange(false)) lf_writePng(options.png);
        if (now >= nextReport) {
            lf_report(counts, std::chrono::duration_cast<std::chrono::seconds>(now - start).count());
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
