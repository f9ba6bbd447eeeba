#pragma once
// Why a run ends (ExitReason), the stop latch that records it from any thread, and the
// window-closing flag. The long loops of every floor test them, so they live on the lowest floor.

#include <atomic>
#include <cstdint>
#include <string_view>

namespace mrw {

enum class ExitReason : std::int32_t {
    NotYetSet = 0,        // "NOT YET SET"
    SimWasClosed = 1,     // "SIM WAS CLOSED"
    NewFlight = 2,        // "NEW FLIGHT"
    NewSettings = 3,      // "NEW SETTINGS": restarts after the delay
    UserClosedSim = 4,    // "USER CLOSED SIM"
    SimConnectError = 5,  // "SIMCONNECT ERROR": restarts after the delay
    ReaderError = 6,      // "READER ERROR": restarts after the delay
    SystemError = 7,      // "SYSTEM ERROR"
    NewVersion = 8,       // "NEW VERSION"
};

// Set once when the run is ending (from any thread); cleared when the run end prepares a restart.
inline std::atomic<bool> g_stopRequested{false};
// Set by the UI thread when the user closes the main window (and on a failed start-up).
inline std::atomic<bool> g_windowClosing{false};
// Why the run ends; NOT YET SET until a setter wins.
inline std::atomic<ExitReason> g_exitReason{ExitReason::NotYetSet};
// The countdown in seconds that came with the reason; read only for the reasons that restart.
inline std::atomic<std::int32_t> g_restartDelay{0};

// Set by the run end when it restarts, cleared when it quits; while set, the next start-up skips the
// updater. Outlives the run-state reset.
inline std::atomic<bool> g_restartPending{false};
// The livery catalogue is to be emptied and rebuilt: asked for by a simulator switch (any thread),
// done by the run end once the threads that use the catalogue have ended.
inline std::atomic<bool> g_catalogueClearRequest{false};

// True while either flag is set: long loops stop early and parameter log lines are silent.
inline bool gf_stopping() {
    return g_stopRequested.load() || g_windowClosing.load();
}

// The latch: the first setter of a reason wins (one compare-exchange from NOT YET SET), stores its
// delay and then raises g_stopRequested; later setters change nothing. True for the winner.
inline bool gf_stopWithReason(ExitReason reason, std::int32_t delaySeconds) {
    ExitReason expected = ExitReason::NotYetSet;
    if (!g_exitReason.compare_exchange_strong(expected, reason)) return false;
    g_restartDelay = delaySeconds;
    g_stopRequested = true;
    return true;
}

// The reasons whose run end starts the next run after the delay.
inline bool gf_restartsAfterDelay(ExitReason reason) {
    return reason == ExitReason::NewSettings || reason == ExitReason::SimConnectError ||
           reason == ExitReason::ReaderError;
}

// A setting the user has just mended asks for a restart (NEW SETTINGS with its delay): it wins the
// latch as gf_stopWithReason does, and it also takes over from a SYSTEM ERROR, whose run end only
// waits for the window to close: the mended setting may be what ended that run (a Community path
// typed after error 150). True when the run now ends for a restart.
inline bool gf_restartForNewSettings(std::int32_t delaySeconds) {
    if (gf_stopWithReason(ExitReason::NewSettings, delaySeconds)) return true;
    ExitReason expected = ExitReason::SystemError;
    // The delay goes first: the waiting run end reads it as soon as it sees the new reason.
    if (g_exitReason.load() == expected) g_restartDelay = delaySeconds;
    if (g_exitReason.compare_exchange_strong(expected, ExitReason::NewSettings)) return true;
    return gf_restartsAfterDelay(expected);
}

// The name of a reason as Log.txt shows it ("USER CLOSED SIM"); throws std::out_of_range for a
// value outside the nine reasons.
std::string_view gf_exitReasonName(ExitReason reason);

}  // namespace mrw
