// What the document tests share: documents of any kind made from a record
// and held at once, a recording content listener, and a fixture with its
// own current directory, temporary directory and, on request, a settings file.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "framework/viewer_app.h"
#include "core/content_listener.h"
#include "core/document.h"
#include "core/fatal.h"
#include "core/objects/support/fake_store.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace doctest {

// A document of class T from "ObjectID=<id>\n" and `rest`, held at once,
// with the store attached.
template <class T = Document>
Ref<T> Make(std::int32_t id, const std::string& rest, const Ref<Store>& store) {
  Ref<T> d(new T(Record(id, rest.c_str())));
  d->setStore(store);
  return d;
}

// Records what it is told and answers from a script (0 when the script is
// used up).
class RecordingListener : public ContentListener {
 public:
  explicit RecordingListener(std::vector<std::string>* log, std::string name, int answer = 0,
                             const void* stands = nullptr)
      : log_(log), name_(std::move(name)), answer_(answer), stands_(stands) {}
  ~RecordingListener() override {
    if (log_) log_->push_back(name_ + " deleted");
  }
  int contentReady(const CString& fileName, int status) override {
    log_->push_back(name_ + " " + std::to_string(status) + " '" + fileName.str() + "'");
    return answer_;
  }
  const void* referent() const override { return stands_; }

 private:
  std::vector<std::string>* log_;
  std::string name_;
  int answer_;
  const void* stands_;
};

struct FatalExit {
  int status;
};

// Runs `make`, which must end the program through the fatal box; the text
// of that box.
template <class F>
std::string FatalBoxText(F make) {
  win::ClearMessageBoxLog();
  FatalExitHook previous = SetFatalExitHook([](int status) { throw FatalExit{status}; });
  bool ended = false;
  try {
    make();
  } catch (const FatalExit&) {
    ended = true;
  }
  SetFatalExitHook(previous);
  if (!ended || win::MessageBoxLog().empty()) return "(no fatal end)";
  EXPECT_EQ(win::MessageBoxLog().front().caption, "Error !");
  return win::MessageBoxLog().front().text;
}

// The texts of the message boxes shown since the last clear.
inline std::vector<std::string> BoxTexts() {
  std::vector<std::string> out;
  for (const win::MessageBoxRecord& r : win::MessageBoxLog()) out.push_back(r.text);
  return out;
}

class DocumentFixture : public ObjectModelTest {
 protected:
  void SetUp() override {
    ObjectModelTest::SetUp();
    previousDir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    std::filesystem::create_directory(dir.path() / "temp");
    if (const char* old = std::getenv("TMPDIR")) oldTemp_ = old;
    setenv("TMPDIR", (dir.path() / "temp").string().c_str(), 1);
    // The user's own directory within it, where temporary content goes.
    tempDir = testing_support::PrivateTempDir();
    win::ClearMessageBoxLog();
  }
  void TearDown() override {
    app.reset();
    if (oldTemp_)
      setenv("TMPDIR", oldTemp_->c_str(), 1);
    else
      unsetenv("TMPDIR");
    std::filesystem::current_path(previousDir_);
    win::ClearMessageBoxLog();
    ObjectModelTest::TearDown();
  }

  // Makes a settings file of this text the application's.
  void useSettings(const std::string& text) {
    dir.write("Tolm.ini", text);
    app.reset();
    app = std::make_unique<ViewerApp>("Tolm");
    app->SetIniPath("Tolm");
  }

  // The names of the files in the temporary directory.
  std::vector<std::string> tempFiles() const {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(tempDir))
      out.push_back(e.path().filename().string());
    return out;
  }

  testing_support::TempDir dir;
  std::filesystem::path tempDir;
  // What the recording listeners say; outlives every document of a test.
  std::vector<std::string> listenerLog;
  std::unique_ptr<ViewerApp> app;

 private:
  std::filesystem::path previousDir_;
  std::optional<std::string> oldTemp_;
};

}  // namespace doctest
