#include "core/logbook.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "scoped_env.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace {

using testing_support::TempDir;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

class LogbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::ResetUserState();
    Logbook::SetLogging(true);
  }
  void TearDown() override {
    Logbook::SetLogging(true);
    win::ResetUserState();
  }
  TempDir dir_;
  ScopedEnv tmp_{"TMPDIR", dir_.path().c_str()};
};

TEST_F(LogbookTest, StartOfRunWritesTitleAndTimeStamp) {
  // A bare name is kept in the user's own temporary directory.
  const std::string path = (testing_support::PrivateTempDir() / "tolm.log").string();
  std::ofstream(path) << "line of the previous run\n";
  {
    Logbook log(0);
    log.SetFileName("tolm.log");
    log.Remove();
    log.Write("logbook of Tolm (beta version)");
    log.WriteTimeStamp();
    log.Write("ends in a newline\n");
    log.Write("");
    EXPECT_TRUE(log.IsOpen());
  }
  const std::string content = TempDir::read(path);
  std::vector<std::string> lines = linesOf(content);
  ASSERT_EQ(lines.size(), 5u) << content;
  EXPECT_EQ(lines[0], "logbook of Tolm (beta version)");
  EXPECT_TRUE(std::regex_match(
      lines[1], std::regex("={30} [A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] "
                           "[0-9]{2}:[0-9]{2}:[0-9]{2} [0-9]{4} ={5}")))
      << lines[1];
  EXPECT_EQ(lines[2], "ends in a newline");
  EXPECT_EQ(lines[3], "");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(content.back(), '\n');
  EXPECT_TRUE(win::MessageBoxLog().empty());
}

TEST_F(LogbookTest, TimeStampIsCtimeWithoutNewline) {
  CString stamp = Logbook::TimeStamp();
  EXPECT_EQ(stamp.GetLength(), 24);
  EXPECT_EQ(stamp.Find('\n'), -1);
}

TEST_F(LogbookTest, NamesWithSeparatorsOrDriveAreUsedAsGiven) {
  Logbook log;
  log.SetFileName("tolm.log");
  EXPECT_EQ(log.FileName().Right(9), "\\tolm.log");
  EXPECT_NE(log.FileName(), "tolm.log");
  const std::string given = dir_.file("own.log");
  log.SetFileName(given.c_str());
  EXPECT_EQ(log.FileName(), given.c_str());
  log.SetFileName("C:\\somewhere\\x.log");
  EXPECT_EQ(log.FileName(), "C:\\somewhere\\x.log");
  log.SetFileName("D:x.log");
  EXPECT_EQ(log.FileName(), "D:x.log");
  log.SetFileName(nullptr);
  EXPECT_TRUE(log.FileName().IsEmpty());
  log.Write("shown instead");
  ASSERT_EQ(win::MessageBoxLog().size(), 1u);
  EXPECT_EQ(win::MessageBoxLog()[0].text, "shown instead");
}

TEST_F(LogbookTest, LoggingOffWritesNothingButNamingAndClosingWork) {
  const std::string path = dir_.write("off.log", "kept\n");
  Logbook log;
  Logbook::SetLogging(false);
  log.SetFileName(path.c_str());
  EXPECT_EQ(log.FileName(), path.c_str());
  log.Remove();
  log.Write("dropped");
  log.WriteTimeStamp();
  EXPECT_FALSE(log.IsOpen());
  log.Close();
  EXPECT_EQ(TempDir::read(path), "kept\n");
  EXPECT_TRUE(win::MessageBoxLog().empty());

  Logbook::SetLogging(true);
  log.Write("now");
  EXPECT_EQ(TempDir::read(path), "kept\nnow\n");
}

TEST_F(LogbookTest, SwitchIsSharedByAllLogbooks) {
  Logbook a, b(1);
  a.SetFileName(dir_.file("a.log").c_str());
  b.SetFileName(dir_.file("b.log").c_str());
  Logbook::SetLogging(false);
  a.Write("x");
  b.Write("y");
  EXPECT_FALSE(std::filesystem::exists(dir_.file("a.log")));
  EXPECT_FALSE(std::filesystem::exists(dir_.file("b.log")));
}

TEST_F(LogbookTest, CloseAfterWriteReopensForEachLine) {
  const std::string path = dir_.file("script.log");
  Logbook log(1);
  log.SetFileName(path.c_str());
  log.Write("one");
  EXPECT_FALSE(log.IsOpen());
  EXPECT_EQ(TempDir::read(path), "one\n");
  log.Write("two");
  EXPECT_FALSE(log.IsOpen());
  EXPECT_EQ(TempDir::read(path), "one\ntwo\n");
}

TEST_F(LogbookTest, FileThatCannotBeOpenedIsReportedOnceThenTextsGoToBoxes) {
  const std::string path = dir_.file("missing-dir/sub/x.log");
  Logbook log;
  log.SetFileName(path.c_str());
  log.Write("first");
  EXPECT_TRUE(log.FileName().IsEmpty());
  log.Write("second");
  const auto& boxes = win::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 3u);
  EXPECT_EQ(boxes[0].text, "cannot open logbook " + path);
  EXPECT_EQ(boxes[1].text, "first");
  EXPECT_EQ(boxes[2].text, "second");
  EXPECT_EQ(boxes[2].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
}

TEST_F(LogbookTest, LinesTheFileDoesNotTakeAreReportedOnce) {
  // A device that is always full takes the open and refuses every line.
  Logbook log;
  log.SetFileName("/dev/full");
  for (const char* line : {"one", "two", "three"}) log.Write(line);
  const auto& boxes = win::MessageBoxLog();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "cannot write logbook /dev/full");
  // A new name may fail again, and is told again.
  log.SetFileName("/dev/full");
  log.Write("four");
  EXPECT_EQ(win::MessageBoxLog().size(), 2u);
}

TEST_F(LogbookTest, GlobalLogbookIsOneInstance) {
  EXPECT_EQ(&TheLogbook(), &TheLogbook());
}

}  // namespace
