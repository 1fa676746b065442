// Clocks: the millisecond tick count, sleeping, and the calendar time.
#include <ctime>
#include <thread>
#include <chrono>

#include "win/kernel.h"

DWORD GetTickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  std::uint64_t ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                     static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<DWORD>(ms);  // wraps after 49.7 days, as callers expect
}

void Sleep(DWORD ms) {
  if (ms == INFINITE) {
    for (;;) std::this_thread::sleep_for(std::chrono::hours(24));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {
void Fill(SYSTEMTIME* out, bool local) {
  if (!out) return;
  timespec ts{};
  clock_gettime(CLOCK_REALTIME, &ts);
  std::tm tm{};
  time_t secs = ts.tv_sec;
  if (local)
    localtime_r(&secs, &tm);
  else
    gmtime_r(&secs, &tm);
  out->wYear = static_cast<WORD>(tm.tm_year + 1900);
  out->wMonth = static_cast<WORD>(tm.tm_mon + 1);
  out->wDayOfWeek = static_cast<WORD>(tm.tm_wday);
  out->wDay = static_cast<WORD>(tm.tm_mday);
  out->wHour = static_cast<WORD>(tm.tm_hour);
  out->wMinute = static_cast<WORD>(tm.tm_min);
  out->wSecond = static_cast<WORD>(tm.tm_sec);
  out->wMilliseconds = static_cast<WORD>(ts.tv_nsec / 1000000);
}
}  // namespace

void GetLocalTime(SYSTEMTIME* out) { Fill(out, true); }
void GetSystemTime(SYSTEMTIME* out) { Fill(out, false); }
