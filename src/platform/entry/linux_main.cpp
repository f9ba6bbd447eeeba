// The runtime's start-up on Linux: the arguments become the Windows command line, and the
// program's wWinMain runs on this (the UI) thread, beside the simulated simulator.
//
// Switches of the stand-ins themselves, taken out before wWinMain sees the command line:
//   --standin-user LAT,LON,HEADING   the user aircraft on the ground there (degrees)
//   --standin-duration SECONDS       then write the PNG and close the main window
//   --standin-png FILE               the PNG of the main window (at the end and on SIGUSR1)

#include "platform/entry/demo_watch.h"
#include "platform/entry/entry_point.h"
#include "platform/win32/command_line.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

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

bool lf_readUser(const std::string& text, standin::DemoOptions& options) {
    std::istringstream in(text);
    double latitude = 0.0;
    double longitude = 0.0;
    double heading = 0.0;
    char comma1 = 0;
    char comma2 = 0;
    if (!(in >> latitude >> comma1 >> longitude >> comma2 >> heading) || comma1 != ',' || comma2 != ',')
        return false;
    options.userLatitude = latitude;
    options.userLongitude = longitude;
    options.userHeadingDeg = heading;
    return true;
}

// The stand-in switches into the options; the rest of the arguments in order. False for a bad one.
bool lf_takeStandinSwitches(int argc, char** argv, standin::DemoOptions& options,
                            std::vector<std::string>& rest) {
    for (int i = 0; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!argument.starts_with("--standin-")) {
            rest.emplace_back(argument);
            continue;
        }
        if (i + 1 >= argc) return false;
        const std::string value = argv[++i];
        if (argument == "--standin-user") {
            if (!lf_readUser(value, options)) return false;
        } else if (argument == "--standin-duration") {
            char* end = nullptr;
            const long seconds = std::strtol(value.c_str(), &end, 10);
            if (end == value.c_str() || *end != '\0' || seconds <= 0) return false;
            options.duration = std::chrono::seconds(seconds);
        } else if (argument == "--standin-png") {
            options.png = value;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    standin::DemoOptions options;
    std::vector<std::string> arguments;
    if (!lf_takeStandinSwitches(argc, argv, options, arguments)) {
        std::fprintf(stderr,
                     "usage: %s [--standin-user LAT,LON,HEADING] [--standin-duration SECONDS] "
                     "[--standin-png FILE] [program switches]\n",
                     argv[0]);
        return 2;
    }
    std::u16string commandLine;
    for (const std::string& argument : arguments) {
        if (!commandLine.empty()) commandLine.push_back(u' ');
        commandLine += standin::quoteArgument(lf_widen(argument));
    }
    standin::setCommandLine(commandLine);
    standin::startDemo(options);
    const int code = wWinMain(nullptr, nullptr, GetCommandLineW(), 1);
    standin::stopDemo();
    return code;
}
