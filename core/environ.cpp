#include "core/environ.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

CString& lastErrorText() {
  static CString text;
  return text;
}

// The first IPv4 address of a name, or false with the reason.
bool resolve(const std::string& name, in_addr& out, std::string& reason) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  addrinfo* found = nullptr;
  int rc = getaddrinfo(name.c_str(), nullptr, &hints, &found);
  if (rc != 0 || !found) {
    if (rc == EAI_SYSTEM)
      reason = errno ? std::strerror(errno) : "";
    else if (rc != 0)
      reason = gai_strerror(rc);
    else
      reason = "no address";
    if (found) freeaddrinfo(found);
    return false;
  }
  bool ok = false;
  for (addrinfo* a = found; a; a = a->ai_next) {
    if (a->ai_family == AF_INET && a->ai_addr) {
      out = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr;
      ok = true;
      break;
    }
  }
  freeaddrinfo(found);
  if (!ok) reason = "no address";
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
  in_addr address{};
  bool found = resolve(name, address, reason);
  if (!found) {
    size_t dot = name.find('.');
    if (dot != std::string::npos && dot > 0) found = resolve(name.substr(0, dot), address, reason);
  }
  if (!found) {
    lastErrorText() = CString("gethostbyname:") + reason.c_str();
    return false;
  }
  char dotted[INET_ADDRSTRLEN] = {};
  if (!inet_ntop(AF_INET, &address, dotted, sizeof dotted)) {
    lastErrorText() = CString("inet_ntoa:") + std::strerror(errno);
    return false;
  }
  out = dotted;
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
