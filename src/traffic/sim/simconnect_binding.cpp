#include "traffic/sim/simconnect_binding.h"

#include <fmt/format.h>

#include <string>

#include "foundation/text_encoding.h"
#include "foundation/user_error_exception.h"
#include "platform/simconnect/simconnect_library.h"

namespace mrw {
namespace {

// Number 99: the text alone, without a number.
constexpr int kNoNumber = 99;

std::string lf_placesText(const platform::SimConnectBinding& binding) {
    std::string text;
    for (const auto& place : binding.places) {
        if (!text.empty()) text += " and ";
        text += path_to_utf8(place);
    }
    // Only beside the program: the SDK's folder was not named.
    if (binding.places.size() < 2) text += " (MSFS_SDK is not set)";
    return text;
}

}  // namespace

void gf_bindSimConnect() {
    const platform::SimConnectBinding binding = platform::bindProgramSimConnect();
    if (binding.bound) return;
    if (binding.file.empty()) {
        throw UserErrorException(
            kNoNumber,
            fmt::format("{} not found: looked in {}", platform::kSimConnectFileName, lf_placesText(binding)));
    }
    throw UserErrorException(
        kNoNumber, fmt::format("{} has no function {}", path_to_utf8(binding.file), binding.missingFunction));
}

}  // namespace mrw
