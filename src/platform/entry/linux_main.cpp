// The runtime's start-up on Linux: the arguments become the Windows command line, and the
// program's wWinMain runs on this (the UI) thread.

#include "platform/entry/entry_point.h"
#include "platform/win32/command_line.h"

#include <string>
#include <string_view>

namespace {

// argv is UTF-8 on this platform; a byte that is no part of a valid sequence becomes U+FFFD.
std::u16string lf_widen(std::string_view text) {
    std::u16string wide;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80           ? 1
                                   : (lead >> 5) == 0x6  ? 2
                                   : (lead >> 4) == 0xE  ? 3
                                   : (lead >> 3) == 0x1E ? 4
                                                         : 0;
        char32_t code = length == 1   ? lead
                        : length == 2 ? lead & 0x1F
                        : length == 3 ? lead & 0x0F
                                      : lead & 0x07;
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            wide.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            wide.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return wide;
}

}  // namespace

int main(int argc, char** argv) {
    std::u16string commandLine;
    for (int i = 0; i < argc; ++i) {
        if (!commandLine.empty()) commandLine.push_back(u' ');
        commandLine += standin::quoteArgument(lf_widen(argv[i]));
    }
    standin::setCommandLine(commandLine);
    return wWinMain(nullptr, nullptr, GetCommandLineW(), 1);
}
