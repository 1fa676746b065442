// Start-up, byte order, dotted addresses and host names of the WinSock
// layer.
#include <bit>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "posix_backend.h"
#include "socket_table.h"
#include "win/winsock.h"

namespace winsock {
namespace {

constexpr WORD kVersion11 = 0x0101;  // minor in the high byte, major in the low

template <typename T>
T toNetwork(T v) {
  if constexpr (std::endian::native == std::endian::big) {
    return v;
  } else {
    T r = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) {
      r = static_cast<T>((r << 8) | (v & 0xFF));
      v = static_cast<T>(v >> 8);
    }
    return r;
  }
}

void copyText(char* out, std::size_t size, const char* text) {
  std::snprintf(out, size, "%s", text);
}

// One part of a dotted address: decimal, octal after a leading 0,
// hexadecimal after 0x. False when it has no digit, a wrong digit or more
// than 32 bits.
bool parsePart(const char*& p, std::uint32_t* out) {
  int base = 10;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    base = 16;
    p += 2;
  } else if (p[0] == '0') {
    base = 8;
  }
  std::uint64_t v = 0;
  int digits = 0;
  for (;; ++p) {
    int d;
    const char c = *p;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else break;
    if (d >= base) return false;
    v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (v > 0xFFFFFFFFull) return false;
    ++digits;
  }
  if (digits == 0) return false;
  *out = static_cast<std::uint32_t>(v);
  return true;
}

struct HostRecord {
  hostent entry{};
  std::string name;
  std::vector<std::uint32_t> addresses;
  std::vector<char*> addressList;
  char* aliasList[1] = {nullptr};
};

}  // namespace

int WSAStartup(WORD versionRequested, LPWSADATA data) {
  if (!data) return WSAEFAULT;
  const int major = versionRequested & 0xFF;
  const int minor = (versionRequested >> 8) & 0xFF;
  std::memset(data, 0, sizeof *data);
  data->wVersion = kVersion11;
  data->wHighVersion = kVersion11;
  copyText(data->szDescription, sizeof data->szDescription, "Zemra WinSock 1.1 on POSIX sockets");
  copyText(data->szSystemStatus, sizeof data->szSystemStatus, "Running");
  data->iMaxSockets = 65534;
  data->iMaxUdpDg = 0;
  data->lpVendorInfo = nullptr;
  if (major < 1 || (major == 1 && minor < 1)) return WSAVERNOTSUPPORTED;
  winsock_table::addStart();
  return 0;
}

int WSACleanup() {
  if (!winsock_table::dropStart()) {
    winsock_table::setLastError(WSANOTINITIALISED);
    return SOCKET_ERROR;
  }
  return 0;
}

int WSAGetLastError() { return winsock_table::lastError(); }

void WSASetLastError(int error) { winsock_table::setLastError(error); }

u_short htons(u_short v) { return toNetwork(v); }
u_short ntohs(u_short v) { return toNetwork(v); }
u_long htonl(u_long v) { return toNetwork(v); }
u_long ntohl(u_long v) { return toNetwork(v); }

u_long inet_addr(const char* text) {
  if (!text) return INADDR_NONE;
  const char* p = text;
  std::uint32_t parts[4];
  int n = 0;
  while (true) {
    if (n == 4 || !parsePart(p, &parts[n])) return INADDR_NONE;
    ++n;
    if (*p != '.') break;
    ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;  // trailing blanks are allowed
  if (*p != '\0') return INADDR_NONE;
  std::uint32_t host = 0;
  switch (n) {
    case 1: host = parts[0]; break;
    case 2:
      if (parts[0] > 0xFF || parts[1] > 0xFFFFFF) return INADDR_NONE;
      host = parts[0] << 24 | parts[1];
      break;
    case 3:
      if (parts[0] > 0xFF || parts[1] > 0xFF || parts[2] > 0xFFFF) return INADDR_NONE;
      host = parts[0] << 24 | parts[1] << 16 | parts[2];
      break;
    default:
      for (int i = 0; i < 4; ++i)
        if (parts[i] > 0xFF) return INADDR_NONE;
      host = parts[0] << 24 | parts[1] << 16 | parts[2] << 8 | parts[3];
      break;
  }
  return htonl(host);
}

char* inet_ntoa(in_addr addr) {
  thread_local char text[16];
  const std::uint32_t host = ntohl(addr.s_addr);
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", (host >> 24) & 0xFF, (host >> 16) & 0xFF,
                (host >> 8) & 0xFF, host & 0xFF);
  return text;
}

hostent* gethostbyname(const char* name) {
  if (!winsock_table::started()) {
    winsock_table::setLastError(WSANOTINITIALISED);
    return nullptr;
  }
  if (!name) {
    winsock_table::setLastError(WSAEFAULT);
    return nullptr;
  }
  // An empty name is this host, as in WinSock.
  char own[256];
  if (!*name) {
    int err = 0;
    if (winsock_posix::hostName(own, sizeof own, &err) < 0) {
      winsock_table::setLastError(ErrorFromErrno(err));
      return nullptr;
    }
    own[sizeof own - 1] = '\0';
    name = own;
  }
  thread_local HostRecord record;
  std::vector<std::uint32_t> addresses;
  std::string canonical;
  switch (winsock_posix::resolveV4(name, addresses, canonical)) {
    case winsock_posix::Lookup::kFound: break;
    case winsock_posix::Lookup::kNotFound: winsock_table::setLastError(WSAHOST_NOT_FOUND); return nullptr;
    case winsock_posix::Lookup::kTryAgain: winsock_table::setLastError(WSATRY_AGAIN); return nullptr;
    case winsock_posix::Lookup::kNoData: winsock_table::setLastError(WSANO_DATA); return nullptr;
    case winsock_posix::Lookup::kNoRecovery: winsock_table::setLastError(WSANO_RECOVERY); return nullptr;
  }
  record.name = canonical.empty() ? std::string(name) : canonical;
  record.addresses = std::move(addresses);
  record.addressList.clear();
  for (std::uint32_t& a : record.addresses) record.addressList.push_back(reinterpret_cast<char*>(&a));
  record.addressList.push_back(nullptr);
  record.entry.h_name = record.name.data();
  record.entry.h_aliases = record.aliasList;
  record.entry.h_addrtype = AF_INET;
  record.entry.h_length = 4;
  record.entry.h_addr_list = record.addressList.data();
  return &record.entry;
}

int gethostname(char* name, int length) {
  if (!winsock_table::started()) {
    winsock_table::setLastError(WSANOTINITIALISED);
    return SOCKET_ERROR;
  }
  if (!name || length <= 0) {
    winsock_table::setLastError(WSAEFAULT);
    return SOCKET_ERROR;
  }
  char own[256];
  int err = 0;
  if (winsock_posix::hostName(own, sizeof own, &err) < 0) {
    winsock_table::setLastError(ErrorFromErrno(err));
    return SOCKET_ERROR;
  }
  own[sizeof own - 1] = '\0';
  const std::size_t n = std::strlen(own);
  if (n + 1 > static_cast<std::size_t>(length)) {
    winsock_table::setLastError(WSAEFAULT);
    return SOCKET_ERROR;
  }
  std::memcpy(name, own, n + 1);
  return 0;
}

}  // namespace winsock
