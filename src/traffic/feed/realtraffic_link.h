#pragma once
// The TCP link to RealTraffic: the program listens on PORT_NUMBER and accepts one client, asks for
// its edition and version ("Qs999=version"), sends the user position ("Qs121="), the simulator time
// to the professional edition ("Qs123=") and "exit" when the run ends. Main worker, except
// lf_closeRealTrafficLink, which the window's close button also calls on the UI thread.
//
// The socket handles are atomics: whoever closes a socket first exchanges it with INVALID_SOCKET,
// so each socket is closed once and never used after its close.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/time_texts.h"
#include "platform/winsock/winsock.h"

namespace mrw {

inline std::atomic<SOCKET> g_rtListenSocket{INVALID_SOCKET};
inline std::atomic<SOCKET> g_rtClientSocket{INVALID_SOCKET};
// A client is accepted and its socket is open.
inline std::atomic<bool> g_rtConnected{false};

// How long the handshake waits for the whole answer to "Qs999=version" before it closes that
// client and waits for the next one; tests shorten it.
inline std::atomic<std::int32_t> g_rtVersionAnswerTimeoutMs{10000};

// No RealTraffic client has answered in this run yet; set again by the run reset.
inline std::atomic<bool> g_awaitingRealTraffic{true};

// Opens the listening socket on the port (127.0.0.1 only when RealTraffic runs on this PC); throws
// std::runtime_error on failure.
void lf_listenForRealTraffic(const std::string& port);
// Accepts one client, blocking; true when a new client was accepted. Clients that have closed again
// before they were accepted are closed and passed over.
bool waitForClient();
// The client's answer as RealTraffic sends it: received until it is a whole JSON value or can never
// become one, or the client ends the stream; empty when it fails, stays incomplete for
// g_rtVersionAnswerTimeoutMs or reaches 16384 bytes.
std::string lf_receiveFromRealTraffic();
// Sends one message; false after a failure, which closes the client socket.
bool sendDataPacket(std::string_view text);
// Evaluates the answer to "Qs999=version": the edition and its text in the window. True when it is
// RealTraffic's answer, a JSON object (its "level" and "version", when there, of their types).
bool lf_processRTVersion(std::string_view answer);
// The run start's wait for RealTraffic and the handshake; nothing in mode 2. A client that does not
// answer the version request as RealTraffic does is closed and the next one awaited, so that no
// other local program can hold the link.
void lf_waitForRealTraffic();
// "Qs123=" with the simulator time in milliseconds, while connected and the time is known.
void lf_sendSimTime(std::int64_t epochSeconds);
// "Qs121=" with the user position; a lost client drops the live traffic, and the next call waits
// for RealTraffic to connect again.
void lf_sendUserPosition();
// Says "exit" to a connected RealTraffic client and closes the link's sockets; also called by the
// window's close button on the UI thread.
void lf_closeRealTrafficLink();

}  // namespace mrw
