#include <gtest/gtest.h>

#include <chrono>

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "kernel_test_util.h"
#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/path_map.h"

namespace {

namespace fs = std::filesystem;

TEST(TempPath, FromTheEnvironmentInWindowsForm) {
  testing_support::TempDir tmp;
  std::string winDir = win::WindowsPath(tmp.path().string()) + "\\";
  struct Case {
    const char* tmpdir;
    const char* tmpVar;
    const char* temp;
    std::string expected;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, "C:\\tmp\\"},
      {tmp.path().c_str(), "/x", "/y", winDir},
      {"", nullptr, tmp.path().c_str(), winDir},
      {nullptr, "C:\\tmp", nullptr, "C:\\tmp\\"},
      {"/", nullptr, nullptr, "C:\\"},
  };
  for (const auto& c : cases) {
    kernel_test::EnvGuard a("TMPDIR", c.tmpdir), b("TMP", c.tmpVar), d("TEMP", c.temp);
    char buf[MAX_PATH];
    DWORD n = GetTempPath(sizeof buf, buf);
    EXPECT_EQ(std::string(buf), c.expected);
    EXPECT_EQ(n, c.expected.size());
  }
}

TEST(TempPath, TooSmallBufferGetsTheSizeNeeded) {
  kernel_test::EnvGuard a("TMPDIR", "/tmp");
  char buf[6] = "stale";
  EXPECT_EQ(GetTempPath(sizeof buf, buf), 8u);  // "C:\tmp\" and its NUL
  EXPECT_STREQ(buf, "");
  EXPECT_EQ(GetTempPath(0, nullptr), 8u);
}

TEST(TempFileName, ComposesOrCreates) {
  testing_support::TempDir tmp;
  std::string winDir = win::WindowsPath(tmp.path().string());
  char out[MAX_PATH];
  EXPECT_EQ(GetTempFileName(winDir.c_str(), "kxdoc", 0x1A2B, out), 0x1A2Bu);
  EXPECT_EQ(std::string(out), winDir + "\\kxd1A2B.TMP");
  EXPECT_FALSE(fs::exists(tmp.file("kxd1A2B.TMP")));  // a given number creates nothing

  UINT a = GetTempFileName(tmp.path().c_str(), "Gen", 0, out);
  ASSERT_NE(a, 0u);
  std::string first = out;
  UINT b = GetTempFileName(tmp.path().c_str(), "Gen", 0, out);
  ASSERT_NE(b, 0u);
  EXPECT_NE(a, b);
  EXPECT_NE(first, std::string(out));
  EXPECT_TRUE(fs::exists(win::HostPath(first)));
  EXPECT_TRUE(fs::exists(win::HostPath(out)));

  EXPECT_EQ(GetTempFileName(tmp.file("missing").c_str(), "x", 0, out), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
  std::string longDir = tmp.path().string() + "/" + std::string(250, 'd');
  ASSERT_TRUE(fs::create_directory(longDir));
  EXPECT_EQ(GetTempFileName(longDir.c_str(), "x", 0, out), 0u);  // would pass MAX_PATH
}

TEST(CurrentDirectory, BothFormsInWindowsFormOut) {
  kernel_test::CwdGuard cwd;
  testing_support::TempDir tmp;
  tmp.write("Sub/Dir/x", "");
  std::string winDir = win::WindowsPath(tmp.path().string());
  ASSERT_TRUE(SetCurrentDirectory((winDir + "\\SUB").c_str()));
  char buf[MAX_PATH];
  EXPECT_EQ(GetCurrentDirectory(sizeof buf, buf), winDir.size() + 4);
  EXPECT_EQ(std::string(buf), winDir + "\\Sub");
  ASSERT_TRUE(SetCurrentDirectory("dir"));  // relative, any case
  GetCurrentDirectory(sizeof buf, buf);
  EXPECT_EQ(std::string(buf), winDir + "\\Sub\\Dir");
  ASSERT_TRUE(SetCurrentDirectory(tmp.path().c_str()));  // a host path
  GetCurrentDirectory(sizeof buf, buf);
  EXPECT_EQ(std::string(buf), winDir);
  EXPECT_FALSE(SetCurrentDirectory("no-such-dir"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  char small[4];
  EXPECT_EQ(GetCurrentDirectory(sizeof small, small), winDir.size() + 1);
}

TEST(Module, ProgramFileNameAndHandle) {
  char buf[MAX_PATH];
  DWORD n = GetModuleFileName(nullptr, buf, sizeof buf);
  ASSERT_GT(n, 0u);
  std::string name(buf);
  EXPECT_EQ(name, win::WindowsPath(fs::read_symlink("/proc/self/exe").string()));
  EXPECT_NE(GetModuleHandle(nullptr), nullptr);
  EXPECT_EQ(GetModuleFileName(GetModuleHandle(nullptr), buf, sizeof buf), n);
  char small[5];
  EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), 5u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::string(small), name.substr(0, 4));  // cut to size - 1 and a NUL
}

TEST(SearchPathTest, CurrentDirectoryThenPath) {
  kernel_test::CwdGuard cwd;
  testing_support::TempDir here, onPath;
  here.write("Local.TXT", "");
  onPath.write("tool.exe", "");
  kernel_test::EnvGuard path("PATH", (std::string("/nonexistent:") + onPath.path().string()).c_str());
  ASSERT_TRUE(SetCurrentDirectory(here.path().c_str()));
  char buf[MAX_PATH];
  LPSTR part = nullptr;
  DWORD n = SearchPath(nullptr, "local.txt", nullptr, sizeof buf, buf, &part);
  EXPECT_EQ(std::string(buf), win::WindowsPath(here.file("Local.TXT")));
  EXPECT_EQ(n, std::strlen(buf));
  EXPECT_STREQ(part, "Local.TXT");
  EXPECT_GT(SearchPath(nullptr, "TOOL", ".exe", sizeof buf, buf, nullptr), 0u);
  EXPECT_EQ(std::string(buf), win::WindowsPath(onPath.file("tool.exe")));
  std::string dirs = "C:\\nowhere;" + win::WindowsPath(onPath.path().string());
  EXPECT_GT(SearchPath(dirs.c_str(), "Tool.exe", nullptr, sizeof buf, buf, nullptr), 0u);
  EXPECT_EQ(SearchPath(nullptr, "absent.txt", nullptr, sizeof buf, buf, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(Environment, VariablesAndComputerName) {
  EXPECT_TRUE(SetEnvironmentVariable("ZEMRA_KERNEL_TEST", "value"));
  char buf[16];
  EXPECT_EQ(GetEnvironmentVariable("ZEMRA_KERNEL_TEST", buf, sizeof buf), 5u);
  EXPECT_STREQ(buf, "value");
  EXPECT_EQ(GetEnvironmentVariable("ZEMRA_KERNEL_TEST", buf, 3), 6u);  // size needed
  EXPECT_TRUE(SetEnvironmentVariable("ZEMRA_KERNEL_TEST", nullptr));
  EXPECT_EQ(GetEnvironmentVariable("ZEMRA_KERNEL_TEST", buf, sizeof buf), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
  EXPECT_FALSE(SetEnvironmentVariable("A=B", "x"));

  char name[256];
  DWORD size = sizeof name;
  ASSERT_TRUE(GetComputerName(name, &size));
  EXPECT_EQ(size, std::strlen(name));
  std::string upper = name;
  _strupr(upper.data());
  EXPECT_EQ(upper, name);
  DWORD tiny = 1;
  EXPECT_FALSE(GetComputerName(name, &tiny));
  EXPECT_EQ(tiny, size + 1);
}

TEST(Time, TicksAdvanceAndCalendarIsSane) {
  // Ticks are milliseconds of the monotonic clock: measured against it, not
  // against a bound a loaded machine may pass.
  const auto before = std::chrono::steady_clock::now();
  DWORD t0 = GetTickCount();
  Sleep(20);
  DWORD elapsed = GetTickCount() - t0;  // unsigned difference survives a wrap
  const auto outside = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - before);
  EXPECT_GE(elapsed, 20u);
  EXPECT_LE(elapsed, static_cast<DWORD>(outside.count()) + 1);
  SYSTEMTIME utc{}, local{};
  GetSystemTime(&utc);
  GetLocalTime(&local);
  EXPECT_GE(utc.wYear, 2024);
  EXPECT_GE(utc.wMonth, 1);
  EXPECT_LE(utc.wMonth, 12);
  EXPECT_LE(utc.wDayOfWeek, 6);
  EXPECT_LE(utc.wMilliseconds, 999);
  EXPECT_GE(local.wDay, 1);
}

}  // namespace
