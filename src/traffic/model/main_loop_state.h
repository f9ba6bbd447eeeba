#pragma once
// The main loop's shared state: the seconds counter, the week slot of now, intake, the
// static-parking update's phase and the request flags that the window's controls raise for the
// next beat.

#include <atomic>
#include <cstdint>

#include "traffic/model/engine_containers.h"

namespace mrw {

// Beats since the loop started; reset by the daily duty. Written by the main worker, read by the
// window's Now button (UI thread).
inline std::atomic<std::int32_t> g_runSeconds{0};
// Minutes to the next static-parking renewal; the Now button (UI thread) sets it too.
inline std::atomic<std::int32_t> g_parkingCountdown{20};
// The current weekday (1 Monday to 7 Sunday, low 32 bits) and half-hour slot (0 to 47, high 32
// bits) of the traffic clock; refreshed every second by the main loop.
inline std::atomic<std::int64_t> g_weekSlotNow{0};
// True between the two phases of a static-parking update. Main worker only.
inline bool g_parkingUpdatePhase = false;
// "{} Flight not running" was logged and intake closed. Main worker only.
inline bool g_flightNotRunningLogged = false;

// Raised by the UI thread, consumed (exchanged back) by the main loop.
inline std::atomic<bool> g_flushStaticRequest{false};
inline std::atomic<bool> g_csToOidRequest{false};
inline std::atomic<bool> g_csToOidLookup{false};
inline std::atomic<bool> g_blockCallsignRequest{false};
inline std::atomic<bool> g_rereadRequest{false};
inline std::atomic<bool> g_noMatchClearRequest{false};
inline std::atomic<bool> g_parkingUpdateRequest{false};

// g_injectionActive, the intake's open flag, is in traffic/engine/engine_containers.h.

}  // namespace mrw
