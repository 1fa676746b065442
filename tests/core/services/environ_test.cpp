#include "core/environ.h"

#include <gtest/gtest.h>

#include <ctime>
#include <regex>
#include <string>

#include "scoped_env.h"
#include "win/winsock.h"

namespace {

TEST(EnvironGetBool, Cases) {
  struct Case {
    const char* value;  // null: not set
    bool result;
    bool out;
  };
  const Case cases[] = {
      {nullptr, false, false}, {"true", true, true}, {"1", true, true},   {"TRUE", true, false},
      {"0", true, false},      {"", true, false},    {"yes", true, false}, {"1 ", true, false},
  };
  for (const Case& c : cases) {
    ScopedEnv env("ZEMRA_TEST_SWITCH", c.value);
    bool out = false;
    EXPECT_EQ(Environ::getBool("ZEMRA_TEST_SWITCH", out), c.result) << (c.value ? c.value : "unset");
    EXPECT_EQ(out, c.out) << (c.value ? c.value : "unset");
  }
}

TEST(EnvironGetpw, GivesEmptyRecord) {
  CString name("x"), password("y");
  EXPECT_TRUE(Environ::getpw(name, password));
  EXPECT_TRUE(name.IsEmpty());
  EXPECT_TRUE(password.IsEmpty());
}

TEST(EnvironHost, NameAndLocalAddress) {
  EXPECT_FALSE(Environ::hostName().IsEmpty());
  const CString& address = Environ::localHostAddress();
  // Either a dotted address or nothing; never the text of an error.
  if (!address.IsEmpty())
    EXPECT_TRUE(std::regex_match(address.str(), std::regex(R"(\d+\.\d+\.\d+\.\d+)"))) << address.str();
}

TEST(EnvironHostAddress, DigitsAreTakenAsAnAddress) {
  CString out;
  EXPECT_TRUE(Environ::hostAddress("10.1.2.3", out));
  EXPECT_EQ(out, "10.1.2.3");
}

TEST(EnvironHostAddress, ResolvesLocalhost) {
  CString out;
  ASSERT_TRUE(Environ::hostAddress("localhost", out)) << Environ::lastError().str();
  EXPECT_EQ(out.Left(4), "127.");
}

// Names are resolved through the platform's WinSock, which the lookup
// starts and cleans up itself: WinSock is left as the lookup found it,
// started or not, so the network layer's sockets live on and nothing stays
// started behind a program that never used the network.
TEST(EnvironHostAddress, ResolvingLeavesWinSockAsItFoundIt) {
  CString out;
  ASSERT_TRUE(Environ::hostAddress("localhost", out)) << Environ::lastError().str();
  EXPECT_EQ(winsock::gethostbyname("localhost"), nullptr);
  EXPECT_EQ(winsock::WSAGetLastError(), winsock::WSANOTINITIALISED);

  winsock::WSADATA data;
  ASSERT_EQ(winsock::WSAStartup(MAKEWORD(1, 1), &data), 0);
  const winsock::SOCKET s = winsock::socket(winsock::AF_INET, winsock::SOCK_STREAM, 0);
  ASSERT_NE(s, winsock::INVALID_SOCKET);
  ASSERT_TRUE(Environ::hostAddress("localhost", out)) << Environ::lastError().str();
  EXPECT_NE(winsock::gethostbyname("localhost"), nullptr);
  EXPECT_EQ(winsock::closesocket(s), 0);  // still open, still ours
  EXPECT_EQ(winsock::WSACleanup(), 0);
}

TEST(EnvironHostAddress, FailureLeavesOutputEmptyAndKeepsTheReasonApart) {
  CString out("stale");
  EXPECT_FALSE(Environ::hostAddress("zemra-no-such-host.invalid", out));
  EXPECT_TRUE(out.IsEmpty());
  EXPECT_EQ(Environ::lastError().Left(14), "gethostbyname:");
  EXPECT_FALSE(Environ::hostAddress(nullptr, out));
  EXPECT_TRUE(out.IsEmpty());
}

TEST(EnvironHostAddress, CachedAddressIsRetriedAfterFailure) {
  CString cache;
  EXPECT_TRUE(Environ::cachedHostAddress("zemra-no-such-host.invalid", cache).IsEmpty());
  EXPECT_TRUE(cache.IsEmpty());
  EXPECT_EQ(Environ::cachedHostAddress("10.0.0.9", cache), "10.0.0.9");
  // Once known it is kept.
  EXPECT_EQ(Environ::cachedHostAddress("10.0.0.10", cache), "10.0.0.9");
}

TEST(EnvironTime, GetTimeOfDay) {
  EXPECT_EQ(Environ::getTimeOfDay(nullptr, nullptr), -1);
  TimeVal tv{};
  TimeZone tz{7, 7};
  {
    ScopedEnv noTz("TZ", nullptr);
    std::time_t before = std::time(nullptr);
    EXPECT_EQ(Environ::getTimeOfDay(&tv, &tz), 0);
    EXPECT_GE(tv.tv_sec, static_cast<LONG>(before));
    EXPECT_LE(tv.tv_sec, static_cast<LONG>(std::time(nullptr)));
    EXPECT_EQ(tv.tv_usec % 1000, 0);
    EXPECT_LT(tv.tv_usec, 1000000);
    EXPECT_EQ(tz.tz_minuteswest, 0);
    EXPECT_EQ(tz.tz_dsttime, 0);
  }
  {
    ScopedEnv est("TZ", "EST5EDT");
    EXPECT_EQ(Environ::getTimeOfDay(&tv, &tz), 0);
    EXPECT_EQ(tz.tz_minuteswest, 300);
    EXPECT_EQ(tz.tz_dsttime, 1);
    EXPECT_EQ(Environ::getTimeOfDay(&tv, nullptr), 0);
  }
  tzset();
}

TEST(EnvironTime, TimeTextCountsYearsSince1900) {
  EXPECT_EQ(Environ::timeText(820454400, false), "96/01/01 00:00:00");
  EXPECT_EQ(Environ::timeText(1000000000, false), "101/09/09 01:46:40");
  {
    ScopedEnv utcPlus("TZ", "XYZ-2");
    tzset();
    EXPECT_EQ(Environ::timeText(1000000000, true), "101/09/09 03:46:40");
  }
  tzset();
  EXPECT_TRUE(std::regex_match(Environ::currentTime().str(),
                               std::regex(R"(\d{3}/\d\d/\d\d \d\d:\d\d:\d\d)")));
}

}  // namespace
