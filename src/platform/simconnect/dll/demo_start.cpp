// The Windows demo: the program loads SimConnect.dll by itself, so the simulated simulator starts
// itself when the demo asks for it through the environment:
//   MRW_SIMWORLD_USER    LAT,LON,HEADING  the simulator runs, free, with the user aircraft on the ground
//   there MRW_SIMWORLD_REPORT  FILE             every 5 s a line about the AI objects is appended to it
// Without MRW_SIMWORLD_USER nothing starts: tests drive the world themselves.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <thread>

#include "platform/simconnect/ai_object_counts.h"
#include "platform/simconnect/sim_world.h"

namespace standin {
namespace {

struct UserPlace {
    double latitudeDeg = 0.0;
    double longitudeDeg = 0.0;
    double headingDeg = 0.0;
};

bool lf_readPlace(const char* text, UserPlace& place) {
    std::istringstream in(text);
    char comma1 = 0;
    char comma2 = 0;
    return static_cast<bool>(in >> place.latitudeDeg >> comma1 >> place.longitudeDeg >> comma2 >>
                             place.headingDeg) &&
           comma1 == ',' && comma2 == ',';
}

// Runs for the life of the process; it ends with it.
void lf_runDemo(UserPlace place, std::string reportFile) {
    const SimWorldConfig config;
    resetWorld(config);
    modifyUser([&](SimObject& user) {
        user.latitudeDeg = place.latitudeDeg;
        user.longitudeDeg = place.longitudeDeg;
        user.headingRad = place.headingDeg * std::numbers::pi / 180.0;
        user.altitudeFeet = config.groundElevationFeet;
        user.onGround = true;
    });
    startSimulator();
    startFreeRunning();
    AiObjectCounts counts;
    for (long elapsed = 5;; elapsed += 5) {
        std::this_thread::sleep_for(std::chrono::seconds(5));
        const std::string line = counts.report(elapsed);
        if (reportFile.empty()) {
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        } else {
            std::ofstream(reportFile, std::ios::app) << line << '\n';
        }
    }
}

// Started when the DLL is loaded; the thread's work begins once the loading is done, and the
// program's SimConnect_Open retries until the simulator runs.
const bool g_demoStarted = [] {
    const char* user = std::getenv("MRW_SIMWORLD_USER");
    UserPlace place;
    if (user == nullptr || !lf_readPlace(user, place)) return false;
    const char* report = std::getenv("MRW_SIMWORLD_REPORT");
    std::thread(lf_runDemo, place, std::string(report == nullptr ? "" : report)).detach();
    return true;
}();

}  // namespace
}  // namespace standin
