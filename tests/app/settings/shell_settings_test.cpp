// The CONNECT, INIT and CACHE settings as start-up reads them: defaults
// for a missing file, the local data directory's separator, the logbook
// switch, the clear-cache mode, numbers that are not numbers.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings/shell_settings.h"
#include "app/shell_state.h"
#include "core/languages.h"
#include "core/logbook.h"
#include "core/sort_order.h"
#include "framework/viewer_app.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace app_test {
namespace {

class ShellSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    // A missing Effects key keeps the setting the program holds, which a
    // shell started earlier in this process may have turned off.
    SetEffectsSetting(1);
  }
  void TearDown() override {
    std::filesystem::current_path(old_);
    Logbook::SetLogging(true);
    SetSortOrder(kDefaultSortOrder);
    SetServerAddress(kDefaultServerAddress);
    Languages::instance()->setOrder("engefrstitspkrjp");
    SetEffectsSetting(1);
  }
  ShellSettings Read(const std::string& ini) {
    dir_.write("Tolm.ini", ini);
    ViewerApp app("Tolm");
    app.SetIniPath("Tolm");
    return ReadShellSettings(app);
  }

  testing_support::TempDir dir_;
  std::filesystem::path old_;
};

TEST_F(ShellSettingsTest, AMissingFileGivesEveryDefault) {
  const ShellSettings s = Read("");
  EXPECT_EQ(s.server, kDefaultServerAddress);
  EXPECT_EQ(s.login, "");
  EXPECT_EQ(s.autologin, 0);
  EXPECT_EQ(s.localDataPath, "");
  EXPECT_EQ(s.sortOrder, "#CT");
  EXPECT_EQ(s.effects, 1);
  EXPECT_TRUE(s.logbook);
  EXPECT_EQ(s.limitSize, 10000000);
  EXPECT_EQ(s.limitFiles, 50);
  EXPECT_EQ(s.limitImageSize, 2000000);
  EXPECT_EQ(s.limitImages, 50);
  EXPECT_EQ(s.clearCache, '?');
  EXPECT_EQ(s.tempCacheTable.Right(8), "tolm.csh");
}

TEST_F(ShellSettingsTest, LocalDataPathGetsASeparatorOnlyWhereItLacksOne) {
  struct Case {
    const char* value;
    const char* expected;
  } cases[] = {
      {"", ""},           {"D:", "D:"},           {"C:\\data\\", "C:\\data\\"},
      {"/srv/kx/", "/srv/kx/"}, {"C:\\data", "C:\\data\\"}, {"local", "local\\"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Read(std::string("[CONNECT]\nLocalDataPath=") + c.value + "\n").localDataPath,
              c.expected)
        << c.value;
}

TEST_F(ShellSettingsTest, SwitchesAndModesReadAsTheClientReadsThem) {
  struct Case {
    const char* ini;
    bool logbook;
    char clearCache;
  } cases[] = {
      {"[INIT]\nLogbook=yes\n[CACHE]\nClearCache=y\n", true, 'y'},
      {"[INIT]\nLogbook=No\n[CACHE]\nClearCache=\n", false, '?'},
      {"[INIT]\nLogbook=\n[CACHE]\nClearCache=Never\n", false, 'N'},
  };
  for (const Case& c : cases) {
    const ShellSettings s = Read(c.ini);
    EXPECT_EQ(s.logbook, c.logbook) << c.ini;
    EXPECT_EQ(s.clearCache, c.clearCache) << c.ini;
  }
  EXPECT_EQ(Read("[CACHE]\nLimitSize=lots\n").limitSize, 0);
}

TEST_F(ShellSettingsTest, ApplyingPutsTheValuesIntoEffect) {
  ShellSettings s = Read(
      "[CONNECT]\nServer=korvex://elsewhere:1600/root\n[INIT]\nSortOrder=T\nLanguageOrder=ge, "
      "fr\nEffects=0\nLogbook=N\n[CACHE]\nClearCache=Y\n");
  ApplyShellSettings(s);
  EXPECT_EQ(ServerAddress(), "korvex://elsewhere:1600/root");
  EXPECT_EQ(GetSortOrder(), "T");
  EXPECT_EQ(Languages::instance()->orderString(), "gefr");
  EXPECT_EQ(EffectsSetting(), 0);
  EXPECT_FALSE(Logbook::Logging());
  EXPECT_EQ(ClearCacheMode(), 'Y');
  SetEffectsSetting(1);
  SetClearCacheMode('?');
}

}  // namespace
}  // namespace app_test
