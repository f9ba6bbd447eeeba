#include "traffic/sim/sim_dispatch_test_support.h"

#include <mutex>

namespace mrwtest {

using namespace mrw;

void SimDispatchTest::SetUp() {
    SimClientTest::SetUp();
    // The connection's own OPEN and flight state are not part of these tests.
    SimConnect_CallDispatch(
        m_handle, [](SIMCONNECT_RECV*, DWORD, void*) {}, nullptr);
    takeEvents();
    markJournal();
}

void SimDispatchTest::TearDown() {
    takeEvents();
    SimClientTest::TearDown();
}

void SimDispatchTest::inject(const RawRecord& record) {
    ASSERT_TRUE(standin::injectRecord(kClientName, record.bytes(), record.size()));
}

void SimDispatchTest::dispatch() {
    SimConnect_CallDispatch(m_handle, gf_onSimDispatch, nullptr);
}

std::vector<SimEvent> SimDispatchTest::takeEvents() {
    std::lock_guard lock(g_simEventMutex);
    std::vector<SimEvent> events = std::move(g_simEvents);
    g_simEvents.clear();
    return events;
}

}  // namespace mrwtest
