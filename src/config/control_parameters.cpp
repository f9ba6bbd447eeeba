#include "config/control_parameters.h"

#include <algorithm>

namespace mrw {

std::optional<std::size_t> StringComboParameter::indexOfCurrent() const {
    const std::string text = current.get();
    const auto found = std::find(choices.begin(), choices.end(), text);
    if (found == choices.end()) return std::nullopt;
    return static_cast<std::size_t>(found - choices.begin());
}

}  // namespace mrw
