#include "traffic/sim/sim_dispatch_test_support.h"

#include <algorithm>
#include <mutex>

namespace mrwtest {

using namespace mrw;

RawRecord textRecord(DWORD requestId, std::string_view text, std::size_t size) {
    std::string payload(size, '\0');
    std::memcpy(payload.data(), text.data(), std::min(text.size(), size));
    return RawRecord::objectData(SIMCONNECT_RECV_ID_SIMOBJECT_DATA, requestId, 1, payload);
}

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
