// realtraffic-peer: plays RealTraffic against the program on this PC. See README.md for the usage.

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

#include <fmt/format.h>

#include "tools/realtraffic-peer/realtraffic_peer.h"

namespace {

constexpr std::string_view kUsage = R"(usage: realtraffic-peer [options]
Sends RealTraffic's traffic and weather datagrams to the program and plays RealTraffic's side of
its TCP link. Prints what it sends and receives. Ends with Ctrl-C, after --duration seconds, or
when a replay without --loop (and without generated aircraft) is done.

  --replay FILE          replay a recording (AITFC/RTTFC traffic lines, JSON weather lines)
  --speed X              pacing factor of the replay (2 = twice as fast; default 1)
  --loop                 start the replay again at its end
  --aircraft SPEC        a generated aircraft (repeatable): hexid,callsign,type,registration,
                         origin,destination,lat,lon,altitudeFt,trackDeg,speedKt,vsFpm
  --interval S           seconds between generated records (default 2)
  --qnh VALUE            with generated records, also send {"QNH": VALUE} each interval
  --host ADDR            the program's IPv4 address (default 127.0.0.1)
  --traffic-port N       UDP port of the traffic records (default 49005)
  --weather-port N       UDP port of the weather records (default 49004)
  --link-port N          TCP port of the program's link (default 10747)
  --no-link              do not connect the TCP link
  --level N              answer "Qs999=version" with this level (2 = professional; default 1)
  --version TEXT         ... and this version (default 9.0.0)
  --answer TEXT          answer "Qs999=version" with exactly this text instead
  --silent               do not answer "Qs999=version"
  --drop-after S         close the link S seconds after each connect
  --reconnect-after S    connect again S seconds after the link ended (default 2)
  --duration S           stop after S seconds
  --quiet                print the link's messages and counts, not every datagram
  --help                 this text
)";

volatile std::sig_atomic_t g_interrupted = 0;

double lf_number(std::string_view option, const std::string& text) {
    try {
        std::size_t used = 0;
        const double value = std::stod(text, &used);
        if (used == text.size()) return value;
    } catch (const std::exception&) {
    }
    throw std::invalid_argument(fmt::format("{} needs a number, not '{}'", option, text));
}

std::uint16_t lf_port(std::string_view option, const std::string& text) {
    const double value = lf_number(option, text);
    if (value < 1 || value > 65535 || value != static_cast<int>(value)) {
        throw std::invalid_argument(fmt::format("{} needs a port number, not '{}'", option, text));
    }
    return static_cast<std::uint16_t>(value);
}

struct CommandLine {
    rtpeer::PeerOptions options;
    std::optional<double> durationSeconds;
    bool help = false;
};

CommandLine lf_parse(int argc, char** argv) {
    CommandLine line;
    rtpeer::PeerOptions& o = line.options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(fmt::format("{} needs a value", option));
            return argv[++i];
        };
        if (option == "--help" || option == "-h")
            line.help = true;
        else if (option == "--replay")
            o.recording = value();
        else if (option == "--speed")
            o.speed = lf_number(option, value());
        else if (option == "--loop")
            o.loop = true;
        else if (option == "--aircraft")
            o.aircraft.push_back(rtpeer::parseGeneratedAircraft(value()));
        else if (option == "--interval")
            o.generateIntervalSeconds = lf_number(option, value());
        else if (option == "--qnh")
            o.generatedQnh = value();
        else if (option == "--host")
            o.host = value();
        else if (option == "--traffic-port")
            o.trafficPort = lf_port(option, value());
        else if (option == "--weather-port")
            o.weatherPort = lf_port(option, value());
        else if (option == "--link-port")
            o.linkPort = lf_port(option, value());
        else if (option == "--no-link")
            o.linkPort.reset();
        else if (option == "--level")
            o.level = static_cast<int>(lf_number(option, value()));
        else if (option == "--version")
            o.version = value();
        else if (option == "--answer")
            o.answerText = value();
        else if (option == "--silent")
            o.silent = true;
        else if (option == "--drop-after")
            o.dropAfterSeconds = lf_number(option, value());
        else if (option == "--reconnect-after")
            o.reconnectDelaySeconds = lf_number(option, value());
        else if (option == "--duration")
            line.durationSeconds = lf_number(option, value());
        else if (option == "--quiet")
            o.verbose = false;
        else
            throw std::invalid_argument(fmt::format("unknown option {}", option));
    }
    if (!(o.generateIntervalSeconds > 0.0)) throw std::invalid_argument("--interval must be above 0");
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    try {
        line = lf_parse(argc, argv);
    } catch (const std::exception& e) {
        std::cerr << "realtraffic-peer: " << e.what() << "\n\n" << kUsage;
        return 2;
    }
    if (line.help) {
        std::cout << kUsage;
        return 0;
    }
    std::signal(SIGINT, [](int) { g_interrupted = 1; });
    std::signal(SIGTERM, [](int) { g_interrupted = 1; });
    try {
        rtpeer::Peer peer(line.options);
        peer.start();
        const auto start = std::chrono::steady_clock::now();
        const bool replayOnly = line.options.aircraft.empty() && !line.options.generatedQnh &&
                                !line.options.recording.empty() && !line.options.loop;
        // Signals cannot wake a condition variable: look at the flags every 100 ms.
        while (g_interrupted == 0) {
            if (line.durationSeconds && std::chrono::steady_clock::now() - start >=
                                            std::chrono::duration<double>(*line.durationSeconds)) {
                break;
            }
            if (replayOnly && peer.finished()) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        peer.stop();
        std::cout << fmt::format(
            "realtraffic-peer: {} traffic and {} weather datagrams sent, {} link connection(s)\n",
            peer.trafficSent(), peer.weatherSent(), peer.connections());
    } catch (const std::exception& e) {
        std::cerr << "realtraffic-peer: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
