#include "platform/winsock/winsock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sys/syscall.h>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/winsock/wsa_error_map.h"
#include "support/loopback_address.h"

namespace {

using namespace std::chrono_literals;

const sockaddr* asAddress(const sockaddr_in& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

u_short portOf(SOCKET s) {
    sockaddr_in address{};
    int length = sizeof address;
    EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&address), &length), 0);
    return ntohs(address.sin_port);
}

// A socket bound to 127.0.0.1 on a port the system chooses.
SOCKET boundSocket(int type) {
    const SOCKET s = socket(AF_INET, type, type == SOCK_STREAM ? IPPROTO_TCP : IPPROTO_UDP);
    EXPECT_NE(s, INVALID_SOCKET);
    const sockaddr_in address = mrwtest::loopbackAddress(0);
    EXPECT_EQ(bind(s, asAddress(address), sizeof address), 0) << WSAGetLastError();
    return s;
}

SOCKET listeningSocket() {
    const SOCKET s = boundSocket(SOCK_STREAM);
    EXPECT_EQ(listen(s, SOMAXCONN), 0);
    return s;
}

SOCKET connectedClient(u_short port) {
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const sockaddr_in address = mrwtest::loopbackAddress(port);
    EXPECT_EQ(connect(s, asAddress(address), sizeof address), 0) << WSAGetLastError();
    return s;
}

void setReceiveTimeout(SOCKET s, DWORD milliseconds) {
    ASSERT_EQ(setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&milliseconds),
                         sizeof milliseconds),
              0);
}

TEST(WinsockErrorMap, ErrnoValuesBecomeWsaCodes) {
    struct Case {
        int error;
        int code;
    };
    const std::vector<Case> cases = {
        {EINTR, WSAEINTR},
        {EBADF, WSAEBADF},
        {EINVAL, WSAEINVAL},
        {EAGAIN, WSAEWOULDBLOCK},
        {ENOTSOCK, WSAENOTSOCK},
        {EMSGSIZE, WSAEMSGSIZE},
        {EADDRINUSE, WSAEADDRINUSE},
        {ECONNRESET, WSAECONNRESET},
        {EPIPE, WSAECONNRESET},
        {ENOTCONN, WSAENOTCONN},
        {ETIMEDOUT, WSAETIMEDOUT},
        {ECONNREFUSED, WSAECONNREFUSED},
        {EREMOTE, WSAEREMOTE},
        {EPERM, EPERM},
        {ENOENT, ENOENT},  // no counterpart: unchanged
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::wsaErrorFromErrno(c.error), c.code) << "errno " << c.error;
}

TEST(Winsock, SecondBindOnTheSamePortReportsAddressInUse) {
    const SOCKET first = boundSocket(SOCK_DGRAM);
    const SOCKET second = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const sockaddr_in address = mrwtest::loopbackAddress(portOf(first));
    EXPECT_EQ(bind(second, asAddress(address), sizeof address), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEADDRINUSE);
    closesocket(first);
    closesocket(second);
}

TEST(Winsock, ReceiveTimeOutReports10060AfterTheTimeOut) {
    const SOCKET s = boundSocket(SOCK_DGRAM);
    setReceiveTimeout(s, 200);
    char buffer[64];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(recvfrom(s, buffer, sizeof buffer, 0, nullptr, nullptr), SOCKET_ERROR);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(WSAGetLastError(), WSAETIMEDOUT);
    EXPECT_GE(waited, 190ms);
    EXPECT_LT(waited, 10s);  // it does end
    closesocket(s);
}

TEST(Winsock, NonBlockingReceiveWithNothingWaitingReportsWouldBlock) {
    const SOCKET s = boundSocket(SOCK_DGRAM);
    u_long nonBlocking = 1;
    ASSERT_EQ(ioctlsocket(s, FIONBIO, &nonBlocking), 0);
    char buffer[64];
    EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    closesocket(s);
}

TEST(Winsock, DatagramsReportTheirTrueSize) {
    const SOCKET receiver = boundSocket(SOCK_DGRAM);
    setReceiveTimeout(receiver, 5000);
    const SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const sockaddr_in to = mrwtest::loopbackAddress(portOf(receiver));
    std::vector<char> buffer(16384);
    for (const int size : {16383, 16384, 20000}) {
        const std::string datagram(static_cast<std::size_t>(size), 'x');
        ASSERT_EQ(sendto(sender, datagram.data(), size, 0, asAddress(to), sizeof to), size);
        sockaddr_in from{};
        int fromLength = sizeof from;
        EXPECT_EQ(recvfrom(receiver, buffer.data(), static_cast<int>(buffer.size()), 0,
                           reinterpret_cast<sockaddr*>(&from), &fromLength),
                  size);
        EXPECT_EQ(ntohs(from.sin_port), portOf(sender));
    }
    closesocket(sender);
    closesocket(receiver);
}

// An address buffer shorter than an IPv4 address, or only one of address and length: WSAEFAULT,
// and the waiting datagram stays for a call that can take it.
TEST(Winsock, ReceiveWithATooSmallAddressLengthReportsFault) {
    const SOCKET receiver = boundSocket(SOCK_DGRAM);
    setReceiveTimeout(receiver, 5000);
    const SOCKET sender = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    const sockaddr_in to = mrwtest::loopbackAddress(portOf(receiver));
    ASSERT_EQ(sendto(sender, "q", 1, 0, asAddress(to), sizeof to), 1);
    char buffer[16];
    sockaddr_in from{};
    for (const int length : {0, static_cast<int>(sizeof from) - 1}) {
        int fromLength = length;
        EXPECT_EQ(
            recvfrom(receiver, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength),
            SOCKET_ERROR);
        EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    }
    EXPECT_EQ(recvfrom(receiver, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), nullptr),
              SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEFAULT);
    int fromLength = sizeof from;
    EXPECT_EQ(recvfrom(receiver, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength),
              1);
    closesocket(sender);
    closesocket(receiver);
}

// Set up as the RealTraffic link does: passive address lookup, blocking mode, address reuse,
// bind, listen; then the accepted client gets TCP_NODELAY as a one-byte value.
TEST(Winsock, ListenerSetUpAndOneByteNoDelay) {
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(2, 2));
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    hints.ai_flags = AI_PASSIVE;
    addrinfo* result = nullptr;
    ASSERT_EQ(getaddrinfo(nullptr, "0", &hints, &result), 0);
    ASSERT_NE(result, nullptr);
    const auto* any = reinterpret_cast<const sockaddr_in*>(result->ai_addr);
    EXPECT_EQ(any->sin_addr.s_addr, INADDR_ANY);

    const SOCKET listener = socket(result->ai_family, result->ai_socktype, result->ai_protocol);
    ASSERT_NE(listener, INVALID_SOCKET);
    u_long blocking = 0;
    EXPECT_EQ(ioctlsocket(listener, FIONBIO, &blocking), 0);
    const int reuse = 1;
    EXPECT_EQ(
        setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&reuse), sizeof reuse),
        0);
    const sockaddr_in local = mrwtest::loopbackAddress(0);  // tests stay on 127.0.0.1
    ASSERT_EQ(bind(listener, asAddress(local), sizeof local), 0);
    freeaddrinfo(result);
    ASSERT_EQ(listen(listener, SOMAXCONN), 0);

    const SOCKET client = connectedClient(portOf(listener));
    const SOCKET server = accept(listener, nullptr, nullptr);
    ASSERT_NE(server, INVALID_SOCKET);
    const char one = 1;
    EXPECT_EQ(setsockopt(server, IPPROTO_TCP, TCP_NODELAY, &one, 1), 0) << WSAGetLastError();

    const std::string hello = "Qs999=version\r\n";
    EXPECT_EQ(send(server, hello.data(), static_cast<int>(hello.size()), 0), static_cast<int>(hello.size()));
    char buffer[64] = {};
    EXPECT_EQ(recv(client, buffer, sizeof buffer, 0), static_cast<int>(hello.size()));
    EXPECT_EQ(std::string(buffer), hello);
    for (const SOCKET s : {client, server, listener})
        EXPECT_EQ(closesocket(s), 0);
    EXPECT_EQ(WSACleanup(), 0);
}

// A peek leaves the bytes for the next receive and, on a non-blocking socket, tells a closed peer
// (0) from one that is there but silent (would block).
TEST(Winsock, PeekLeavesTheBytesAndTellsAClosedPeer) {
    const SOCKET listener = listeningSocket();
    const SOCKET client = connectedClient(portOf(listener));
    const SOCKET server = accept(listener, nullptr, nullptr);
    ASSERT_NE(server, INVALID_SOCKET);
    u_long nonBlocking = 1;
    ASSERT_EQ(ioctlsocket(server, FIONBIO, &nonBlocking), 0);
    char buffer[8] = {};
    // The first peek that does not have to wait (bounded).
    const auto peek = [&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        int result = SOCKET_ERROR;
        while ((result = recv(server, buffer, 1, MSG_PEEK)) == SOCKET_ERROR &&
               WSAGetLastError() == WSAEWOULDBLOCK && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        return result;
    };
    EXPECT_EQ(recv(server, buffer, 1, MSG_PEEK), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    ASSERT_EQ(send(client, "ab", 2, 0), 2);
    EXPECT_EQ(peek(), 1);
    EXPECT_EQ(peek(), 1) << "still there";
    EXPECT_EQ(recv(server, buffer, sizeof buffer, 0), 2);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    closesocket(client);
    EXPECT_EQ(peek(), 0);
    closesocket(server);
    closesocket(listener);
}

TEST(Winsock, SendAfterThePeerClosedFailsWithoutKillingTheProcess) {
    const SOCKET listener = listeningSocket();
    const SOCKET client = connectedClient(portOf(listener));
    const SOCKET server = accept(listener, nullptr, nullptr);
    ASSERT_NE(server, INVALID_SOCKET);
    closesocket(client);
    // The first sends may still succeed; one of the next few must fail with a reset, not a SIGPIPE.
    const std::string line = "Qs121=0;0;0;0;0;0;0\r\n";
    int result = 0;
    for (int attempt = 0; attempt < 100 && result != SOCKET_ERROR; ++attempt) {
        result = send(server, line.data(), static_cast<int>(line.size()), 0);
        if (result != SOCKET_ERROR) std::this_thread::yield();
    }
    EXPECT_EQ(result, SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
    closesocket(server);
    closesocket(listener);
}

// State letter of a thread of this process ('S' while it sleeps in a blocking call).
char threadState(long tid) {
    std::ifstream stat("/proc/self/task/" + std::to_string(tid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    return close == std::string::npos || close + 2 >= text.size() ? '?' : text[close + 2];
}

TEST(Winsock, ClosingTheListenerFromAnotherThreadReleasesABlockedAccept) {
    const SOCKET listener = listeningSocket();
    std::promise<long> acceptingThread;
    auto accepted = std::async(std::launch::async, [&] {
        acceptingThread.set_value(static_cast<long>(::syscall(SYS_gettid)));
        return accept(listener, nullptr, nullptr);
    });
    const long tid = acceptingThread.get_future().get();
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (threadState(tid) != 'S' && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    ASSERT_EQ(threadState(tid), 'S') << "the thread never blocked in accept";

    EXPECT_EQ(closesocket(listener), 0);
    ASSERT_EQ(accepted.wait_for(10s), std::future_status::ready) << "accept was not released";
    EXPECT_EQ(accepted.get(), INVALID_SOCKET);
}

TEST(Winsock, ArgumentsAndAddressTexts) {
    in_addr address{};
    EXPECT_EQ(inet_pton(AF_INET, "127.0.0.1", &address), 1);
    EXPECT_EQ(address.s_addr, htonl(INADDR_LOOPBACK));
    in_addr untouched{};
    EXPECT_EQ(inet_pton(AF_INET, "not an address", &untouched), 0);
    EXPECT_EQ(untouched.s_addr, INADDR_ANY);

    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, IPPROTO_UDP), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSAEPROTONOSUPPORT);
    const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_EQ(setsockopt(s, SOL_SOCKET, 0x1234, "\1", 1), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOPROTOOPT);
    EXPECT_EQ(closesocket(s), 0);
    EXPECT_EQ(closesocket(s), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEBADF);

    addrinfo* result = nullptr;
    EXPECT_NE(getaddrinfo(nullptr, "no-such-service-name", nullptr, &result),
              0);  // resolver code passes through
    EXPECT_EQ(result, nullptr);
}

TEST(Winsock, StartupBalanceCountsUnmatchedCleanups) {
    const int before = platform::winsockStartupBalance();
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    WSACleanup();
    WSACleanup();
    EXPECT_EQ(platform::winsockStartupBalance(), before - 1);
}

}  // namespace
