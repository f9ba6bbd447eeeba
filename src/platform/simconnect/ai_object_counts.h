#pragma once
// The demo's line about the simulator's AI objects: created and removed so far, moving and parked
// now. Shared by the Linux demo and the simulated simulator built as SimConnect.dll.

#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/simconnect/sim_world.h"

namespace standin {

class AiObjectCounts {
  public:
    // One report over the world's objects now, compared with the report before.
    std::string report(long elapsedSeconds);

  private:
    std::set<DWORD> m_seen;
    std::set<DWORD> m_removed;
    std::map<DWORD, std::pair<double, double>> m_lastPlace;
};

}  // namespace standin
