#include "core/environ.h"

#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "win/winsock.h"

namespace {

CString& lastErrorText() {
  static CString text;
  return text;
}

// Host names are resolved by the WinSock of our Win32 layer, the one
// resolver of the program: the platform lies below this layer, while the
// network layer's sockets lie above it and cannot be used from here. The
// start-up and clean-up nest, so this costs nothing when the network layer
// has started WinSock already and leaves nothing open when it has not.
// The first IPv4 address of a name in dotted form, or false with the reason.
bool resolve(const std::string& name, std::string& dotted, std::string& reason) {
  winsock::WSADATA data;
  if (const int rc = winsock::WSAStartup(MAKEWORD(1, 1), &data); rc != 0) {
    reason = winsock::ErrorText(rc);
    return false;
  }
  const winsock::hostent* host = winsock::gethostbyname(name.c_str());
  bool ok = false;
  if (!host) {
    reason = winsock::ErrorText(winsock::WSAGetLastError());
  } else if (host->h_addrtype != winsock::AF_INET || host->h_length != 4 || !host->h_addr_list ||
             !host->h_addr_list[0]) {
    reason = "no address";
  } else {
    winsock::in_addr address{};
    std::memcpy(&address.s_addr, host->h_addr_list[0], sizeof address.s_addr);
    dotted = winsock::inet_ntoa(address);
    ok = true;
  }
  winsock::WSACleanup();
  return ok;
}

}  // namespace

bool QueryHostName(CString& out) {
  char buffer[256] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0) {
    out.Empty();
    return false;
  }
  out = buffer;
  return !out.IsEmpty();
}

bool Environ::getBool(const char* name, bool& out) {
  if (!name) return false;
  const char* value = std::getenv(name);
  if (!value) return false;
  out = std::strcmp(value, "true") == 0 || std::strcmp(value, "1") == 0;
  return true;
}

bool Environ::getpw(CString& name, CString& password) {
  name.Empty();
  password.Empty();
  return true;
}

const CString& Environ::hostName() {
  static CString name;
  if (name.IsEmpty() && !QueryHostName(name)) std::perror("Environ::hostName:gethostname");
  return name;
}

bool Environ::hostAddress(const char* host, CString& out) {
  out.Empty();
  if (!host || !*host) {
    lastErrorText() = "gethostbyname:no host name";
    return false;
  }
  if (host[0] >= '0' && host[0] <= '9') {
    out = host;
    return true;
  }
  std::string name(host);
  std::string reason;
  std::string dotted;
  bool found = resolve(name, dotted, reason);
  if (!found) {
    size_t dot = name.find('.');
    if (dot != std::string::npos && dot > 0) found = resolve(name.substr(0, dot), dotted, reason);
  }
  if (!found) {
    lastErrorText() = CString("gethostbyname:") + reason.c_str();
    return false;
  }
  out = dotted.c_str();
  return true;
}

const CString& Environ::cachedHostAddress(const char* host, CString& cache) {
  if (cache.IsEmpty()) hostAddress(host, cache);
  return cache;
}

const CString& Environ::localHostAddress() {
  static CString address;
  if (!address.IsEmpty()) return address;
  return cachedHostAddress(hostName(), address);
}

const CString& Environ::lastError() { return lastErrorText(); }

int Environ::getTimeOfDay(TimeVal* tv, TimeZone* tz) {
  if (!tv) return -1;
  timeval now{};
  ::gettimeofday(&now, nullptr);
  tv->tv_sec = static_cast<LONG>(now.tv_sec);
  tv->tv_usec = static_cast<LONG>(now.tv_usec / 1000 * 1000);
  if (tz) {
    tz->tz_minuteswest = 0;
    tz->tz_dsttime = 0;
    if (std::getenv("TZ")) {
      tzset();
      tz->tz_minuteswest = static_cast<int>(timezone / 60);
      tz->tz_dsttime = daylight;
    }
  }
  return 0;
}

const CString& Environ::timeText(std::time_t t, bool local) {
  static CString text;
  std::tm parts{};
  if (local) tzset();  // a changed TZ applies
  bool ok = local ? localtime_r(&t, &parts) != nullptr : gmtime_r(&t, &parts) != nullptr;
  if (!ok) {
    text.Empty();
    return text;
  }
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d %02d:%02d:%02d", parts.tm_year,
                parts.tm_mon + 1, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec);
  text = buffer;
  return text;
}

const CString& Environ::currentTime() { return timeText(std::time(nullptr), false); }
