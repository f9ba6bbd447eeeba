#include <iostream>

#include "platform/system/message_box.h"
#include "platform/system/native_calls.h"

namespace platform::native {

// There is no desktop to show it on: the warning becomes a line on stderr.
int showWarningMessageBox(std::string_view text, std::string_view caption) {
    std::cerr << caption << " (warning): " << text << '\n';
    return kMessageBoxOk;
}

}  // namespace platform::native
