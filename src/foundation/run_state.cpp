#include "foundation/run_state.h"

#include <array>
#include <stdexcept>

namespace mrw {

namespace {

constexpr std::array<std::string_view, 9> kExitReasonNames{
    "NOT YET SET",      "SIM WAS CLOSED", "NEW FLIGHT",   "NEW SETTINGS", "USER CLOSED SIM",
    "SIMCONNECT ERROR", "READER ERROR",   "SYSTEM ERROR", "NEW VERSION"};

}  // namespace

std::string_view gf_exitReasonName(ExitReason reason) {
    const auto index = static_cast<std::size_t>(reason);
    if (index >= kExitReasonNames.size()) throw std::out_of_range("invalid unordered_map<K, T> key");
    return kExitReasonNames[index];
}

}  // namespace mrw
