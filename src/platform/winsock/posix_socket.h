#pragma once
// The POSIX side of our Winsock layer, kept apart because the POSIX socket headers and our Winsock
// declarations cannot meet in one file. Each call returns its result (>= 0), or minus errno.
// Addresses are raw IPv4 socket addresses (16 bytes, the same layout on both sides).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform::posix {

enum class SocketKind { Stream, Datagram };

long openSocket(SocketKind kind);
long closeSocket(int fd);  // shutdown of both directions, then close
long shutdownSocket(int fd, bool receive, bool send);
long setNonBlocking(int fd, bool nonBlocking);
long setReuseAddress(int fd, bool on);
long setNoDelay(int fd, bool on);
long setReceiveTimeout(int fd, std::uint32_t milliseconds);  // 0: wait for ever
long bindSocket(int fd, const void* address, std::uint32_t length);
long listenSocket(int fd, int backlog);
long acceptClient(int fd, void* address, std::uint32_t* length);
long connectSocket(int fd, const void* address, std::uint32_t length);
long socketName(int fd, void* address, std::uint32_t* length);
// The receive calls turn a time-out of a blocking socket into -ETIMEDOUT (a non-blocking socket with
// nothing to read gives -EAGAIN). A datagram longer than the buffer is cut, and its full length is
// returned.
long sendBytes(int fd, const void* data, std::size_t length, const void* to, std::uint32_t toLength);
// With `peek` the bytes stay queued for the next receive.
long receiveBytes(int fd, void* buffer, std::size_t length, bool peek, void* from, std::uint32_t* fromLength);
// 1 valid, 0 invalid text.
int parseIpv4(const char* text, void* address);

struct ResolvedAddress {
    int socketType = 0;  // 1 stream, 2 datagram
    int protocol = 0;
    unsigned char address[16] = {};
};
enum class ResolveError { None, NoName, NoData, Other };
// IPv4 addresses only; `otherCode` is the resolver's own code for ResolveError::Other.
ResolveError resolve(const char* node, const char* service, bool passive, int socketType, int protocol,
                     std::vector<ResolvedAddress>& out, int& otherCode);

}  // namespace platform::posix
