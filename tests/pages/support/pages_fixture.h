// What the page tests share: a fresh window system and GDI, an empty style
// table and rule set, the logbook in a temporary file whose lines a test
// can read, and a shell link whose current object the test sets.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/kx_object.h"
#include "core/objref.h"
#include "pages/shell_link.h"
#include "support/temp_dir.h"

namespace pages_test {

// A shell link that answers the current object the test gives it and
// records what the pages ask of the shell.
class TestShell : public ShellLink {
 public:
  Ref<KXObject> CurrentObject() override { return current; }
  RECT PageArea() override { return pageArea; }
  int Effects() override { return effects; }
  void ClearStartupPicture() override { ++startupCleared; }
  CString FetchCached(const CString& reference) override {
    fetched.push_back(reference.str());
    auto it = cached.find(reference.str());
    return it == cached.end() ? CString() : CString(it->second);
  }

  // What page objects ask the shell to do: gotos and command lines are
  // only recorded (a shell queues them and runs them at idle time).
  void PushGoto(const Ref<KXObject>& object) override { gotoObjects.push_back(object); }
  void PushGotoName(const char* target) override { gotos.push_back(target ? target : ""); }
  void RunCommandLine(const char* line, const Ref<KXObject>&) override {
    lines.push_back(line ? line : "");
  }
  bool CanRunCommand(const char* word) override {
    asked.push_back(word ? word : "");
    return word && runnable.count(word) != 0;
  }
  CWnd* HintWindow() override { return hintWindow; }
  void SetHintWindow(CWnd* hint) override {
    hintWindow = hint;
    ++hintWindowsSet;
  }
  ProgressReporter* Progress() override { return progress; }
  void LoadTextAnchor(const char* record, FileSource* source, LoadTarget* target) override {
    anchorRecords.push_back(record ? record : "");
    anchorSources.push_back(source);
    anchorTargets.push_back(target);
  }

  Ref<KXObject> current;
  std::vector<Ref<KXObject>> gotoObjects;
  std::vector<std::string> gotos;
  std::vector<std::string> lines;
  std::vector<std::string> asked;
  std::set<std::string> runnable;
  CWnd* hintWindow = nullptr;
  int hintWindowsSet = 0;
  ProgressReporter* progress = nullptr;
  std::vector<std::string> anchorRecords;
  std::vector<FileSource*> anchorSources;
  std::vector<LoadTarget*> anchorTargets;
  RECT pageArea{0, 0, 640, 480};
  int effects = 1;
  int startupCleared = 0;
  std::map<std::string, std::string> cached;
  std::vector<std::string> fetched;
};

class PagesTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The logbook's lines so far (without their line feeds).
  std::vector<std::string> LogLines() const;
  // Forgets the lines so far.
  void ClearLog();
  // Parses a style text (the header is put in front).
  static void Styles(const std::string& body);

  testing_support::TempDir tmp_;
  TestShell shell_;

 private:
  std::string logPath_;
};

}  // namespace pages_test
