#include "pages/script/support/script_fixture.h"

#include <cstdlib>
#include <fstream>

#include "pages/objects/vlabel.h"
#include "pages/page/vpage.h"
#include "pages/picture/vimage.h"
#include "support/packed_dib.h"
#include "support/temp_dir.h"
#include "win/user.h"

namespace pages_test {

unsigned& ScriptTest::Ticks() {
  static unsigned ticks = 0;
  return ticks;
}

void ScriptTest::SetUp() {
  // The script log goes to the temporary directory: this test's own.
  if (const char* old = std::getenv("TMPDIR")) oldTemp_ = old;
  setenv("TMPDIR", tmp_.path().string().c_str(), 1);
  PictureTest::SetUp();
  Ticks() = 50000;
  SetPageTickSource([]() -> DWORD { return Ticks(); });
  page_ = std::make_unique<VSyncpage>();
  page_->SetRect(0, 0, 640, 480);
  background_ = new VImage(0, 0, 640, 480, nullptr);
  toolbar_ = new VLabel(0, 440, 640, 480, 0);
  toolbar_->SetState(toolbar_->State() | VObject::kHidden);
  page_->AddChild(background_);
  page_->AppendChild(toolbar_);
  page_->SetParts(background_, toolbar_);
}

void ScriptTest::TearDown() {
  page_.reset();
  PictureTest::TearDown();
  if (oldTemp_)
    setenv("TMPDIR", oldTemp_->c_str(), 1);
  else
    unsetenv("TMPDIR");
}

SyncScript* ScriptTest::Load(const std::string& text, const std::string& name) {
  const std::string file = tmp_.write(name, text);
  page_->SetScript(std::make_unique<SyncScript>(file.c_str(), page_.get()));
  return page_->Script();
}

SyncScript* ScriptTest::Play(const std::string& text) {
  SyncScript* script = Load(text);
  script->Start();
  return script;
}

void ScriptTest::Run(unsigned ms) {
  Ticks() += ms;
  page_->OnTimer(VSyncpage::kScriptTimer);
}

std::vector<std::string> ScriptTest::ScriptLog() const {
  std::vector<std::string> lines;
  std::ifstream in(testing_support::PrivateTempDir() / SyncScript::kLogName);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> ScriptTest::Errors() const {
  std::vector<std::string> out;
  for (const std::string& line : ScriptLog()) {
    if (line.rfind("Error in SyncScript ", 0) != 0) continue;
    const std::size_t colon = line.find(": ");
    out.push_back(line.substr(colon + 2));
  }
  return out;
}

std::string ScriptTest::Picture(const std::string& name, int w, int h) {
  return WriteBmp(name, testing_support::PackDib(w, h, 24, {}, true, [](int, int) -> std::uint32_t {
    return 0x336699;
  }));
}

int ScriptTest::CursorCount() {
  const int count = ShowCursor(TRUE);
  ShowCursor(FALSE);
  return count - 1;
}

}  // namespace pages_test
