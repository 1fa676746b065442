// Environment helpers of the network layer: environment switches, the user
// record, the host name and addresses, and time texts.
#pragma once

#include <ctime>

#include "mfc/cstring.h"
#include "win/types.h"

// Time of day with 32-bit fields, as the dispatcher's timers keep it.
struct TimeVal {
  LONG tv_sec;
  LONG tv_usec;
};
struct TimeZone {
  int tz_minuteswest;
  int tz_dsttime;
};

// The host name as the system gives it; false (and `out` empty) on failure.
bool QueryHostName(CString& out);

class Environ {
 public:
  // False when the variable is not set; else out = (value is exactly "true"
  // or "1") and true.
  static bool getBool(const char* name, bool& out);

  // User name and password of the current user's record. The platform keeps
  // no such record for the client: both are empty and the result is true.
  static bool getpw(CString& name, CString& password);

  // Asked once; on failure the name stays empty and is asked again next time.
  static const CString& hostName();

  // A host beginning with a digit is taken as an address. Otherwise the name,
  // or failing that its part before the first ".", is resolved and `out` gets
  // the first IPv4 address in dotted form. On failure `out` is empty, the
  // result false and lastError() tells why.
  static bool hostAddress(const char* host, CString& out);

  // The address of this host, or empty when it cannot be had (tried again on
  // the next call).
  static const CString& localHostAddress();
  // What localHostAddress does with its kept text: an empty `cache` is filled
  // with the address of `host`, and stays empty when that fails.
  static const CString& cachedHostAddress(const char* host, CString& cache);

  // Why the last hostAddress failed.
  static const CString& lastError();

  // Seconds and microseconds (whole milliseconds) of the current time; the
  // zone is filled only when TZ is set, else both its fields are 0. -1 when
  // tv is null, else 0.
  static int getTimeOfDay(TimeVal* tv, TimeZone* tz);

  // "yy/mm/dd hh:mm:ss" with the years since 1900 (so 2001 gives 101), in
  // universal time or, with `local`, local time. The text is kept until the
  // next call.
  static const CString& timeText(std::time_t t, bool local);
  static const CString& currentTime();
};
