#include "traffic/sim/sim_test_support.h"

#include <mutex>

#include "foundation/run_state.h"
#include "foundation/window_model.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/creation_recognition.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"

namespace mrwtest {

using namespace mrw;

void resetSimClientState() {
    {
        std::lock_guard lock(g_simConnectMutex);
        g_simQueues.renew();
        g_simConnect = nullptr;
    }
    g_simConnectError = false;
    g_simRunning = false;
    g_userObjectId = 2;
    gf_setUserAcDataRecv({});
    g_userAcData = {};
    g_prevUserPosition = {};
    g_userTitle.clear();
    g_userStandShown.clear();
    g_userOnGround = false;
    g_userDataReceived = false;
    g_newSimSecond = false;
    g_simTimeEpoch = 0;
    g_userHalfSpanNm = 0.0;
    g_asGenLogged = false;
    g_stopRequested = false;
    g_windowClosing = false;
    g_exitReason = ExitReason::NotYetSet;
    g_restartDelay = 0;
    MainWindow& window = g_mainWindow();
    {
        std::lock_guard lock(window.messageMutex);
        window.message.clear();
        window.errorMessage.clear();
        window.messageSecond = 0;
    }
    window.simConnected = false;
    window.simRunning = false;
    window.userModelKnown = true;
    window.simulatorText.set({});
    window.userAircraftText.set({});
    window.userStandText.set({});
}

void SimClientTest::SetUp() {
    resetSimClientState();
    connect();
}

void SimClientTest::TearDown() {
    if (m_handle != nullptr) SimConnect_Close(m_handle);
    m_handle = nullptr;
    standin::resetWorld();
    resetSimClientState();
}

void SimClientTest::connect(const standin::SimWorldConfig& config) {
    if (m_handle != nullptr) SimConnect_Close(m_handle);
    m_handle = nullptr;
    standin::resetWorld(config);
    standin::startSimulator();
    ASSERT_EQ(SimConnect_Open(&m_handle, kClientName, nullptr, 0, nullptr, 0), S_OK);
    g_simConnect = m_handle;
    gf_defineSimData();
    markJournal();
}

std::vector<standin::JournalEntry> SimClientTest::calls(std::string_view function) const {
    const std::vector<standin::JournalEntry> all = standin::journal(kClientName);
    std::vector<standin::JournalEntry> found;
    for (std::size_t i = m_mark; i < all.size(); ++i) {
        if (function.empty() || all[i].function == function) found.push_back(all[i]);
    }
    return found;
}

void SimClientTest::markJournal() {
    m_mark = standin::journal(kClientName).size();
}

std::string messageLine() {
    std::lock_guard lock(g_mainWindow().messageMutex);
    return g_mainWindow().message;
}

std::string stickyError() {
    std::lock_guard lock(g_mainWindow().messageMutex);
    return g_mainWindow().errorMessage;
}

}  // namespace mrwtest
