#pragma once
// Our Winsock 2 interface over POSIX sockets: the Windows names and signatures the RealTraffic link
// and readers use, with Windows behaviour where Linux differs:
// - WSAGetLastError gives the WSA code of the last failure on this thread (errno mapped; a receive
//   time-out is 10060, a non-blocking "would block" 10035);
// - closesocket shuts the socket down before closing it, which releases a thread blocked in accept;
// - send never raises SIGPIPE (a send to a closed peer fails with 10054);
// - recvfrom on a datagram socket returns the datagram's true size even when the buffer is smaller;
// - setsockopt takes TCP_NODELAY and SO_REUSEADDR as a one-byte or an int value, and SO_RCVTIMEO as
//   milliseconds in a DWORD;
// - recv and recvfrom take no flag but MSG_PEEK.
// The declarations are ours and clash with the POSIX socket headers: never include both in one file.
// Only IPv4 is supported.

#include <sys/types.h>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "platform/windows_types.h"

using SOCKET = int;
inline constexpr SOCKET INVALID_SOCKET = -1;
inline constexpr int SOCKET_ERROR = -1;

// u_short and u_long come from <sys/types.h>; u_long is 64 bits here, so 32-bit fields use ULONG.

inline constexpr int AF_UNSPEC = 0;
inline constexpr int AF_INET = 2;
inline constexpr int SOCK_STREAM = 1;
inline constexpr int SOCK_DGRAM = 2;
inline constexpr int IPPROTO_TCP = 6;
inline constexpr int IPPROTO_UDP = 17;
inline constexpr int AI_PASSIVE = 0x1;
inline constexpr int SOMAXCONN = 0x7fffffff;
inline constexpr int SOL_SOCKET = 0xffff;
inline constexpr int SO_REUSEADDR = 0x0004;
inline constexpr int SO_RCVTIMEO = 0x1006;
inline constexpr int TCP_NODELAY = 0x0001;
inline constexpr LONG FIONBIO = static_cast<LONG>(0x8004667Eu);
inline constexpr int SD_RECEIVE = 0;
inline constexpr int SD_SEND = 1;
inline constexpr int SD_BOTH = 2;
inline constexpr int MSG_PEEK = 0x2;
inline constexpr ULONG INADDR_ANY = 0;
inline constexpr ULONG INADDR_LOOPBACK = 0x7f000001;
inline constexpr int INET_ADDRSTRLEN = 16;

// The WSA codes this layer produces.
inline constexpr int WSAEINTR = 10004;
inline constexpr int WSAEBADF = 10009;
inline constexpr int WSAEACCES = 10013;
inline constexpr int WSAEFAULT = 10014;
inline constexpr int WSAEINVAL = 10022;
inline constexpr int WSAEMFILE = 10024;
inline constexpr int WSAEWOULDBLOCK = 10035;
inline constexpr int WSAEINPROGRESS = 10036;
inline constexpr int WSAEALREADY = 10037;
inline constexpr int WSAENOTSOCK = 10038;
inline constexpr int WSAEDESTADDRREQ = 10039;
inline constexpr int WSAEMSGSIZE = 10040;
inline constexpr int WSAEPROTOTYPE = 10041;
inline constexpr int WSAENOPROTOOPT = 10042;
inline constexpr int WSAEPROTONOSUPPORT = 10043;
inline constexpr int WSAESOCKTNOSUPPORT = 10044;
inline constexpr int WSAEOPNOTSUPP = 10045;
inline constexpr int WSAEPFNOSUPPORT = 10046;
inline constexpr int WSAEAFNOSUPPORT = 10047;
inline constexpr int WSAEADDRINUSE = 10048;
inline constexpr int WSAEADDRNOTAVAIL = 10049;
inline constexpr int WSAENETDOWN = 10050;
inline constexpr int WSAENETUNREACH = 10051;
inline constexpr int WSAENETRESET = 10052;
inline constexpr int WSAECONNABORTED = 10053;
inline constexpr int WSAECONNRESET = 10054;
inline constexpr int WSAENOBUFS = 10055;
inline constexpr int WSAEISCONN = 10056;
inline constexpr int WSAENOTCONN = 10057;
inline constexpr int WSAESHUTDOWN = 10058;
inline constexpr int WSAETOOMANYREFS = 10059;
inline constexpr int WSAETIMEDOUT = 10060;
inline constexpr int WSAECONNREFUSED = 10061;
inline constexpr int WSAELOOP = 10062;
inline constexpr int WSAENAMETOOLONG = 10063;
inline constexpr int WSAEHOSTDOWN = 10064;
inline constexpr int WSAEHOSTUNREACH = 10065;
inline constexpr int WSAENOTEMPTY = 10066;
inline constexpr int WSAEUSERS = 10068;
inline constexpr int WSAEDQUOT = 10069;
inline constexpr int WSAESTALE = 10070;
inline constexpr int WSAEREMOTE = 10071;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSANO_DATA = 11004;

struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[257];
    char szSystemStatus[129];
};
using LPWSADATA = WSADATA*;

struct in_addr {
    ULONG s_addr;  // network byte order
};

struct sockaddr {
    u_short sa_family;
    char sa_data[14];
};

struct sockaddr_in {
    u_short sin_family;
    u_short sin_port;  // network byte order
    in_addr sin_addr;
    char sin_zero[8];
};

struct addrinfo {
    int ai_flags;
    int ai_family;
    int ai_socktype;
    int ai_protocol;
    std::size_t ai_addrlen;
    char* ai_canonname;
    sockaddr* ai_addr;
    addrinfo* ai_next;
};
using ADDRINFOA = addrinfo;
using PADDRINFOA = addrinfo*;

static_assert(sizeof(sockaddr) == 16 && sizeof(sockaddr_in) == 16);

inline constexpr u_short htons(u_short v) {
    return std::endian::native == std::endian::little ? static_cast<u_short>((v << 8) | (v >> 8)) : v;
}
inline constexpr u_short ntohs(u_short v) {
    return htons(v);
}
inline constexpr ULONG htonl(ULONG v) {
    return std::endian::native == std::endian::little
               ? ((v & 0xFFu) << 24) | ((v & 0xFF00u) << 8) | ((v >> 8) & 0xFF00u) | (v >> 24)
               : v;
}
inline constexpr ULONG ntohl(ULONG v) {
    return htonl(v);
}

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int iError);

SOCKET socket(int af, int type, int protocol);
int closesocket(SOCKET s);
int shutdown(SOCKET s, int how);
int ioctlsocket(SOCKET s, LONG cmd, u_long* argp);
int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen);
int bind(SOCKET s, const sockaddr* name, int namelen);
int listen(SOCKET s, int backlog);
SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen);
int connect(SOCKET s, const sockaddr* name, int namelen);
int getsockname(SOCKET s, sockaddr* name, int* namelen);
int send(SOCKET s, const char* buf, int len, int flags);
int recv(SOCKET s, char* buf, int len, int flags);
int sendto(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int tolen);
int recvfrom(SOCKET s, char* buf, int len, int flags, sockaddr* from, int* fromlen);

// Returns 0, or a WSA code (WSAHOST_NOT_FOUND, WSANO_DATA; other resolver codes pass through).
// Only IPv4 results are listed.
int getaddrinfo(const char* pNodeName, const char* pServiceName, const addrinfo* pHints, addrinfo** ppResult);
void freeaddrinfo(addrinfo* pAddrInfo);
// 1 for a valid address text, 0 for an invalid one, -1 (WSAEAFNOSUPPORT) for another family.
int inet_pton(int Family, const char* pszAddrString, void* pAddrBuf);

namespace platform {
// WSAStartup calls minus WSACleanup calls; the program may clean up more often than it starts.
int winsockStartupBalance();
}  // namespace platform
