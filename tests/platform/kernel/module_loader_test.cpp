// LoadLibrary, GetProcAddress and FreeLibrary over two small libraries of
// the build: libZemraFixture.so (with an export table) and ZemraPlain.so
// (without one, depending on the first).
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "kernel_test_util.h"
#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/module.h"
#include "win/path_map.h"
#include "win/user.h"

namespace {

std::string ModuleDir() { return std::string(ZEMRA_BINARY_DIR) + "/test-modules"; }

// The Windows form of a host path, as the client would name it.
std::string Windows(const std::string& host) { return win::WindowsPath(host); }

using AddFn = int (*)(int, int);
using IntFn = int (*)(int);
using ValueFn = int (*)();

class ModuleLoaderTest : public ::testing::Test {
 protected:
  void TearDown() override { win::SetModuleSearchDirectories({}); }
};

TEST_F(ModuleLoaderTest, BindsByOrdinalAndNameThroughTheTable) {
  // Another case, another extension, the Windows form: lib<base>.so is found.
  HMODULE lib = LoadLibrary((Windows(ModuleDir()) + "\\ZEMRAFIXTURE.DLL").c_str());
  ASSERT_NE(lib, nullptr) << GetLastError();
  auto add = reinterpret_cast<AddFn>(GetProcAddress(lib, MAKEINTRESOURCE(2)));
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add(2, 3), 5);
  EXPECT_EQ(reinterpret_cast<AddFn>(GetProcAddress(lib, "FixtureAdd")), add);
  // A function that is no C symbol at all, by either key.
  auto twice = reinterpret_cast<IntFn>(GetProcAddress(lib, MAKEINTRESOURCE(7)));
  ASSERT_NE(twice, nullptr);
  EXPECT_EQ(twice(21), 42);
  EXPECT_EQ(reinterpret_cast<IntFn>(GetProcAddress(lib, "Twice")), twice);
  // Not in the table: not found, whatever the library holds.
  struct Missing {
    const char* what;
    LPCSTR name;
  } missing[] = {{"ordinal 3", MAKEINTRESOURCE(3)},
                 {"ordinal 0", MAKEINTRESOURCE(0)},
                 {"a C symbol outside the table", "NotExported"},
                 {"another case", "fixtureadd"},
                 {"no name", nullptr}};
  for (const Missing& m : missing) {
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(lib, m.name), nullptr) << m.what;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND)) << m.what;
  }
  char name[MAX_PATH];
  DWORD n = GetModuleFileName(lib, name, sizeof name);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(std::string(name), Windows(ModuleDir() + "/libZemraFixture.so"));
  EXPECT_EQ(win::ModuleHandleFromAddress(reinterpret_cast<const void*>(add)), lib);
  EXPECT_EQ(FreeLibrary(lib), TRUE);
}

TEST_F(ModuleLoaderTest, ReferencesAreCounted) {
  std::string path = ModuleDir() + "/libZemraFixture.so";
  HMODULE a = LoadLibrary(path.c_str());
  HMODULE b = LoadLibrary((ModuleDir() + "/ZemraFixture.dll").c_str());
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(win::LoadedModuleReferences(a), 2);
  EXPECT_EQ(FreeLibrary(a), TRUE);
  EXPECT_NE(GetProcAddress(a, MAKEINTRESOURCE(2)), nullptr);
  EXPECT_EQ(FreeLibrary(a), TRUE);
  EXPECT_EQ(win::LoadedModuleReferences(a), 0);
  // The handle is gone: every call says so instead of following it.
  EXPECT_EQ(FreeLibrary(a), FALSE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GetProcAddress(a, MAKEINTRESOURCE(2)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  char name[MAX_PATH];
  EXPECT_EQ(GetModuleFileName(a, name, sizeof name), 0u);
  EXPECT_EQ(FreeLibrary(reinterpret_cast<HMODULE>(0x1234)), FALSE);
}

TEST_F(ModuleLoaderTest, LibraryWithoutTableAnswersOnlyItsOwnSymbols) {
  HMODULE plain = LoadLibrary((ModuleDir() + "/zemraplain").c_str());  // no extension: ".so" is tried
  ASSERT_NE(plain, nullptr) << GetLastError();
  auto value = reinterpret_cast<ValueFn>(GetProcAddress(plain, "PlainValue"));
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value(), 42);
  // What its dependencies define is theirs, table and symbols alike.
  EXPECT_EQ(GetProcAddress(plain, "FixtureAdd"), nullptr);
  EXPECT_EQ(GetProcAddress(plain, "zemra_res_print_dialogs"), nullptr);
  EXPECT_EQ(GetProcAddress(plain, MAKEINTRESOURCE(2)), nullptr);
  EXPECT_EQ(FreeLibrary(plain), TRUE);
}

TEST_F(ModuleLoaderTest, SearchOrderForBareNames) {
  kernel_test::CwdGuard cwd;
  testing_support::TempDir elsewhere;
  ASSERT_TRUE(SetCurrentDirectory(elsewhere.path().c_str()));
  SetLastError(0);
  EXPECT_EQ(LoadLibrary("ZemraPlain.DLL"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  // In the current directory.
  ASSERT_TRUE(SetCurrentDirectory(ModuleDir().c_str()));
  HMODULE fromCwd = LoadLibrary("ZEMRAPLAIN.DLL");
  ASSERT_NE(fromCwd, nullptr);
  FreeLibrary(fromCwd);
  // In a directory the caller names.
  ASSERT_TRUE(SetCurrentDirectory(elsewhere.path().c_str()));
  win::SetModuleSearchDirectories({"C:\\nowhere", Windows(ModuleDir())});
  HMODULE fromList = LoadLibrary("ZemraPlain.DLL");
  ASSERT_NE(fromList, nullptr);
  FreeLibrary(fromList);
  // A name with a directory is looked for there only.
  EXPECT_EQ(LoadLibrary((elsewhere.path().string() + "/ZemraPlain.DLL").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_F(ModuleLoaderTest, FilesThatAreNoLibraries) {
  testing_support::TempDir dir;
  dir.write("Broken.DLL", "MZ this is not a shared library");
  SetLastError(0);
  EXPECT_EQ(LoadLibrary(dir.file("broken.dll").c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
  EXPECT_EQ(LoadLibrary(dir.path().string().c_str()), nullptr);  // a directory
  EXPECT_EQ(LoadLibrary(nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(LoadLibrary(""), nullptr);
}

// A library loaded with the program gets a handle too, as does the program.
TEST_F(ModuleLoaderTest, HandlesFromAddresses) {
  HMODULE platform = win::ModuleHandleFromAddress(reinterpret_cast<const void*>(&GlobalAlloc));
  ASSERT_NE(platform, nullptr);
  char name[MAX_PATH];
  ASSERT_GT(GetModuleFileName(platform, name, sizeof name), 0u);
  EXPECT_NE(std::string(name).find("libzemrawin.so"), std::string::npos) << name;
  EXPECT_EQ(win::ModuleHandleFromAddress(reinterpret_cast<const void*>(&GlobalAlloc)), platform);
  // Loading it by name adds a reference to the same handle; freeing it
  // leaves it loaded.
  HMODULE again = LoadLibrary(name);
  EXPECT_EQ(again, platform);
  EXPECT_EQ(FreeLibrary(again), TRUE);
  EXPECT_NE(GetProcAddress(platform, "zemra_res_print_dialogs"), nullptr);  // a C symbol of it
  EXPECT_EQ(GetProcAddress(platform, "zemra_res_strings"), nullptr);  // the program's, not its
  EXPECT_EQ(win::ModuleHandleFromAddress(reinterpret_cast<const void*>(&ModuleDir)), GetModuleHandle(nullptr));
  EXPECT_EQ(win::ModuleHandleFromAddress(nullptr), nullptr);
}

TEST_F(ModuleLoaderTest, ModuleHandlesByName) {
  const std::string program = std::filesystem::read_symlink("/proc/self/exe").filename().string();
  std::string upper = program;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  HMODULE self = GetModuleHandle(nullptr);
  for (const std::string& name : {program, upper + ".EXE", "C:\\bin\\" + program})
    EXPECT_EQ(GetModuleHandle(name.c_str()), self) << name;

  // A library while it is loaded, by any of the names that load it.
  EXPECT_EQ(GetModuleHandle("ZemraFixture"), nullptr);
  HMODULE lib = LoadLibrary((ModuleDir() + "/libZemraFixture.so").c_str());
  ASSERT_NE(lib, nullptr);
  for (const char* name : {"ZemraFixture", "ZEMRAFIXTURE.DLL", "libZemraFixture.so"})
    EXPECT_EQ(GetModuleHandle(name), lib) << name;

  // A module that registered resources; a library's handle finds the
  // resources registered under its name.
  static const char kScript[] = "7 DIALOG 0, 0, 40, 20\nBEGIN\nEND\n";
  HINSTANCE plug = win::RegisterResourceScript("Plug", kScript, sizeof kScript - 1);
  ASSERT_NE(plug, nullptr);
  EXPECT_EQ(GetModuleHandle("PLUG.DLL"), plug);
  EXPECT_NE(plug, lib);
  EXPECT_EQ(FindResource(lib, MAKEINTRESOURCE(7), RT_DIALOG), nullptr);
  ASSERT_NE(win::RegisterResourceScript("ZemraFixture", kScript, sizeof kScript - 1), nullptr);
  EXPECT_EQ(GetModuleHandle("ZemraFixture"), lib);  // the library first
  EXPECT_NE(FindResource(lib, MAKEINTRESOURCE(7), RT_DIALOG), nullptr);
  EXPECT_EQ(FreeLibrary(lib), TRUE);
  EXPECT_NE(GetModuleHandle("ZemraFixture"), lib);  // only its resources are left
  win::ResetResources();

  // Unknown names and the empty name.
  for (const char* name : {"Nowhere.dll", "", "Plug"}) {
    SetLastError(0);
    EXPECT_EQ(GetModuleHandle(name), nullptr) << name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << name;
  }
}

}  // namespace
