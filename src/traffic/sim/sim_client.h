#pragma once
// The program's one SimConnect connection, owned by the "SimClient" thread: it connects (retrying
// every 100 ms), registers the definitions, and dispatches about once a millisecond until its stop
// token is set or an exception ends it. Also the request-error exit every failing request uses.

#include <atomic>
#include <cstdint>
#include <stop_token>
#include <thread>

#include "platform/simconnect/simconnect.h"

namespace mrw {

// The client thread of the current run. Assigning a new thread stops and joins an older one; at
// process exit its destructor stops and joins it.
inline std::jthread g_simClientThread;
// The open connection, null while there is none. Written by the client thread under
// g_simConnectMutex; every SimConnect call made off the client thread reads it under that mutex.
inline std::atomic<HANDLE> g_simConnect{nullptr};
// A SimConnect request failed: the outbound queues are dropped from then on and the run ends for a
// restart; cleared at the next run start (gf_resetSimQueues).
inline std::atomic<bool> g_simConnectError{false};
// A flight is running (system event Sim with state 1).
inline std::atomic<bool> g_simRunning{false};

// Closes a non-null handle ("SimConnect closed ok", or the error line "Closing SimConnect
// failed?!" for a negative result) and makes it null; nothing for a null handle.
void gf_closeSimConnect(HANDLE& handle);

// Owns the client thread's local connection handle: closes it on every way out of the thread.
class SimConnectHandle {
  public:
    SimConnectHandle() = default;
    ~SimConnectHandle() { gf_closeSimConnect(handle); }
    SimConnectHandle(const SimConnectHandle&) = delete;
    SimConnectHandle& operator=(const SimConnectHandle&) = delete;

    HANDLE handle = nullptr;
};

// Holds the system timer's period for a fine-grained loop: begins it when made and ends it, when
// it was begun, when it goes.
class TimerPeriodGuard {
  public:
    explicit TimerPeriodGuard(std::uint32_t periodMs);
    ~TimerPeriodGuard();
    TimerPeriodGuard(const TimerPeriodGuard&) = delete;
    TimerPeriodGuard& operator=(const TimerPeriodGuard&) = delete;

    bool begun() const { return m_begun; }

  private:
    std::uint32_t m_periodMs = 0;
    bool m_begun = false;
};

// After a failed SimConnect request: "SimConnect request error" on the message line, logged; the
// error flag; the stop latch with SIMCONNECT ERROR and a 9 s restart (only the latch's first
// setter counts).
void gf_simRequestError();

// The client thread's body; the run start runs it as g_simClientThread's function
// (g_simClientThread = std::jthread(lf_simClient)).
void lf_simClient(std::stop_token stop);

}  // namespace mrw
