#pragma once
// The run's stop latch and the window-closing flag, tested by the long loops of every subsystem.

#include <atomic>

namespace mrw {

// Set once when the run is ending (from any thread); cleared when the run end prepares a restart.
inline std::atomic<bool> g_stopRequested{false};
// Set by the UI thread when the user closes the main window (and on a failed start-up).
inline std::atomic<bool> g_windowClosing{false};

// True while either flag is set: long loops stop early and parameter log lines are silent.
inline bool gf_stopping() {
    return g_stopRequested.load() || g_windowClosing.load();
}

}  // namespace mrw
