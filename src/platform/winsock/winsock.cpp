#include "platform/winsock/winsock.h"

#include <atomic>
#include <cstring>
#include <vector>

#include "platform/winsock/posix_socket.h"
#include "platform/winsock/wsa_error_map.h"

namespace {

thread_local int t_lastError = 0;
std::atomic<int> g_startupBalance{0};

// Sets the thread's WSA code from a failed POSIX result (minus errno); passes results through.
long lf_checked(long result) {
    if (result < 0) t_lastError = platform::wsaErrorFromErrno(static_cast<int>(-result));
    return result;
}

int lf_status(long result) {
    return lf_checked(result) < 0 ? SOCKET_ERROR : 0;
}

int lf_fail(int code) {
    t_lastError = code;
    return SOCKET_ERROR;
}

// Windows takes BOOL options as a one-byte or a four-byte value.
bool lf_readFlag(const char* value, int length, bool& flag) {
    if (value == nullptr || length < 1) return false;
    if (length >= static_cast<int>(sizeof(int))) {
        int number = 0;
        std::memcpy(&number, value, sizeof number);
        flag = number != 0;
    } else {
        flag = value[0] != 0;
    }
    return true;
}

// Checks an IPv4 socket address passed in; false sets the WSA code.
bool lf_validAddress(const sockaddr* address, int length) {
    if (address == nullptr || length < static_cast<int>(sizeof(sockaddr_in))) {
        t_lastError = WSAEFAULT;
        return false;
    }
    if (address->sa_family != AF_INET) {
        t_lastError = WSAEAFNOSUPPORT;
        return false;
    }
    return true;
}

// getaddrinfo reports its failure as its result as well as through WSAGetLastError.
int lf_resolveFailure(int code) {
    t_lastError = code;
    return code;
}

int lf_lengthResult(long result) {
    return lf_checked(result) < 0 ? SOCKET_ERROR : static_cast<int>(result);
}

}  // namespace

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData) {
    if (lpWSAData == nullptr) return WSAEFAULT;
    *lpWSAData = WSADATA{};
    lpWSAData->wVersion = wVersionRequested < MAKEWORD(2, 2) ? wVersionRequested : MAKEWORD(2, 2);
    lpWSAData->wHighVersion = MAKEWORD(2, 2);
    std::strcpy(lpWSAData->szDescription, "POSIX sockets");
    std::strcpy(lpWSAData->szSystemStatus, "Running");
    ++g_startupBalance;
    return 0;
}

int WSACleanup() {
    --g_startupBalance;
    return 0;
}

int WSAGetLastError() {
    return t_lastError;
}

void WSASetLastError(int iError) {
    t_lastError = iError;
}

SOCKET socket(int af, int type, int protocol) {
    if (af != AF_INET) return lf_fail(WSAEAFNOSUPPORT);
    if (type != SOCK_STREAM && type != SOCK_DGRAM) return lf_fail(WSAESOCKTNOSUPPORT);
    const int expected = type == SOCK_STREAM ? IPPROTO_TCP : IPPROTO_UDP;
    if (protocol != 0 && protocol != expected) return lf_fail(WSAEPROTONOSUPPORT);
    const auto kind =
        type == SOCK_STREAM ? platform::posix::SocketKind::Stream : platform::posix::SocketKind::Datagram;
    const long fd = lf_checked(platform::posix::openSocket(kind));
    return fd < 0 ? INVALID_SOCKET : static_cast<SOCKET>(fd);
}

int closesocket(SOCKET s) {
    return lf_status(platform::posix::closeSocket(s));
}

int shutdown(SOCKET s, int how) {
    if (how < SD_RECEIVE || how > SD_BOTH) return lf_fail(WSAEINVAL);
    return lf_status(platform::posix::shutdownSocket(s, how != SD_SEND, how != SD_RECEIVE));
}

int ioctlsocket(SOCKET s, LONG cmd, u_long* argp) {
    if (cmd != FIONBIO) return lf_fail(WSAEINVAL);
    if (argp == nullptr) return lf_fail(WSAEFAULT);
    return lf_status(platform::posix::setNonBlocking(s, *argp != 0));
}

int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen) {
    bool flag = false;
    if (level == SOL_SOCKET && optname == SO_RCVTIMEO) {
        if (optval == nullptr || optlen < static_cast<int>(sizeof(DWORD))) return lf_fail(WSAEFAULT);
        DWORD milliseconds = 0;
        std::memcpy(&milliseconds, optval, sizeof milliseconds);
        return lf_status(platform::posix::setReceiveTimeout(s, milliseconds));
    }
    const bool known =
        (level == SOL_SOCKET && optname == SO_REUSEADDR) || (level == IPPROTO_TCP && optname == TCP_NODELAY);
    if (!known) return lf_fail(WSAENOPROTOOPT);
    if (!lf_readFlag(optval, optlen, flag)) return lf_fail(WSAEFAULT);
    return lf_status(optname == TCP_NODELAY ? platform::posix::setNoDelay(s, flag)
                                            : platform::posix::setReuseAddress(s, flag));
}

int bind(SOCKET s, const sockaddr* name, int namelen) {
    if (!lf_validAddress(name, namelen)) return SOCKET_ERROR;
    return lf_status(platform::posix::bindSocket(s, name, sizeof(sockaddr_in)));
}

int listen(SOCKET s, int backlog) {
    return lf_status(platform::posix::listenSocket(s, backlog));
}

SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen) {
    if ((addr == nullptr) != (addrlen == nullptr)) return lf_fail(WSAEFAULT);
    if (addrlen != nullptr && *addrlen < static_cast<int>(sizeof(sockaddr_in))) return lf_fail(WSAEFAULT);
    std::uint32_t length = addrlen != nullptr ? sizeof(sockaddr_in) : 0;
    const long fd =
        lf_checked(platform::posix::acceptClient(s, addr, addrlen != nullptr ? &length : nullptr));
    if (fd < 0) return INVALID_SOCKET;
    if (addrlen != nullptr) *addrlen = static_cast<int>(length);
    return static_cast<SOCKET>(fd);
}

int connect(SOCKET s, const sockaddr* name, int namelen) {
    if (!lf_validAddress(name, namelen)) return SOCKET_ERROR;
    return lf_status(platform::posix::connectSocket(s, name, sizeof(sockaddr_in)));
}

int getsockname(SOCKET s, sockaddr* name, int* namelen) {
    if (name == nullptr || namelen == nullptr || *namelen < static_cast<int>(sizeof(sockaddr_in))) {
        return lf_fail(WSAEFAULT);
    }
    std::uint32_t length = sizeof(sockaddr_in);
    if (lf_checked(platform::posix::socketName(s, name, &length)) < 0) return SOCKET_ERROR;
    *namelen = static_cast<int>(length);
    return 0;
}

int send(SOCKET s, const char* buf, int len, int flags) {
    return sendto(s, buf, len, flags, nullptr, 0);
}

int recv(SOCKET s, char* buf, int len, int flags) {
    return recvfrom(s, buf, len, flags, nullptr, nullptr);
}

int sendto(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int tolen) {
    if (flags != 0) return lf_fail(WSAEOPNOTSUPP);
    if (len < 0 || (buf == nullptr && len > 0)) return lf_fail(WSAEFAULT);
    if (to != nullptr && !lf_validAddress(to, tolen)) return SOCKET_ERROR;
    const std::uint32_t toLength = to != nullptr ? sizeof(sockaddr_in) : 0;
    return lf_lengthResult(platform::posix::sendBytes(s, buf, static_cast<std::size_t>(len), to, toLength));
}

int recvfrom(SOCKET s, char* buf, int len, int flags, sockaddr* from, int* fromlen) {
    if (flags != 0 && flags != MSG_PEEK) return lf_fail(WSAEOPNOTSUPP);
    if (len < 0 || (buf == nullptr && len > 0)) return lf_fail(WSAEFAULT);
    if ((from == nullptr) != (fromlen == nullptr)) return lf_fail(WSAEFAULT);
    if (fromlen != nullptr && *fromlen < static_cast<int>(sizeof(sockaddr_in))) return lf_fail(WSAEFAULT);
    std::uint32_t length = fromlen != nullptr ? sizeof(sockaddr_in) : 0;
    const int result = lf_lengthResult(platform::posix::receiveBytes(s, buf, static_cast<std::size_t>(len),
                                                                     flags == MSG_PEEK, from,
                                                                     fromlen != nullptr ? &length : nullptr));
    if (result >= 0 && fromlen != nullptr) *fromlen = static_cast<int>(length);
    return result;
}

int getaddrinfo(const char* pNodeName, const char* pServiceName, const addrinfo* pHints,
                addrinfo** ppResult) {
    if (ppResult == nullptr) return lf_resolveFailure(WSAEFAULT);
    *ppResult = nullptr;
    if (pHints != nullptr && pHints->ai_family != AF_UNSPEC && pHints->ai_family != AF_INET) {
        return lf_resolveFailure(WSAEAFNOSUPPORT);
    }
    std::vector<platform::posix::ResolvedAddress> found;
    int otherCode = 0;
    const bool passive = pHints != nullptr && (pHints->ai_flags & AI_PASSIVE) != 0;
    const auto error =
        platform::posix::resolve(pNodeName, pServiceName, passive, pHints ? pHints->ai_socktype : 0,
                                 pHints ? pHints->ai_protocol : 0, found, otherCode);
    using platform::posix::ResolveError;
    const int code = error == ResolveError::NoName   ? WSAHOST_NOT_FOUND
                     : error == ResolveError::NoData ? WSANO_DATA
                     : error == ResolveError::Other  ? otherCode
                                                     : 0;
    if (code != 0) return lf_resolveFailure(code);
    addrinfo** tail = ppResult;
    for (const auto& address : found) {
        auto* entry = new addrinfo{};
        auto* socketAddress = new sockaddr_in{};
        std::memcpy(socketAddress, address.address, sizeof(sockaddr_in));
        entry->ai_flags = passive ? AI_PASSIVE : 0;
        entry->ai_family = AF_INET;
        entry->ai_socktype = address.socketType;
        entry->ai_protocol = address.protocol;
        entry->ai_addrlen = sizeof(sockaddr_in);
        entry->ai_addr = reinterpret_cast<sockaddr*>(socketAddress);
        *tail = entry;
        tail = &entry->ai_next;
    }
    return 0;
}

void freeaddrinfo(addrinfo* pAddrInfo) {
    while (pAddrInfo != nullptr) {
        addrinfo* next = pAddrInfo->ai_next;
        delete reinterpret_cast<sockaddr_in*>(pAddrInfo->ai_addr);
        delete pAddrInfo;
        pAddrInfo = next;
    }
}

int inet_pton(int Family, const char* pszAddrString, void* pAddrBuf) {
    if (Family != AF_INET) return lf_fail(WSAEAFNOSUPPORT);
    if (pszAddrString == nullptr || pAddrBuf == nullptr) return lf_fail(WSAEFAULT);
    return platform::posix::parseIpv4(pszAddrString, pAddrBuf);
}

namespace platform {
int winsockStartupBalance() {
    return g_startupBalance.load();
}
}  // namespace platform
