#include "foundation/user_error_exception.h"

#include <fmt/format.h>

#include <string_view>

namespace mrw {

UserErrorException::UserErrorException(int number, std::string message)
    : m_text(number == 99 ? std::move(message) : fmt::format("{}: {}", number, message)) {}

bool gf_isUserError(const std::exception& e, int number) {
    const std::string prefix = fmt::format("{}:", number);
    return std::string_view(e.what()).starts_with(prefix);
}

}  // namespace mrw
