#include <gtest/gtest.h>

#include <string>

#include "win/kernel.h"

namespace {

std::string Translated(const char* fmt) {
  char out[256];
  win_translate_format(fmt, out, sizeof out);
  return out;
}

TEST(WinFormat, TranslationDropsOnly32BitLongSizes) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"%ld %li %lu %lx %lX %lo", "%d %i %u %x %X %o"},
      {"%-08lx|%+5ld|%*ld|%.3lu|%#lo", "%-08x|%+5d|%*d|%.3u|%#o"},
      {"%2$ld %1$lx", "%2$d %1$x"},
      {"%lf %lc %ls %lld %llu %Lf %hd %hhx %zu", "%lf %lc %ls %lld %llu %Lf %hd %hhx %zu"},
      {"100%% %ld%%", "100%% %d%%"},
      {"%%ld", "%%ld"},  // "%%" is no conversion, so the "ld" is text
      {"%I64d %I32u %Iu", "%lld %u %zu"},
      {"%*ld %l[abc] %[^l]", "%*d %l[abc] %[^l]"},  // scanf forms
      {"%[]ld]%ld", "%[]ld]%d"},                    // "]" first belongs to the set
      {"plain text", "plain text"},
      {"trailing %", "trailing %"},
      {"%l", "%l"},
  };
  for (const auto& c : cases) EXPECT_EQ(Translated(c.in), c.out) << c.in;
}

TEST(WinFormat, TranslationIsCutToTheBuffer) {
  char out[6];
  win_translate_format("%ld and more", out, sizeof out);
  EXPECT_STREQ(out, "%d an");
}

TEST(WinFormat, PrintfTakes32BitLongs) {
  LONG minusOne = -1;
  DWORD big = 0xFFFFFFFFu;
  char buf[128];
  win_snprintf(buf, sizeof buf, "%lx", minusOne);
  EXPECT_STREQ(buf, "ffffffff");
  win_snprintf(buf, sizeof buf, "%ld|%lu|%lo", minusOne, big, static_cast<DWORD>(8));
  EXPECT_STREQ(buf, "-1|4294967295|10");
  // Conversions of other sizes keep their meaning next to the 32-bit ones.
  win_snprintf(buf, sizeof buf, "%08lX|%5.1f|%s|%c|%lld", static_cast<DWORD>(0xABCD), 2.25, "s",
               'c', 1LL << 40);
  EXPECT_STREQ(buf, "0000ABCD|  2.2|s|c|1099511627776");
  win_snprintf(buf, sizeof buf, "%*ld|%-4ld|", 6, static_cast<LONG>(INT32_MIN + 1), static_cast<LONG>(7));
  EXPECT_STREQ(buf, "-2147483647|7   |");
}

TEST(WinFormat, SnprintfMeasuresAndCuts) {
  EXPECT_EQ(win_snprintf(nullptr, 0, ""), 0);
  char small[5];
  int n = win_snprintf(small, sizeof small, "%lu-%lu", static_cast<DWORD>(123), static_cast<DWORD>(456));
  EXPECT_EQ(n, 7);  // the length it wanted
  EXPECT_STREQ(small, "123-");
  EXPECT_EQ(win_snprintf(nullptr, 0, "%ld", static_cast<LONG>(-12345)), 6);
}

TEST(WinFormat, SprintfAndWsprintf) {
  char buf[2048];
  EXPECT_EQ(win_sprintf(buf, "%ld/%lx", static_cast<LONG>(-2), static_cast<LONG>(-2)), 11);
  EXPECT_STREQ(buf, "-2/fffffffe");
  EXPECT_EQ(wsprintf(buf, "%s=%lu", "k", static_cast<DWORD>(7)), 3);
  EXPECT_STREQ(buf, "k=7");
  std::string longText(3000, 'x');
  EXPECT_EQ(wsprintf(buf, "%s", longText.c_str()), 1023);  // 1024 bytes with the NUL
  EXPECT_EQ(std::string(buf), longText.substr(0, 1023));
}

TEST(WinFormat, ScanfStores32BitLongs) {
  // Guard words around the targets catch a 64-bit store.
  struct {
    LONG value;
    LONG guard;
  } l{0, 0x5A5A5A5A};
  EXPECT_EQ(win_sscanf("4294967295", "%ld", &l.value), 1);
  EXPECT_EQ(l.value, -1);
  EXPECT_EQ(l.guard, 0x5A5A5A5A);

  struct {
    DWORD value;
    DWORD guard;
  } d{0, 0xA5A5A5A5u};
  EXPECT_EQ(win_sscanf("0xFFFFFFFF", "%lx", &d.value), 1);
  EXPECT_EQ(d.value, 0xFFFFFFFFu);
  EXPECT_EQ(d.guard, 0xA5A5A5A5u);

  LONG a = 0, b = 0;
  DWORD c = 0;
  double f = 0;
  char word[8] = {};
  EXPECT_EQ(win_sscanf("-5 17 12 777 2.5 abc", "%li %*ld %lu %lo %lf %7s", &a, &c, &b, &f, word), 5);
  EXPECT_EQ(a, -5);
  EXPECT_EQ(c, 12u);
  EXPECT_EQ(b, 0777);
  EXPECT_DOUBLE_EQ(f, 2.5);  // %lf stays a double
  EXPECT_STREQ(word, "abc");
  EXPECT_EQ(win_sscanf("", "%ld", &a), EOF);
  EXPECT_EQ(win_sscanf(nullptr, "%ld", &a), EOF);
}

}  // namespace
