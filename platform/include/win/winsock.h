// WinSock 1.1 of our Win32 layer, on POSIX sockets.
//
// Everything lives in namespace winsock: the C library declares select(),
// fd_set and struct timeval of its own (the C++ headers bring them in), and
// ours differ (an fd_set here is a list of up to 64 sockets, as WinSock's
// is, not a bitmap of descriptors). The FD_* macros are WinSock's. A file
// that says `using namespace winsock` still names fd_set, timeval and the
// u_* types with winsock:: (or with using-declarations of its own), since
// the C library's are visible too.
//
// A SOCKET is a number of our own (1, 2, 3, ...: the lowest free one), not
// the descriptor underneath, so a number that was closed is refused
// (WSAENOTSOCK) and never reaches a file that took over its descriptor.
// Sockets never raise SIGPIPE; errors are the WinSock codes, read with
// WSAGetLastError. Every call except the byte-order helpers, inet_addr and
// inet_ntoa needs WSAStartup first (else WSANOTINITIALISED); the last
// WSACleanup closes the sockets still open.
#pragma once

#include "win/types.h"

// The C library's select macros mean a bitmap of descriptors; ours are
// WinSock's.
#undef FD_SETSIZE
#undef FD_SET
#undef FD_CLR
#undef FD_ISSET
#undef FD_ZERO

namespace winsock {

using u_char = std::uint8_t;
using u_short = std::uint16_t;
using u_int = std::uint32_t;
using u_long = std::uint32_t;  // 32-bit, as on the original platform

// A socket number: 32-bit, of its own type.
using SOCKET = std::uint32_t;
inline constexpr SOCKET INVALID_SOCKET = 0xFFFFFFFFu;
inline constexpr int SOCKET_ERROR = -1;

// ---- Start-up ----------------------------------------------------------------
inline constexpr int WSADESCRIPTION_LEN = 256;
inline constexpr int WSASYS_STATUS_LEN = 128;
struct WSADATA {
  WORD wVersion;      // the version the caller is to use
  WORD wHighVersion;  // the highest this layer supports (1.1)
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
};
using LPWSADATA = WSADATA*;

// 0, or an error code (also for a null `data`). A request below 1.1 fails
// with WSAVERNOTSUPPORTED; any other request gets version 1.1, and the
// caller checks wVersion. Calls nest: each successful one needs a
// WSACleanup.
int WSAStartup(WORD versionRequested, LPWSADATA data);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int error);

// ---- Addresses -----------------------------------------------------------------
inline constexpr int AF_UNSPEC = 0;
inline constexpr int AF_INET = 2;
inline constexpr int PF_INET = AF_INET;
inline constexpr int SOCK_STREAM = 1;
inline constexpr int SOCK_DGRAM = 2;
inline constexpr int IPPROTO_IP = 0;
inline constexpr int IPPROTO_TCP = 6;
inline constexpr u_long INADDR_ANY = 0x00000000u;
inline constexpr u_long INADDR_LOOPBACK = 0x7F000001u;
inline constexpr u_long INADDR_NONE = 0xFFFFFFFFu;

struct in_addr {
  u_long s_addr;  // network order
};
struct sockaddr {
  u_short sa_family;
  char sa_data[14];
};
struct sockaddr_in {
  short sin_family;
  u_short sin_port;  // network order
  in_addr sin_addr;
  char sin_zero[8];
};
static_assert(sizeof(sockaddr) == 16 && sizeof(sockaddr_in) == 16);

struct hostent {
  char* h_name;
  char** h_aliases;
  short h_addrtype;
  short h_length;
  char** h_addr_list;  // null-ended list of h_length-byte addresses
};

u_short htons(u_short v);
u_short ntohs(u_short v);
u_long htonl(u_long v);
u_long ntohl(u_long v);

// Dotted numbers ("a.b.c.d", or the shorter "a.b.c", "a.b", "a"; each part
// decimal, octal with a leading 0, or hexadecimal with 0x) to an address in
// network order; INADDR_NONE when the text is no such address.
u_long inet_addr(const char* text);
// "a.b.c.d" in a buffer of this thread, valid until its next call.
char* inet_ntoa(in_addr addr);

// IPv4 addresses of a name (or of dotted numbers), in a record of this
// thread valid until its next call; null with WSAHOST_NOT_FOUND,
// WSATRY_AGAIN or WSANO_DATA.
hostent* gethostbyname(const char* name);
// The host name; WSAEFAULT when it does not fit `length` bytes with its NUL.
int gethostname(char* name, int length);

// ---- Sockets ------------------------------------------------------------------------
SOCKET socket(int family, int type, int protocol);
int bind(SOCKET s, const sockaddr* address, int length);
inline constexpr int SOMAXCONN = 5;
int listen(SOCKET s, int backlog);
// The new socket inherits the listening socket's non-blocking mode.
SOCKET accept(SOCKET s, sockaddr* address, int* length);
// On a non-blocking socket a connection under way gives WSAEWOULDBLOCK.
int connect(SOCKET s, const sockaddr* address, int length);
inline constexpr int MSG_OOB = 0x1;
inline constexpr int MSG_PEEK = 0x2;
// Bytes sent or received; recv gives 0 at the end of the stream.
int send(SOCKET s, const char* buffer, int length, int flags);
int recv(SOCKET s, char* buffer, int length, int flags);
inline constexpr int SD_RECEIVE = 0;
inline constexpr int SD_SEND = 1;
inline constexpr int SD_BOTH = 2;
int shutdown(SOCKET s, int how);
int closesocket(SOCKET s);

int getsockname(SOCKET s, sockaddr* address, int* length);
int getpeername(SOCKET s, sockaddr* address, int* length);

// ---- Options and modes -----------------------------------------------------------------
inline constexpr int SOL_SOCKET = 0xFFFF;
inline constexpr int SO_DEBUG = 0x0001;
inline constexpr int SO_ACCEPTCONN = 0x0002;
inline constexpr int SO_REUSEADDR = 0x0004;
inline constexpr int SO_KEEPALIVE = 0x0008;
inline constexpr int SO_DONTROUTE = 0x0010;
inline constexpr int SO_BROADCAST = 0x0020;
inline constexpr int SO_LINGER = 0x0080;
inline constexpr int SO_OOBINLINE = 0x0100;
inline constexpr int SO_DONTLINGER = ~SO_LINGER;
inline constexpr int SO_SNDBUF = 0x1001;
inline constexpr int SO_RCVBUF = 0x1002;
inline constexpr int SO_RCVLOWAT = 0x1004;
inline constexpr int SO_ERROR = 0x1007;
inline constexpr int SO_TYPE = 0x1008;
inline constexpr int TCP_NODELAY = 0x0001;

struct linger {
  u_short l_onoff;
  u_short l_linger;  // seconds
};

// Boolean and integer options take an int; SO_LINGER a linger. Options not
// listed above give WSAENOPROTOOPT; a short option buffer WSAEFAULT.
int setsockopt(SOCKET s, int level, int name, const char* value, int length);
int getsockopt(SOCKET s, int level, int name, char* value, int* length);

inline constexpr LONG FIONREAD = static_cast<LONG>(0x4004667Fu);
inline constexpr LONG FIONBIO = static_cast<LONG>(0x8004667Eu);
// FIONBIO: *arg non-zero makes the socket non-blocking. FIONREAD: *arg
// becomes the number of bytes that can be read at once.
int ioctlsocket(SOCKET s, LONG command, u_long* arg);

// ---- select ------------------------------------------------------------------------------
inline constexpr u_int kFdSetSize = 64;
struct fd_set {
  u_int fd_count;
  SOCKET fd_array[kFdSetSize];
};
static_assert(sizeof(fd_set) == 65 * 4);

struct timeval {
  LONG tv_sec;
  LONG tv_usec;
};

// Waits until a socket of the sets can be read (data, a connection to
// accept, the end of the stream), written, or has an exception (out-of-band
// data, a failed connection), at most `timeout` (null: without limit). The
// sets are left holding the sockets that are ready; the result is their
// total. `nfds` is ignored. A socket number that is not open fails the call
// with WSAEBADF (the sets are then unchanged); all sets empty gives
// WSAEINVAL; an interrupted wait WSAEINTR.
int select(int nfds, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const timeval* timeout);

// The helpers behind the FD_* macros.
int FdIsSet(SOCKET s, const fd_set* set);
void FdSetAdd(SOCKET s, fd_set* set);  // once; nothing when the set is full
void FdSetRemove(SOCKET s, fd_set* set);

// ---- Error codes -------------------------------------------------------------------------
inline constexpr int WSABASEERR = 10000;
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
inline constexpr int WSASYSNOTREADY = 10091;
inline constexpr int WSAVERNOTSUPPORTED = 10092;
inline constexpr int WSANOTINITIALISED = 10093;
inline constexpr int WSAHOST_NOT_FOUND = 11001;
inline constexpr int WSATRY_AGAIN = 11002;
inline constexpr int WSANO_RECOVERY = 11003;
inline constexpr int WSANO_DATA = 11004;

// The WinSock code for a C library errno value (WSAEINVAL for one without
// a counterpart; 0 for 0).
int ErrorFromErrno(int err);
// A short English text for a WinSock code ("Connection refused"); the
// number in words for unknown codes.
const char* ErrorText(int error);

// ---- For tests ------------------------------------------------------------------------------
// At most `count` sockets open at once (socket() and accept() beyond it
// fail with WSAEMFILE); a negative count restores the normal limit.
// Returns the previous limit.
int SetSocketLimitForTesting(int count);
// The number of sockets open now.
int OpenSocketCount();

}  // namespace winsock

#define FD_SETSIZE 64
#define FD_ISSET(s, set) ::winsock::FdIsSet((s), (set))
#define FD_SET(s, set) ::winsock::FdSetAdd((s), (set))
#define FD_CLR(s, set) ::winsock::FdSetRemove((s), (set))
#define FD_ZERO(set) ((set)->fd_count = 0)
