#include "tools/realtraffic-peer/realtraffic_peer.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <stdexcept>

#include <fmt/format.h>

// The Winsock calls of the program's platform layer: the real Winsock on Windows, our stand-in over
// POSIX sockets on Linux; the peer runs on both.
#include "platform/winsock/winsock.h"

namespace rtpeer {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kConnectRetry = std::chrono::milliseconds(100);
// A read on the link waits at most this long, then the peer looks whether it stops.
constexpr DWORD kReadTimeoutMs = 50;

double lf_wallSeconds() {
    return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

sockaddr_in lf_address(const std::string& host, std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
        throw std::invalid_argument(fmt::format("not an IPv4 address: {}", host));
    }
    return address;
}

std::string lf_socketError(std::string_view what) {
    return fmt::format("{}: Winsock error {}", what, WSAGetLastError());
}

bool lf_setReadTimeout(SOCKET s) {
    const DWORD timeout = kReadTimeoutMs;
    return setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout) ==
           0;
}

Clock::duration lf_seconds(double seconds) {
    return std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

Peer::Peer(PeerOptions options) : m_options(std::move(options)) {
    if (!m_options.print) {
        m_options.print = [](std::string_view line) { std::cout << line << std::endl; };
    }
    if (!(m_options.speed > 0.0)) throw std::invalid_argument("the speed factor must be above 0");
    lf_address(m_options.host, 0);  // refuse a bad host before anything starts
}

Peer::~Peer() {
    stop();
}

void Peer::start() {
    WSADATA data{};
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("Winsock could not be started");
    m_winsockStarted = true;
    m_udp = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (m_udp == INVALID_SOCKET) throw std::runtime_error(lf_socketError("UDP socket"));
    m_sender = std::thread(&Peer::senderLoop, this);
    if (m_options.linkPort) m_link = std::thread(&Peer::linkLoop, this);
}

void Peer::stop() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_changed.notify_all();
    if (m_sender.joinable()) m_sender.join();
    if (m_link.joinable()) m_link.join();
    if (m_udp != INVALID_SOCKET) ::closesocket(m_udp);
    m_udp = INVALID_SOCKET;
    if (m_winsockStarted) WSACleanup();
    m_winsockStarted = false;
}

void Peer::waitUntilFinished() {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_finished.load() || m_stop.load(); });
}

std::vector<std::string> Peer::linkMessages() const {
    const std::lock_guard lock(m_mutex);
    return m_messages;
}

bool Peer::waitForMessages(std::string_view prefix, std::size_t count,
                           std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] {
        std::size_t n = 0;
        for (const std::string& message : m_messages)
            n += message.starts_with(prefix) ? 1 : 0;
        return n >= count;
    });
}

// Sleeps until the deadline; false when the peer is stopped first.
bool Peer::waitUntil(Clock::time_point deadline) {
    std::unique_lock lock(m_mutex);
    return !m_changed.wait_until(lock, deadline, [this] { return m_stop.load(); });
}

void Peer::say(std::string_view line) {
    const std::lock_guard lock(m_printMutex);
    m_options.print(line);
}

void Peer::sendDatagram(bool weather, const std::string& text) {
    const std::uint16_t port = weather ? m_options.weatherPort : m_options.trafficPort;
    const sockaddr_in address = lf_address(m_options.host, port);
    const int sent = ::sendto(m_udp, text.data(), static_cast<int>(text.size()), 0,
                              reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (sent == SOCKET_ERROR) {
        say(lf_socketError(fmt::format("send to {}:{} failed", m_options.host, port)));
        return;
    }
    ++(weather ? m_weatherSent : m_trafficSent);
    if (m_options.verbose)
        say(fmt::format("{} -> {}:{} {}", weather ? "weather" : "traffic", m_options.host, port, text));
}

void Peer::senderLoop() {
    std::vector<RecordingEntry> entries;
    if (!m_options.recording.empty()) {
        entries = readRecording(m_options.recording);
        say(fmt::format("replaying {} records of {} at speed {}", entries.size(),
                        m_options.recording.string(), m_options.speed));
    }
    const Clock::time_point start = Clock::now();
    const double wallStart = lf_wallSeconds();
    if (!entries.empty()) {
        Clock::time_point passStart = start;
        double passWall = wallStart;
        do {
            replayOnce(entries, passStart, passWall);
            if (m_stop) return;
            say(fmt::format("replay done: {} traffic and {} weather datagrams sent", m_trafficSent.load(),
                            m_weatherSent.load()));
            // The next pass follows one second (of recording time) after the last record.
            passStart = Clock::now() + lf_seconds(1.0 / m_options.speed);
            passWall = lf_wallSeconds() + 1.0 / m_options.speed;
        } while (m_options.loop && !m_stop);
    }
    if (m_options.aircraft.empty() && !m_options.generatedQnh) {
        {
            const std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_changed.notify_all();
        return;
    }
    for (int beat = 0; !m_stop; ++beat) {
        const double elapsed = beat * m_options.generateIntervalSeconds;
        if (!waitUntil(start + lf_seconds(elapsed))) return;
        sendGenerated(elapsed);
    }
}

void Peer::replayOnce(const std::vector<RecordingEntry>& entries, Clock::time_point start, double wallStart) {
    for (const RecordingEntry& entry : entries) {
        const double replayOffset = entry.offsetSeconds / m_options.speed;
        if (!waitUntil(start + lf_seconds(replayOffset))) return;
        if (entry.weather) {
            sendDatagram(true, entry.text);
        } else {
            sendDatagram(false, currentTrafficRecord(entry.text, wallStart + replayOffset));
        }
    }
}

void Peer::sendGenerated(double elapsedSeconds) {
    if (m_options.generatedQnh) sendDatagram(true, fmt::format(R"({{"QNH": {}}})", *m_options.generatedQnh));
    const double now = lf_wallSeconds();
    for (const GeneratedAircraft& aircraft : m_options.aircraft) {
        sendDatagram(false, generatedTrafficRecord(aircraft, elapsedSeconds, now));
    }
}

void Peer::linkLoop() {
    const sockaddr_in address = lf_address(m_options.host, *m_options.linkPort);
    bool waitingSaid = false;
    while (!m_stop) {
        const SOCKET link = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (link == INVALID_SOCKET) {
            say(lf_socketError("TCP socket"));
            return;
        }
        if (::connect(link, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
            !lf_setReadTimeout(link)) {
            ::closesocket(link);
            if (!waitingSaid)
                say(fmt::format("link: waiting for the program on {}:{}", m_options.host,
                                *m_options.linkPort));
            waitingSaid = true;
            if (!waitUntil(Clock::now() + kConnectRetry)) return;
            continue;
        }
        waitingSaid = false;
        ++m_connections;
        say(fmt::format("link: connected to {}:{}", m_options.host, *m_options.linkPort));
        serveLink(link);
        ::closesocket(link);
        if (m_stop) return;
        if (!waitUntil(Clock::now() + lf_seconds(m_options.reconnectDelaySeconds))) return;
    }
}

// Reads the program's messages until the program closes the link, the peer drops it or stops.
void Peer::serveLink(SOCKET link) {
    const Clock::time_point connected = Clock::now();
    std::string pending;
    char buffer[4096];
    while (!m_stop) {
        const bool dropByTime =
            m_options.dropAfterSeconds && Clock::now() >= connected + lf_seconds(*m_options.dropAfterSeconds);
        if (m_dropRequested.exchange(false) || dropByTime) {
            say("link: dropped by the peer");
            return;
        }
        const int received = ::recv(link, buffer, sizeof buffer, 0);
        if (received == SOCKET_ERROR && WSAGetLastError() == WSAETIMEDOUT) continue;
        if (received <= 0) {
            say("link: closed by the program");
            return;
        }
        pending.append(buffer, static_cast<std::size_t>(received));
        for (std::size_t end = pending.find("\r\n"); end != std::string::npos; end = pending.find("\r\n")) {
            std::string message = pending.substr(0, end);
            pending.erase(0, end + 2);
            say(fmt::format("link <- {}", message));
            const bool askedVersion = message == "Qs999=version";
            {
                const std::lock_guard lock(m_mutex);
                m_messages.push_back(std::move(message));
            }
            m_changed.notify_all();
            if (askedVersion && !m_options.silent) {
                const std::string answer = m_options.answerText.value_or(
                    fmt::format(R"({{"level": {}, "version": "{}"}})", m_options.level, m_options.version));
                ::send(link, answer.data(), static_cast<int>(answer.size()), 0);
                say(fmt::format("link -> {}", answer));
            }
        }
    }
}

}  // namespace rtpeer
