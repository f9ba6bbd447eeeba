#include "platform/winsock/posix_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::posix {
namespace {

long lf_result(long value) {
    return value < 0 ? -errno : value;
}

long lf_setIntOption(int fd, int level, int name, int value) {
    return lf_result(::setsockopt(fd, level, name, &value, sizeof value));
}

bool lf_isNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    return flags >= 0 && (flags & O_NONBLOCK) != 0;
}

bool lf_isDatagram(int fd) {
    int type = 0;
    socklen_t length = sizeof type;
    return ::getsockopt(fd, SOL_SOCKET, SO_TYPE, &type, &length) == 0 && type == SOCK_DGRAM;
}

// A blocking socket only reports "would block" when its receive time-out ran out.
long lf_receiveResult(int fd, long value) {
    if (value >= 0) return value;
    const int error = errno;
    if ((error == EAGAIN || error == EWOULDBLOCK) && !lf_isNonBlocking(fd)) return -ETIMEDOUT;
    return -error;
}

}  // namespace

long openSocket(SocketKind kind) {
    return lf_result(
        ::socket(AF_INET, (kind == SocketKind::Stream ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC, 0));
}

long closeSocket(int fd) {
    // close alone does not wake a thread blocked in accept on this socket; shutdown does.
    ::shutdown(fd, SHUT_RDWR);
    return lf_result(::close(fd));
}

long shutdownSocket(int fd, bool receive, bool send) {
    const int how = receive && send ? SHUT_RDWR : receive ? SHUT_RD : SHUT_WR;
    return lf_result(::shutdown(fd, how));
}

long setNonBlocking(int fd, bool nonBlocking) {
    int value = nonBlocking ? 1 : 0;
    return lf_result(::ioctl(fd, FIONBIO, &value));
}

long setReuseAddress(int fd, bool on) {
    return lf_setIntOption(fd, SOL_SOCKET, SO_REUSEADDR, on ? 1 : 0);
}

long setNoDelay(int fd, bool on) {
    return lf_setIntOption(fd, IPPROTO_TCP, TCP_NODELAY, on ? 1 : 0);
}

long setReceiveTimeout(int fd, std::uint32_t milliseconds) {
    timeval timeout{};
    timeout.tv_sec = static_cast<time_t>(milliseconds / 1000);
    timeout.tv_usec = static_cast<suseconds_t>((milliseconds % 1000) * 1000);
    return lf_result(::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout));
}

long bindSocket(int fd, const void* address, std::uint32_t length) {
    return lf_result(::bind(fd, static_cast<const sockaddr*>(address), length));
}

long listenSocket(int fd, int backlog) {
    return lf_result(::listen(fd, backlog));
}

long acceptClient(int fd, void* address, std::uint32_t* length) {
    socklen_t size = length != nullptr ? *length : 0;
    const long result = lf_receiveResult(fd, ::accept4(fd, static_cast<sockaddr*>(address),
                                                       address != nullptr ? &size : nullptr, SOCK_CLOEXEC));
    if (result >= 0 && length != nullptr) *length = size;
    return result;
}

long connectSocket(int fd, const void* address, std::uint32_t length) {
    return lf_result(::connect(fd, static_cast<const sockaddr*>(address), length));
}

long socketName(int fd, void* address, std::uint32_t* length) {
    socklen_t size = *length;
    const long result = lf_result(::getsockname(fd, static_cast<sockaddr*>(address), &size));
    if (result >= 0) *length = size;
    return result;
}

long sendBytes(int fd, const void* data, std::size_t length, const void* to, std::uint32_t toLength) {
    // MSG_NOSIGNAL: a send to a peer that has gone must fail, not kill the process.
    return lf_result(::sendto(fd, data, length, MSG_NOSIGNAL, static_cast<const sockaddr*>(to), toLength));
}

long receiveBytes(int fd, void* buffer, std::size_t length, bool peek, void* from,
                  std::uint32_t* fromLength) {
    // MSG_TRUNC makes an oversized datagram report its true size; on a stream it would discard data.
    const int flags = (lf_isDatagram(fd) ? MSG_TRUNC : 0) | (peek ? MSG_PEEK : 0);
    socklen_t size = fromLength != nullptr ? *fromLength : 0;
    const long result =
        lf_receiveResult(fd, ::recvfrom(fd, buffer, length, flags, static_cast<sockaddr*>(from),
                                        from != nullptr ? &size : nullptr));
    if (result >= 0 && fromLength != nullptr) *fromLength = size;
    return result;
}

int parseIpv4(const char* text, void* address) {
    return ::inet_pton(AF_INET, text, address) == 1 ? 1 : 0;
}

ResolveError resolve(const char* node, const char* service, bool passive, int socketType, int protocol,
                     std::vector<ResolvedAddress>& out, int& otherCode) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = socketType;
    hints.ai_protocol = protocol;
    hints.ai_flags = passive ? AI_PASSIVE : 0;
    addrinfo* list = nullptr;
    const int code = ::getaddrinfo(node, service, &hints, &list);
    if (code == EAI_NONAME) return ResolveError::NoName;
    if (code == EAI_NODATA) return ResolveError::NoData;
    if (code != 0) {
        otherCode = code;
        return ResolveError::Other;
    }
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family != AF_INET || entry->ai_addrlen != sizeof(sockaddr_in)) continue;
        ResolvedAddress& address = out.emplace_back();
        address.socketType = entry->ai_socktype;
        address.protocol = entry->ai_protocol;
        std::memcpy(address.address, entry->ai_addr, sizeof(sockaddr_in));
    }
    ::freeaddrinfo(list);
    return ResolveError::None;
}

}  // namespace platform::posix
