#include "traffic/sim/sim_client.h"

#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/run_state.h"
#include "platform/system/timer_period.h"

namespace mrw {

void gf_closeSimConnect(HANDLE& handle) {
    if (handle == nullptr) return;
    if (FAILED(SimConnect_Close(handle)))
        gf_logError("Closing SimConnect failed?!");
    else
        gf_logLine("SimConnect closed ok");
    handle = nullptr;
}

TimerPeriodGuard::TimerPeriodGuard(std::uint32_t periodMs)
    : m_periodMs(periodMs), m_begun(platform::beginTimerPeriod(periodMs) == platform::kTimerNoError) {}

TimerPeriodGuard::~TimerPeriodGuard() {
    if (m_begun) platform::endTimerPeriod(m_periodMs);
}

void gf_simRequestError() {
    gf_setMessage("SimConnect request error", true);
    g_simConnectError.exchange(true);
    gf_stopWithReason(ExitReason::SimConnectError, 9);
}

}  // namespace mrw
