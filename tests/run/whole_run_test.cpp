// The whole program in one process: the real main worker, the simulated simulator running free and
// our RealTraffic peer replaying the KLAX recording on 127.0.0.1, with the user parked at KLAX.
// Creation, movement, the Block request, a restart after a failed creation and the close.

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/window_procedure.h"
#include "config/parameter_catalogue.h"
#include "config/traffic_range.h"
#include "foundation/file_system.h"
#include "foundation/geometry.h"
#include "foundation/message_line.h"
#include "foundation/text_encoding.h"
#include "platform/simconnect/sim_world.h"
#include "platform/win32/standin.h"
#include "platform/win32/user32.h"
#include "run/main_worker.h"
#include "run/run_end.h"
#include "run/run_test_support.h"
#include "support/logged_program_folder.h"
#include "support/loopback_address.h"
#include "support/process_data_directory.h"
#include "support/test_support.h"
#include "support/test_window.h"
#include "tools/realtraffic-peer/realtraffic_peer.h"
#include "traffic/model/main_loop_state.h"
#include "traffic/sim/flight_plan_files.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace mrw;

namespace {

// Stand 31 of KLAX's Terminal 3, where the demo parks the user too.
constexpr double kUserLat = 33.9462;
constexpr double kUserLon = -118.407;

std::atomic<int> g_runsStarted{0};
std::atomic<bool> g_quitPosted{false};

// The window procedure's part in a run: a detached main worker for every WM_APP_START_RUN.
LRESULT lf_wholeRunWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP_START_RUN) {
        ++g_runsStarted;
        std::thread(lf_startUpMRWV).detach();
        return 0;
    }
    if (message == WM_APP_QUIT) {
        g_quitPosted = true;
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::size_t lf_threadCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

std::vector<standin::SimObject> lf_aiObjects() {
    std::vector<standin::SimObject> ai;
    for (standin::SimObject& object : standin::objects()) {
        if (object.kind == standin::ObjectKind::Ai) ai.push_back(std::move(object));
    }
    return ai;
}

std::size_t lf_count(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

class WholeRun : public ::testing::Test {
  protected:
    WholeRun() {
        mrwtest::emptyProcessDataDirectory();  // no parameters.xml of an earlier test
        mrwtest::resetRun();
        mrwtest::forgetDatabases();  // the run reads them as the process's first run does
        g_runsStarted = 0;
        g_quitPosted = false;
        m_threadsBefore = lf_threadCount();
        prepareProgramFolder();
        prepareSettings();
        standin::resetWorld();
        standin::modifyUser([](standin::SimObject& user) {
            user.latitudeDeg = kUserLat;
            user.longitudeDeg = kUserLon;
            user.altitudeFeet = 0.0;
            user.onGround = true;
        });
        standin::startSimulator();
        standin::startFreeRunning();
        m_window = mrwtest::createTestWindow(u"MrwWholeRun", lf_wholeRunWindowProc);
        g_mainWindowView().hwnd = m_window;
    }
    ~WholeRun() override {
        // A failed check must not leave a run behind: close it and give it its bounded time.
        if (g_runsStarted > 0 && !g_quitPosted) {
            gf_markClosing();
            standin::pumpUntil([] { return g_quitPosted.load(); }, 60s);
        }
        stopOutsiders();
        g_mainWindowView().hwnd = nullptr;
        standin::destroyAllWindows();
        standin::resetWorld();
        fs::remove_all(gf_appDataPath() / "InsideSystems");
        mrwtest::resetRunSettings();
        gf_setRangeNm(g_parameters().RANGE.defaultValue);
    }

    // A copy of the built program folder (docs and data files), KLAX's airport file, and a
    // packages folder of our own liveries.
    void prepareProgramFolder() {
        mrwtest::copyFolderInto(fs::path(MRW_PROGRAM_DIR), m_folder.path());
        const fs::path demo = fs::path(MRW_FIXTURES_DIR) / "demo";
        fs::create_directories(m_folder / "airports" / "my_thirdparty");
        fs::copy_file(demo / "KLAX.xml", m_folder / "airports" / "my_thirdparty" / "KLAX.xml");
        mrwtest::copyFolderInto(demo / "packages", m_packages.path());
        fs::create_directories(gf_appDataPath() / "InsideSystems");
        fs::copy_file(demo / "RealTraffic.jar", gf_appDataPath() / "InsideSystems" / "RealTraffic.jar",
                      fs::copy_options::overwrite_existing);
    }

    // Settings of an earlier run: the liveries scanned, no airports scan (it would replace KLAX's
    // file with the add-on airports it finds, none here), RealTraffic's link on a free port.
    void prepareSettings(const std::string& more = {}) {
        mrwtest::writeFile(g_parametersFile(),
                           fmt::format("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root><parameters>{}"
                                       "<parameter name=\"SCAN_LIVERIES\" value=\"true\" />"
                                       "<parameter name=\"SCAN_AIRPORTS\" value=\"false\" />"
                                       "<parameter name=\"PORT_NUMBER\" value=\"{}\" />"
                                       "<parameter name=\"MSFS_INSTALL_PATH\" value=\"{}\" />"
                                       "</parameters></root>\n",
                                       more, m_port, path_to_utf8(m_packages.path())));
    }

    // A quiet peer: RealTraffic's link on the program's port when `link` is set.
    static rtpeer::PeerOptions peerOptions(std::optional<u_short> link) {
        rtpeer::PeerOptions options;
        options.linkPort = link;
        options.verbose = false;
        options.print = [](std::string_view) {};
        return options;
    }
    static void startPeer(std::optional<rtpeer::Peer>& peer, rtpeer::PeerOptions options) {
        peer.emplace(std::move(options));
        peer->start();
    }

    void stopOutsiders() {
        for (std::optional<rtpeer::Peer>* peer : {&m_traffic, &m_peer}) {
            if (*peer) (*peer)->stop();
            peer->reset();
        }
        standin::stopFreeRunning();
    }

    std::string log() const { return m_folder.logText(); }
    bool logHas(const std::string& text) const { return log().find(text) != std::string::npos; }

    mrwtest::RealTrafficPortsLock m_portsLock;
    mrwtest::LoggedProgramFolder m_folder;
    mrwtest::TempDir m_packages;
    u_short m_port = mrwtest::freeTcpPort();
    std::optional<rtpeer::Peer> m_peer;
    std::optional<rtpeer::Peer> m_traffic;  // traffic without the link, started later
    HWND m_window = nullptr;
    std::size_t m_threadsBefore = 0;
};

// The Block request for the aircraft's callsign, raised again until the worker took it while the
// aircraft was active; true once the simulator has removed the object.
bool lf_blockUntilRemoved(const standin::SimObject& aircraft) {
    g_parameters().BLOCK_CALLSIGN.current.set(aircraft.atcId);
    return standin::pumpUntil(
        [&] {
            if (!standin::object(aircraft.id)) return true;
            if (!g_blockCallsignRequest.load()) g_blockCallsignRequest = true;
            return false;
        },
        60s);
}

void lf_expectWholeFiles(const fs::path& folder) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = path_to_utf8(entry.path().filename());
        EXPECT_EQ(name.find(".tmp"), std::string::npos)
            << "temporary file left: " << path_to_utf8(entry.path());
        if (entry.is_regular_file() && entry.path().extension() == ".xml") {
            pugi::xml_document document;
            EXPECT_TRUE(document.load_file(entry.path().c_str())) << path_to_utf8(entry.path());
        }
    }
}

TEST_F(WholeRun, TrafficIsCreatedMovedBlockedRestartedAndClosed) {
    rtpeer::PeerOptions replay = peerOptions(m_port);
    replay.recording = fs::path(MRW_FIXTURES_DIR) / "realtraffic" / "KLAX_20200617_2152.csv";
    replay.loop = true;
    startPeer(m_peer, std::move(replay));
    PostMessageW(m_window, WM_APP_START_RUN, 0, 0);

    // Created: the recorded aircraft appear once their first samples fall due.
    ASSERT_TRUE(standin::pumpUntil([] { return lf_aiObjects().size() >= 3; }, 180s)) << log();
    EXPECT_TRUE(logHas("RealTraffic detected at this PC"));
    EXPECT_TRUE(logHas("Traffic Reader connected"));

    // Moved: position updates (definition 402) move live objects of the simulator; static ones
    // stand still, so every object is followed from when it is first seen.
    std::map<DWORD, std::pair<double, double>> firstPlaces;
    ASSERT_TRUE(standin::pumpUntil(
        [&] {
            for (const standin::SimObject& ai : lf_aiObjects()) {
                const auto [place, added] = firstPlaces.try_emplace(ai.id, ai.latitudeDeg, ai.longitudeDeg);
                if (!added && place->second != std::pair{ai.latitudeDeg, ai.longitudeDeg}) return true;
            }
            return false;
        },
        60s));
    bool positionSent = false;
    for (const standin::JournalEntry& call : standin::journal("Merrowvale")) {
        positionSent |= call.function == "SimConnect_SetDataOnSimObject" && !call.arguments.empty() &&
                        call.arguments[0] == "402";
    }
    EXPECT_TRUE(positionSent);

    // Blocked: an aircraft that has its flight plan leaves the simulator, and its plan goes too.
    const auto planOf = [](DWORD objectId) { return g_flightPlanFolder / fmt::format("{}.pln", objectId); };
    standin::SimObject blocked;
    ASSERT_TRUE(standin::pumpUntil(
        [&] {
            for (const standin::SimObject& ai : lf_aiObjects()) {
                if (!fs::exists(planOf(ai.id))) continue;
                blocked = ai;
                return true;
            }
            return false;
        },
        60s));
    const fs::path plan = planOf(blocked.id);
    ASSERT_TRUE(lf_blockUntilRemoved(blocked)) << blocked.atcId;
    EXPECT_TRUE(standin::pumpUntil([&] { return !fs::exists(plan); }, 30s));

    // A creation the simulator refuses ends the run for a restart with the scans off.
    standin::failNext("SimConnect_AICreateNonATCAircraft");
    ASSERT_TRUE(standin::pumpUntil([this] { return logHas("Restart countdown finished"); }, 120s)) << log();
    EXPECT_TRUE(logHas("Exiting: SIMCONNECT ERROR"));
    EXPECT_TRUE(logHas("Restarting after 9 seconds"));
    const std::string settings = mrwtest::readFile(g_parametersFile());
    EXPECT_NE(settings.find(R"(name="SCAN_LIVERIES" value="false")"), std::string::npos);
    EXPECT_NE(settings.find(R"(name="SCAN_AIRPORTS" value="false")"), std::string::npos);
    // The new run connects and registers anew.
    ASSERT_TRUE(standin::pumpUntil([this] { return lf_count(log(), "Traffic Reader connected") >= 2; }, 120s))
        << log();
    EXPECT_EQ(g_runsStarted, 2) << log();
    EXPECT_GE(lf_count(log(), "MSFS 2020 (11.0.282174.999) connected"), 2u);

    // Closed by the user: the run ends, the client closes its connection, the program quits.
    gf_markClosing();
    ASSERT_TRUE(standin::pumpUntil([] { return g_quitPosted.load(); }, 60s)) << log();
    const std::string text = log();
    const std::size_t exiting = text.find("Exiting: USER CLOSED SIM");
    ASSERT_NE(exiting, std::string::npos);
    EXPECT_NE(text.find("SimConnect closed ok", exiting), std::string::npos);

    // Nothing is left behind: no thread of the run, no temporary file, every written file whole.
    stopOutsiders();
    EXPECT_TRUE(standin::pumpUntil([this] { return lf_threadCount() <= m_threadsBefore; }, 30s))
        << lf_threadCount() << " threads, " << m_threadsBefore << " before";
    lf_expectWholeFiles(m_folder.path());
    lf_expectWholeFiles(g_dataDirectory());
}

// How long each AI object of the simulator has stood still in the air, sampled once a second.
class StillInTheAir {
  public:
    void sample(const std::vector<standin::SimObject>& objects, double seconds) {
        for (const standin::SimObject& object : objects) {
            const Place place{object.latitudeDeg, object.longitudeDeg, object.altitudeFeet};
            auto [seen, added] = m_seen.try_emplace(object.id, Seen{place, seconds});
            if (added || object.onGround || seen->second.place != place) {
                seen->second = Seen{place, seconds};
                continue;
            }
            const double still = seconds - seen->second.since;
            if (still > m_longest) m_longest = still, m_longestText = object.atcId;
        }
    }
    double longestSeconds() const { return m_longest; }
    const std::string& longestCallsign() const { return m_longestText; }

  private:
    struct Place {
        double latitude, longitude, altitude;
        bool operator==(const Place&) const = default;
    };
    struct Seen {
        Place place;
        double since;
    };
    std::map<DWORD, Seen> m_seen;
    double m_longest = 0;
    std::string m_longestText;
};

// A light aircraft enters the 10-nm range and is created at its edge: the program takes it over
// and moves it whatever the simulator's measure of the range, and leaves no object it does not
// track, nor one standing still in the air.
TEST_F(WholeRun, AnAircraftCreatedAtTheEdgeOfTheRangeIsTrackedAndMoved) {
    prepareSettings(
        "<parameter name=\"AUTO_RANGE\" value=\"false\" />"
        "<parameter name=\"RANGE\" value=\"10\" />");
    gf_setRangeNm(10);  // the range a user chose in the window
    startPeer(m_peer, peerOptions(m_port));
    PostMessageW(m_window, WM_APP_START_RUN, 0, 0);
    ASSERT_TRUE(standin::pumpUntil([this] { return logHas("Traffic Reader connected"); }, 120s)) << log();
    // Records every half second from 10.1 nm out, flying in at 45 kt: the first within the range
    // lies within 12 m of its edge.
    rtpeer::PeerOptions traffic = peerOptions(std::nullopt);
    const Lalo start = gf_destinationPoint({kUserLat, kUserLon}, 0.0, 10.1 * 1852 / 0.3048);
    traffic.aircraft.push_back(rtpeer::parseGeneratedAircraft(
        fmt::format("11010101,N172ED,C172,N172ED,null,null,{:.6f},{:.6f},2500,180,45,0", start.latitude,
                    start.longitude)));
    traffic.generateIntervalSeconds = 0.5;
    startPeer(m_traffic, std::move(traffic));

    const auto airborne = [] {
        for (const standin::SimObject& ai : lf_aiObjects())
            if (!ai.onGround) return true;
        return false;
    };
    ASSERT_TRUE(standin::pumpUntil(airborne, 120s)) << log();
    StillInTheAir still;
    for (int second = 0; second < 75; ++second) {
        still.sample(lf_aiObjects(), second);
        standin::pumpUntil([] { return false; }, 1s);
    }
    EXPECT_LE(still.longestSeconds(), 60.0) << still.longestCallsign() << " stood still in the air";
    for (const standin::SimObject& ai : lf_aiObjects())
        EXPECT_TRUE(ai.released && ai.frozenLatLon) << ai.atcId << " is not one the program tracks";

    gf_markClosing();
    ASSERT_TRUE(standin::pumpUntil([] { return g_quitPosted.load(); }, 60s)) << log();
}

}  // namespace
