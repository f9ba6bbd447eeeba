#include "traffic/sim/sim_client_internal.h"

#include <fmt/format.h>

#include <exception>
#include <stop_token>
#include <string>

#include "foundation/clock.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/run_state.h"
#include "foundation/simulator_choice.h"
#include "foundation/thread_safety.h"
#include "foundation/user_error_exception.h"
#include "foundation/window_model.h"
#include "traffic/model/sim_queues.h"
#include "traffic/sim/sim_client.h"
#include "traffic/sim/sim_definitions.h"
#include "traffic/sim/sim_dispatch.h"
#include "traffic/sim/sim_version_switch.h"

namespace mrw {
namespace {

constexpr const char* kClientName = "Merrowvale";
constexpr std::int64_t kOpenRetryMs = 100;
constexpr std::int64_t kDispatchPauseMs = 1;

// Connected: register, then dispatch until the stop token is set.
void lf_dispatchUntilStopped(HANDLE handle, const std::stop_token& stop) {
    {
        MutexLock lock(g_simConnectMutex);
        g_simConnect.store(handle);
    }
    gf_defineSimData();
    const TimerPeriodGuard timerPeriod(1);
    while (!stop.stop_requested()) {
        SimConnect_CallDispatch(handle, gf_onSimDispatch, nullptr);
        gf_sleepMs(kDispatchPauseMs);
    }
}

// Step 2 of the thread: open (every 100 ms while the simulator is absent), then dispatch.
void lf_connectAndDispatch(SimConnectHandle& connection, const std::stop_token& stop) {
    bool firstPass = true;
    while (!gf_stopping() && !stop.stop_requested()) {
        if (firstPass) {
            firstPass = false;
            gf_logLine(" ");
            gf_setMessage(fmt::format("Waiting for MSFS 20{} ...", g_msfs2020.load() ? "20" : "24"), true);
        }
        gf_closeSimConnect(connection.handle);
        if (FAILED(SimConnect_Open(&connection.handle, kClientName, nullptr, 0, nullptr, 0))) {
            connection.handle = nullptr;
            gf_sleepMs(kOpenRetryMs);
            continue;
        }
        lf_dispatchUntilStopped(connection.handle, stop);
        return;
    }
}

// The connection ended in an error: at most once per thread.
void lf_disconnect(bool& done, bool switchVersion) {
    if (done) return;
    done = true;
    g_simRunning.exchange(false);
    gf_simDisconnected(switchVersion);
}

}  // namespace

void lf_simClientExit(HANDLE ownHandle) {
    gf_reserveUserStand();
    g_mainWindow().simConnected = false;
    gf_invalidateStatusBand();
    // Zeroed under the mutex before the close, so no request off this thread uses a closing handle;
    // only when it is still this thread's (a later run's client may have published its own).
    MutexLock lock(g_simConnectMutex);
    HANDLE expected = ownHandle;
    g_simConnect.compare_exchange_strong(expected, nullptr);
}

void gf_handleClientException(std::exception_ptr exception, bool& disconnected) {
    try {
        std::rethrow_exception(exception);
    } catch (const UserErrorException& e) {
        const std::string text = e.what()[0] != '\0' ? e.what() : "Unknown exception";
        if (text.size() >= 4 && text.starts_with("2024")) {
            gf_logLine(fmt::format("MSFS and {} do not match, restarting ...", kClientName));
            lf_disconnect(disconnected, true);
        } else {
            gf_setErrorMessage(text);
        }
    } catch (const std::exception& e) {
        gf_setErrorMessage(e.what());
        lf_disconnect(disconnected, false);
    } catch (...) {
        gf_setErrorMessage(fmt::format("Exception in {}", "SimClient"));
        lf_disconnect(disconnected, false);
    }
}

void lf_simClient(std::stop_token stop) {
    SimConnectHandle connection;
    bool disconnected = false;
    try {
        lf_connectAndDispatch(connection, stop);
    } catch (...) {
        gf_handleClientException(std::current_exception(), disconnected);
    }
    lf_simClientExit(connection.handle);
}

}  // namespace mrw
