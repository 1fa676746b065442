#include "store/dictionary/dictionary_context.h"

#include <gtest/gtest.h>

#include <string>

#include "core/paths.h"
#include "support/temp_dir.h"
#include "win/kernel.h"
#include "win/path_map.h"
#include "win/user.h"

namespace {

class DictionaryFiles : public ::testing::Test {
 protected:
  void SetUp() override { win::ClearMessageBoxLog(); }
  void TearDown() override { win::ClearMessageBoxLog(); }
  std::string config(const std::string& name, const std::string& text) { return dir_.write(name, text); }
  std::string upperPath(const std::string& name) {
    std::string s = win::FullWindowsPath(dir_.file(name).c_str());
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
  }
  testing_support::TempDir dir_;
  DictionaryContext context_;
};

TEST_F(DictionaryFiles, EveryCommandLetterIsKept) {
  dir_.write("grimm.sdo", "");
  dir_.write("grimm.bof", "");
  std::string path = config("grimm.cfg",
                            "; a note\n"
                            "! another\n"
                            "A  Tales of Velmor\n"
                            "CSecond title\n"
                            "b" + std::string(100, 'x') + "\n"
                            "K GrimmDictionary\n"
                            "D grimm.sdo 1000 -50\n"
                            "D grimm.sdt 5000 200 8 2 3 77\n"
                            "I grimm.bof 1 2 3 4 5\n"
                            "I other.ki\n"
                            "F 3 4 5 6 7 8 9\n"
                            "H Entries\n"
                            "L 1\n"
                            "N skipped\n"
                            "r vol_one_and_more\n"
                            "S 12345\n"
                            "T 99999999999\n"
                            "V -70000\n"
                            "X\n"
                            "Y long text\n"
                            "Z1\n"
                            "E\n"
                            "A after the end\n");
  ASSERT_EQ(context_.openDictionary(path, 33, false, false), 1);
  const DictionaryRecord* r = context_.dictionary(33);
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->configPath, upperPath("grimm.cfg"));
  EXPECT_EQ(r->titles[0], "Tales of Velmor");
  EXPECT_EQ(r->titles[1], "Second title");
  EXPECT_EQ(r->titles[2], std::string(80, 'x'));
  EXPECT_EQ(r->code, "grimmdic");
  ASSERT_EQ(r->dataFiles.size(), 2u);
  EXPECT_EQ(r->dataFiles[0].path, upperPath("grimm.sdo"));
  EXPECT_EQ(r->dataFiles[0].second, 1000 + 50 + 10);
  EXPECT_EQ(r->dataFiles[0].width, 16);  // three fields: the defaults
  EXPECT_EQ(r->dataFiles[0].step, 1);
  EXPECT_EQ(r->dataFiles[1].width, 8);
  EXPECT_EQ(r->dataFiles[1].number, 77);
  EXPECT_TRUE(r->dataFiles[1].holds(5199));
  EXPECT_FALSE(r->dataFiles[1].holds(5200));
  EXPECT_EQ(r->dataFileAt(5100), &r->dataFiles[1]);
  ASSERT_EQ(r->indexFiles.size(), 2u);
  EXPECT_EQ(r->indexFiles[0].e, 5);
  EXPECT_EQ(r->publisher, "ZE-Vurudezuri");
  EXPECT_EQ(r->numbers[5], 8);
  EXPECT_EQ(r->headingText(), "Entries @ GRIMMDIC");
  EXPECT_TRUE(r->listed);
  EXPECT_TRUE(r->marked);
  EXPECT_EQ(r->volumeLabel, "VOL_ONE_AND_M");
  EXPECT_EQ(r->smallNumber, 123);
  EXPECT_EQ(r->number, 2147483647);  // kept within its width
  EXPECT_EQ(r->version, -32768);
  EXPECT_EQ(r->description, "long text");
  EXPECT_EQ(r->title(), "Tales of Velmor");
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(DictionaryFiles, AConfigurationWithoutAnEndIsReadToItsEnd) {
  std::string path = config("open.cfg", "K open\nA First\nD open.sdo 0 100");
  ASSERT_EQ(context_.openDictionary(path, 1, false, false), 1);
  EXPECT_EQ(context_.dictionary(1)->dataFiles.size(), 1u);
  EXPECT_EQ(context_.dictionary(1)->title(), "First");
  // The same id again is refused unless it is read again.
  EXPECT_EQ(context_.openDictionary(path, 1, false, false), 0);
  config("open.cfg", "K open\nA Changed\n");
  EXPECT_EQ(context_.openDictionary(path, 1, false, true), 1);
  EXPECT_EQ(context_.dictionary(1)->title(), "Changed");
  EXPECT_EQ(context_.dictionaries().size(), 1u);
  EXPECT_EQ(context_.idOfConfig(path), 1);
  EXPECT_EQ(context_.idOfCode("OPEN"), 1);
  EXPECT_EQ(context_.idOfCode("other"), -1);
}

TEST_F(DictionaryFiles, AListOpensEveryPairItCanAndTellsOfTheOthers) {
  config("a.cfg", "K alpha\n");
  config("c.cfg", "K gamma\n");
  std::string list = dir_.write("sets.ml", "3 a.cfg\r\n4 missing.cfg\n 5\tc.cfg\n6\n");
  ASSERT_EQ(context_.loadList(list), 1);
  EXPECT_EQ(context_.idOfCode("alpha"), 3);
  EXPECT_EQ(context_.idOfCode("gamma"), 5);
  EXPECT_EQ(context_.dictionaries().size(), 2u);
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_NE(win::MessageBoxLog()[0].text.find("missing.cfg"), std::string::npos);
  EXPECT_EQ(win::MessageBoxLog()[0].caption, "!!! Error !!!");
  EXPECT_EQ(win::MessageBoxLog()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));

  win::ClearMessageBoxLog();
  EXPECT_EQ(context_.loadList(dir_.file("absent.ml")), 0);
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text.rfind("Couldn't open \"", 0), 0u);
  EXPECT_NE(win::MessageBoxLog()[0].text.find("Check if \"LocalDataPath\""), std::string::npos);
}

TEST_F(DictionaryFiles, AConfigurationMissingInAGivenDirectoryNamesBoth) {
  EXPECT_EQ(context_.openDictionary("none.cfg", 7, false, false, "C:\\data"), 0);
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text, "Couldn't open \"C:\\data\\none.cfg\".");
}

TEST_F(DictionaryFiles, SelectionAndDirection) {
  config("a.cfg", "K alpha\n");
  ASSERT_EQ(context_.openDictionary(dir_.file("a.cfg"), 3, false, false), 1);
  EXPECT_EQ(context_.selectDictionary("ALPHA and more"), 1);
  EXPECT_EQ(context_.currentId(), 3);
  EXPECT_EQ(context_.dictionary(DictionaryContext::kAllDictionaries)->id, 3);
  EXPECT_EQ(context_.selectDictionary("beta"), 0);
  EXPECT_EQ(context_.currentId(), 3);
  EXPECT_EQ(context_.selectDictionary(""), 1);
  EXPECT_EQ(context_.currentId(), DictionaryContext::kAllDictionaries);
  EXPECT_EQ(context_.dictionary(DictionaryContext::kAllDictionaries), nullptr);

  struct Turn {
    int from, code, to;
  };
  const Turn turns[] = {{1, 64, 2}, {4, 64, 8}, {2, 64, 2}, {2, 128, 1}, {8, 128, 4}, {1, 128, 1}, {1, 5, 5}};
  for (const Turn& t : turns) {
    context_.setDirection(t.from);
    context_.setDirection(t.code);
    EXPECT_EQ(context_.direction(), t.to) << t.from << " " << t.code;
  }
}

TEST_F(DictionaryFiles, TheMediumIsThereWhenItsIndexOpensAndNoLabelCanBeRead) {
  DictionaryRecord r;
  r.volumeLabel = "DISC1";  // no label can be read here: not compared
  r.indexFiles.push_back({upperPath("sub\\local.bof")});
  std::string old = win::CurrentWindowsDirectory();
  ASSERT_TRUE(SetCurrentDirectory(dir_.path().string().c_str()));
  ForgetPathDirectories();
  EXPECT_FALSE(context_.mediaPresent(r));
  dir_.write("LOCAL.BOF", "");
  EXPECT_TRUE(context_.mediaPresent(r));
  r.indexFiles[0].path = "LOCAL";  // no extension: ".BOF" is added
  EXPECT_TRUE(context_.mediaPresent(r));
  SetCurrentDirectory(old.c_str());
  ForgetPathDirectories();
}

TEST_F(DictionaryFiles, TheEntryTreeComesFromTheFirstDataFile) {
  // One record of two leaves, numbers 4 and 5, in a file of kind 3.
  std::string record = std::string("\x09\x00\x02", 3) + std::string("\x82\x00\x00\x00", 4) + std::string("\xA4\x00\x00\x00", 4);
  dir_.write("tree.dat", record);
  config("tree.cfg", "K tree\nD tree.dat 0 100\nF 3 4 2 0\n");
  ASSERT_EQ(context_.openDictionary(dir_.file("tree.cfg"), 9, false, false), 1);
  RecordFile* file = context_.recordFile(9);
  ASSERT_NE(file, nullptr);
  std::optional<RecordNode> root = file->root();
  ASSERT_TRUE(root);
  EXPECT_EQ(file->entryNumber(*root), 4);
  EXPECT_EQ(root->code(), 1);
  ASSERT_TRUE(file->nextSibling(*root));
  EXPECT_EQ(context_.recordFile(10), nullptr);
}

}  // namespace
