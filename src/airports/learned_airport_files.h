#pragma once
// Learned airport files: the uses and per-airport settings that static parking learned at an
// airport, laid over the airport's own file when it is read again.

namespace mrw {

// True while the park airport's stands come from a handmade learned file. Main worker only.
inline bool g_handmade = false;

}  // namespace mrw
