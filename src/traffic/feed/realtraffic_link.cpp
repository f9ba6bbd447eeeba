#include "traffic/feed/realtraffic_link.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <stdexcept>

#include <fmt/format.h>
#include <nlohmann/json.hpp>

#include "config/parameter_catalogue.h"
#include "config/parameters_xml.h"
#include "foundation/exclusive_port.h"
#include "foundation/log.h"
#include "foundation/message_line.h"
#include "foundation/network_text.h"
#include "foundation/run_state.h"
#include "foundation/time_texts.h"
#include "foundation/version_data.h"
#include "foundation/window_model.h"
#include "traffic/feed/network_input.h"
#include "traffic/feed/reader_threads.h"
#include "traffic/feed/realtraffic_mode.h"
#include "traffic/feed/throttled_log_line.h"
#include "traffic/feed/wsa_error_text.h"
#include "traffic/model/engine_containers.h"
#include "traffic/model/user_aircraft_data.h"

namespace mrw {

namespace {

constexpr std::size_t kMaxAnswer = 16384;
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kKnownPositionDeg = 0.0001;

std::string lf_lastErrorText() {
    return gf_wsaErrorText(WSAGetLastError());
}

// Takes the socket out of its global before closing it: a second closer finds INVALID_SOCKET.
void lf_closeSocket(std::atomic<SOCKET>& holder) {
    const SOCKET s = holder.exchange(INVALID_SOCKET);
    if (s != INVALID_SOCKET) closesocket(s);
}

// Closes what step 3 onwards of the listener set-up opened and throws the text.
[[noreturn]] void lf_listenFailed(addrinfo* addresses, const std::string& text) {
    if (addresses != nullptr) freeaddrinfo(addresses);
    lf_closeSocket(g_rtListenSocket);
    WSACleanup();
    throw std::runtime_error(text);
}

bool lf_userPositionKnown(const UserAcData& user) {
    return std::fabs(user.latitude) > kKnownPositionDeg || std::fabs(user.longitude) > kKnownPositionDeg;
}

std::string lf_userPositionText(const UserAcData& user) {
    return fmt::format("Qs121={:.0f};{:.0f};{:.6f};{:.0f};{:.0f};{:.6f};{:.6f}\r\n", user.pitch * -100000.0,
                       user.bank * 100000.0, user.heading, user.indicatedAltitudeFt * 1000.0,
                       user.groundVelocityKt * 1000.0, user.latitude * kDegToRad, user.longitude * kDegToRad);
}

// The "level" of the version answer; 1 when absent. A number is range-checked as a double before
// its conversion: one that is not finite or lies outside the int range is the standard edition
// (0), not a value wrapped into range. Any other type keeps the library's conversion, whose type
// error is a parse failure.
int lf_versionLevel(const nlohmann::json& answer) {
    const auto level = answer.find("level");
    if (level == answer.end()) return 1;
    if (!level->is_number()) return level->get<int>();
    return gf_intOfNetworkNumber(level->get<double>()).value_or(0);
}

void lf_setReady(bool ready) {
    g_mainWindow().realTrafficReady = ready;
    gf_invalidateStatusBand();
}

void lf_setEdition(bool professional, std::string text) {
    g_rtProfessional = professional;
    g_mainWindow().realTrafficEditionText.set(std::move(text));
    gf_invalidateStatusBand();
}

// RealTraffic is gone: every live aircraft leaves the simulator (or never enters it).
void lf_dropLiveTraffic() {
    for (LiveAc& ac : g_liveAcs) {
        if (ac.simState == SimState::Active) {
            ac.removeAircraftFromSim();
        } else if (ac.simState == SimState::Adding2Sim && !ac.removeWhenCreated) {
            if (gf_withdrawCreateRequest(g_liveCreateQueue, ac.callsign)) {
                ac.eraseWithdrawn = true;
            } else {
                ac.removeWhenCreated = true;
            }
        }
    }
    std::erase_if(g_liveAcs, [](const LiveAc& ac) { return ac.eraseWithdrawn; });
}

// Lines about clients that are not RealTraffic (what they answered, and that they were closed): a
// program that connects again and again writes each kind once a second. Never destroyed: the main
// worker is detached.
ThrottledLogLine& lf_answerLines() {
    static auto* lines = new ThrottledLogLine;
    return *lines;
}
ThrottledLogLine& lf_refusalLines() {
    static auto* lines = new ThrottledLogLine;
    return *lines;
}

// True when the client has closed its end (or reset the connection) already, for instance while it
// waited in the backlog: a peek finds the end of the stream or an error. Bytes waiting, or none yet,
// mean that it is still there.
bool lf_hasClosed(SOCKET client) {
    u_long nonBlocking = 1;
    if (ioctlsocket(client, FIONBIO, &nonBlocking) != 0) return true;
    char byte = 0;
    const int peeked = recv(client, &byte, 1, MSG_PEEK);
    const bool closed = peeked == 0 || (peeked < 0 && WSAGetLastError() != WSAEWOULDBLOCK);
    nonBlocking = 0;
    return ioctlsocket(client, FIONBIO, &nonBlocking) != 0 || closed;
}

// Whether the text received so far is a whole JSON value, or can never become one. A parse error at
// the end of the input only means that more is to come.
bool lf_answerComplete(const std::string& text) {
    try {
        [[maybe_unused]] const nlohmann::json value = nlohmann::json::parse(text);
        return true;
    } catch (const nlohmann::json::parse_error& e) {
        return e.byte <= text.size();
    }
}

void lf_setSocketTimeout(SOCKET s, std::chrono::milliseconds timeout) {
    const auto value = static_cast<DWORD>(std::max<std::int64_t>(timeout.count(), 1));
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&value), sizeof value);
}

// A client that did not answer as RealTraffic does is closed; the next one is awaited.
void lf_refuseClient() {
    g_rtConnected.exchange(false);
    lf_closeSocket(g_rtClientSocket);
    const std::string text =
        fmt::format("{} RealTraffic did not answer the version request: waiting for it to connect again ...",
                    gf_utcTimeOfDay());
    gf_setMessage(text, false);
    lf_refusalLines().write(text);
}

// Asks the new client for its edition and version; true when it answered as RealTraffic does.
bool lf_answersAsRealTraffic() {
    return sendDataPacket("Qs999=version\r\n") && lf_processRTVersion(lf_receiveFromRealTraffic());
}

}  // namespace

void lf_listenForRealTraffic(const std::string& port) {
    // A new link writes its first lines about refused clients, whatever an earlier link held back.
    lf_answerLines().reset();
    lf_refusalLines().reset();
    WSADATA data{};
    if (const int result = WSAStartup(MAKEWORD(2, 2), &data); result != 0) {
        throw std::runtime_error(fmt::format("WSAStartup failed with error {}", result));
    }
    addrinfo hints{};
    hints.ai_flags = AI_PASSIVE;
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    // With RealTraffic on this PC no other host may take the link and read the user's position.
    const char* host = g_realTrafficMode.load() == RealTrafficMode::ThisPc ? "127.0.0.1" : nullptr;
    addrinfo* addresses = nullptr;
    if (const int result = getaddrinfo(host, port.c_str(), &hints, &addresses); result != 0) {
        WSACleanup();
        throw std::runtime_error(fmt::format("getaddrinfo failed with error {}", result));
    }
    const SOCKET s = socket(addresses->ai_family, addresses->ai_socktype, addresses->ai_protocol);
    if (s == INVALID_SOCKET) lf_listenFailed(addresses, "socket failed with error " + lf_lastErrorText());
    g_rtListenSocket = s;
    u_long nonBlocking = 0;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        lf_listenFailed(addresses, "ioctlsocket failed with error " + lf_lastErrorText());
    }
    if (gf_bindExclusively(s, SOCK_STREAM, addresses->ai_addr, static_cast<int>(addresses->ai_addrlen)) ==
        SOCKET_ERROR) {
        lf_listenFailed(addresses, "Bind failed at port " + port + " with error " + lf_lastErrorText());
    }
    freeaddrinfo(addresses);
    if (listen(s, SOMAXCONN) == SOCKET_ERROR) {
        lf_listenFailed(nullptr, "listen failed with error " + lf_lastErrorText());
    }
}

bool waitForClient() {
    if (g_rtConnected.load()) return false;
    SOCKET client = INVALID_SOCKET;
    // A client that has gone again before it was accepted is no connection: a program that connects
    // and closes in a loop must not count as RealTraffic coming back.
    for (;;) {
        client = accept(g_rtListenSocket.load(), nullptr, nullptr);
        if (client == INVALID_SOCKET) return false;
        if (!lf_hasClosed(client)) break;
        closesocket(client);
    }
    g_rtClientSocket = client;
    try {
        const char noDelay = 1;
        if (setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &noDelay, 1) != 0) {
            throw std::runtime_error(
                fmt::format("{} setsockopt failed with error {}", gf_utcTimeOfDay(), lf_lastErrorText()));
        }
    } catch (const std::exception& e) {
        gf_logLineUnlessClosing(fmt::format("waitForClient interrupted: {}", e.what()));
        return false;
    }
    g_rtConnected = true;
    return true;
}

std::string lf_receiveFromRealTraffic() {
    const SOCKET client = g_rtClientSocket.load();
    const SteadyTime deadline = gf_steadyNow() + std::chrono::milliseconds(g_rtVersionAnswerTimeoutMs.load());
    std::string answer;
    std::string buffer(kMaxAnswer, '\0');
    while (answer.size() < kMaxAnswer) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - gf_steadyNow());
        if (left.count() <= 0) return {};
        lf_setSocketTimeout(client, left);
        const int received = recv(client, buffer.data(), static_cast<int>(kMaxAnswer - answer.size()), 0);
        if (received < 0) {
            const int error = WSAGetLastError();
            if (error != WSAETIMEDOUT && !gf_stopping())
                lf_answerLines().write(fmt::format("receive: {}", gf_wsaErrorText(error)));
            return {};
        }
        // The end of the stream ends the answer.
        if (received == 0) return answer;
        answer.append(buffer, 0, static_cast<std::size_t>(received));
        if (lf_answerComplete(answer)) return answer;
    }
    if (!gf_stopping()) lf_answerLines().write(fmt::format("receive: buffer overrun: {}", answer.size()));
    return {};
}

bool sendDataPacket(std::string_view text) {
    const int sent = send(g_rtClientSocket.load(), text.data(), static_cast<int>(text.size()), 0);
    if (sent != SOCKET_ERROR) return true;
    if (!gf_stopping())
        gf_logLine(fmt::format("sendDataPacket to RealTraffic failed: {}", lf_lastErrorText()));
    g_rtConnected.exchange(false);
    lf_closeSocket(g_rtClientSocket);
    if (!gf_stopping()) gf_logLine("RealTraffic client socket closed");
    return false;
}

bool lf_processRTVersion(std::string_view answer) {
    if (answer.empty()) {
        constexpr std::string_view kNoAnswer = "No RealTraffic version received?";
        gf_setMessage(kNoAnswer, false);
        lf_answerLines().write(kNoAnswer);
        g_rtProfessional = false;
        return false;
    }
    try {
        const nlohmann::json version = nlohmann::json::parse(answer);
        if (!version.is_object()) {
            lf_setEdition(false, {});
            return false;
        }
        const bool professional = lf_versionLevel(version) == 2;
        const std::string text = version.value("version", std::string());
        lf_setEdition(professional, fmt::format("RT {} edition: {}", professional ? "prof" : "stnd", text));
        return true;
    } catch (const std::exception& e) {
        lf_setEdition(false, {});
        lf_answerLines().write(
            fmt::format("{}: JSON parse failed: {}", "lf_processRTVersion", gf_quotedNetworkText(e.what())));
        return false;
    }
}

void lf_waitForRealTraffic() {
    if (g_realTrafficMode.load() == RealTrafficMode::OtherPc) return;
    gf_setMessage(fmt::format("Waiting for RealTraffic to connect to {} ...", kProductName), true);
    gf_resetReaderSide();
    while (waitForClient()) {
        if (lf_answersAsRealTraffic()) {
            lf_setReady(true);
            g_awaitingRealTraffic = false;
            gf_logLine("RealTraffic connected");
            break;
        }
        lf_refuseClient();
        if (gf_stopping()) break;
    }
    gf_clearMessage();
}

void lf_sendSimTime(std::int64_t epochSeconds) {
    if (!g_rtConnected.load() || epochSeconds <= 0) return;
    sendDataPacket(fmt::format("Qs123={}\r\n", epochSeconds * 1000));
}

void lf_sendUserPosition() {
    if (g_realTrafficMode.load() == RealTrafficMode::OtherPc || !lf_userPositionKnown(g_userAcData)) return;
    if (g_rtConnected.load()) {
        if (sendDataPacket(lf_userPositionText(g_userAcData))) return;
        lf_setReady(false);
        if (!g_windowClosing.load()) lf_dropLiveTraffic();
        gf_resetReaderSide();
        gf_setMessage(
            fmt::format("{} RealTraffic gone? Wait for RealTraffic to re-connect ...", gf_utcTimeOfDay()),
            true);
        return;
    }
    if (g_exitReason.load() != ExitReason::NotYetSet) return;
    if (waitForClient()) {
        lf_setReady(true);
        gf_setMessage(fmt::format("{} RealTraffic re-connected", gf_utcTimeOfDay()), true);
        gf_clearMessage();
    }
}

void lf_closeRealTrafficLink() {
    // Only the first of two concurrent closers (UI thread, main worker) says "exit".
    if (g_rtConnected.exchange(false)) sendDataPacket("exit\r\n");
    lf_closeSocket(g_rtListenSocket);
    lf_closeSocket(g_rtClientSocket);
    WSACleanup();
    g_rtConnected.exchange(false);
}

}  // namespace mrw
