#include "traffic/feed/udp_reader.h"

#include <stdexcept>

#include <fmt/format.h>

#include "config/parameter_catalogue.h"
#include "foundation/log.h"
#include "foundation/run_state.h"
#include "traffic/feed/realtraffic_mode.h"
#include "traffic/feed/wsa_error_text.h"

namespace mrw {

namespace {

constexpr DWORD kReceiveTimeoutMs = 1000;

ULONG lf_bindAddress() {
    switch (g_realTrafficMode.load()) {
        case RealTrafficMode::ConfiguredAddress: {
            in_addr address{};
            address.s_addr = INADDR_ANY;
            // A text that is no IPv4 address leaves every local address.
            if (inet_pton(AF_INET, g_parameters().RT_IP_ADDRESS.current.get().c_str(), &address) != 1) {
                return INADDR_ANY;
            }
            return address.s_addr;
        }
        case RealTrafficMode::ThisPc:
            return htonl(INADDR_LOOPBACK);
        case RealTrafficMode::OtherPc:
            break;
    }
    return htonl(INADDR_ANY);
}

bool lf_ignoredReceiveError(int code) {
    return code == WSAEINTR || code == WSAEWOULDBLOCK || code == WSAETIMEDOUT;
}

}  // namespace

void UdpReader::startup() {
    if (const int result = WSAStartup(MAKEWORD(2, 2), &m_wsaData); result != 0) {
        throw std::runtime_error(fmt::format("WSA startup error: {}", result));
    }
}

void UdpReader::createSocket() {
    m_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (m_socket == INVALID_SOCKET) {
        throw std::runtime_error(
            fmt::format("failed to create the socket, error: {}", gf_wsaErrorText(WSAGetLastError())));
    }
}

void UdpReader::bind(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = lf_bindAddress();
    if (::bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == SOCKET_ERROR) {
        throw std::runtime_error(
            fmt::format("bind to stream socket failed, error: {}", gf_wsaErrorText(WSAGetLastError())));
    }
}

void UdpReader::receiveLoop(bool keepDuplicates) {
    const DWORD timeout = kReceiveTimeoutMs;
    setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    while (!stopRequest.load()) {
        const int received =
            recvfrom(m_socket, m_buffer.data(), static_cast<int>(m_buffer.size()), 0, nullptr, nullptr);
        if (received >= kMaxDatagram) {
            // The whole datagram came: the log shows how large it was, once a second in a flood.
            if (!gf_stopping()) m_overrunLines.write(fmt::format("buffer overrun: {} bytes", received));
            continue;
        }
        if (received > 0) {
            m_buffer[static_cast<std::size_t>(received)] = '\0';
            const std::string_view datagram(m_buffer.data(), static_cast<std::size_t>(received));
            if (!keepDuplicates) {
                if (datagram == m_previous) continue;
                m_previous.assign(datagram);
            }
            m_datagram = datagram;
            ++datagramCount;
            onDatagram(m_datagram);
            continue;
        }
        if (received == 0) continue;
        const int error = WSAGetLastError();
        if (lf_ignoredReceiveError(error)) continue;
        if (stopRequest.load()) break;
        throw std::runtime_error(fmt::format("receive error: {}", gf_wsaErrorText(error)));
    }
    if (m_socket != INVALID_SOCKET) {
        shutdown(m_socket, SD_BOTH);
        closeSocket();
    }
    onStopped();
}

void UdpReader::closeSocket() {
    if (m_socket == INVALID_SOCKET) return;
    closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

}  // namespace mrw
