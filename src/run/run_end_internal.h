#pragma once
// The run end's steps, for the main worker and the tests.

namespace mrw {

// The end of every run: stops and joins the run's threads, closes the link, drops the parking and
// the run's files, then restarts after the countdown or quits. Posting the next WM_APP_START_RUN or
// WM_APP_QUIT is its last act.
void lf_closingDown();
// "Restarting after {} second{}" for each second of g_restartDelay.
void lf_restartCountdown();
// Every per-run value back to its start before a restart.
void lf_resetRunState();

}  // namespace mrw
