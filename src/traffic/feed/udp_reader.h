#pragma once
// The common base of the two RealTraffic UDP readers (traffic on 49005, QNH on 49004): Winsock start,
// the socket bound by RealTrafficMode, and the receive loop with its time-out, buffer limit and
// duplicate skip. Each reader object runs on one thread at a time, which owns its socket and buffer.

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/winsock/winsock.h"
#include "traffic/feed/throttled_log_line.h"

namespace mrw {

class UdpReader {
  public:
    // The most bytes of one datagram; a larger one is dropped.
    static constexpr int kMaxDatagram = 16384;
    // The largest UDP payload over IPv4. The receive buffer holds one byte more, so every datagram
    // arrives whole with its true size: Windows reports a datagram larger than the buffer only as
    // the error WSAEMSGSIZE, which tells no size and would end the reader.
    static constexpr int kLargestUdpPayload = 65507;

    UdpReader() = default;
    UdpReader(const UdpReader&) = delete;
    UdpReader& operator=(const UdpReader&) = delete;
    virtual ~UdpReader() = default;

    // One received datagram (without its terminating zero byte).
    virtual void onDatagram(std::string_view datagram) = 0;
    // The loop has ended and the socket is closed.
    virtual void onStopped() = 0;

    // WSAStartup 2.2; throws std::runtime_error "WSA startup error: {}".
    void startup();
    // A UDP socket; throws std::runtime_error "failed to create the socket, error: {}".
    void createSocket();
    // Binds to the address of the current RealTrafficMode and the port; throws
    // std::runtime_error "bind to stream socket failed, error: {}".
    void bind(std::uint16_t port);
    // Receives until the stop request is seen (at the latest after the 1000 ms receive time-out),
    // then closes the socket and calls onStopped. Unless keepDuplicates, a datagram equal to the one
    // before it is skipped. Throws std::runtime_error "receive error: {}" on a socket error.
    void receiveLoop(bool keepDuplicates);
    // Closes the socket when it is open.
    void closeSocket();

    // Set by the run end; the loop ends when it sees it.
    std::atomic<bool> stopRequest{false};
    // Datagrams handed to onDatagram, and the count when the lamps last looked.
    std::atomic<std::int32_t> datagramCount{0};
    std::atomic<std::int32_t> countAtLastCheck{0};

    // The next line about a bad datagram is written again (a new run or RealTraffic link).
    void resetErrorLines() {
        m_errorLines.reset();
        m_overrunLines.reset();
    }

  protected:
    // Lines about bad datagrams: a flood of them writes one line a second.
    ThrottledLogLine m_errorLines;

  private:
    ThrottledLogLine m_overrunLines;  // datagrams too large to take
    std::string_view m_datagram;
    std::array<char, kLargestUdpPayload + 1> m_buffer{};
    std::string m_previous;
    WSADATA m_wsaData{};
    SOCKET m_socket = INVALID_SOCKET;
};

}  // namespace mrw
