#include "app/e2e/support/two_sources.h"

#include <algorithm>
#include <filesystem>

#include "app/commands/command_queue.h"
#include "app/history/nav_history.h"
#include "core/collection.h"
#include "core/object_utils.h"
#include "core/store_registry.h"

namespace app_test {

namespace fs = std::filesystem;

std::string BuiltSampleDatabase() { return std::string(ZEMRA_BINARY_DIR) + "/data/localdb"; }

std::string DataSourceName(const ::testing::TestParamInfo<DataSource>& info) {
  return info.param == DataSource::kPeer ? "Peer" : "LocalDatabase";
}

void TwoSourcesTest::StartSource() { StartSource(GetParam()); }

void TwoSourcesTest::StartSource(DataSource source) {
  if (source == DataSource::kPeer) {
    StartPeer();
    return;
  }
  const fs::path built = BuiltSampleDatabase();
  ASSERT_TRUE(fs::exists(built / "SAMPLE.CFG")) << "the build made no sample database in " << built;
  const fs::path copy = database_.path() / "localdb";
  std::error_code ec;
  fs::copy(built, copy, fs::copy_options::recursive, ec);
  ASSERT_FALSE(ec) << ec.message();
  ini["CONNECT"]["Server"] = "kxlocal:" + (copy / "SAMPLE.CFG").string();
}

void TwoSourcesTest::StartAndOpen() { StartAndOpen(GetParam()); }

void TwoSourcesTest::StartAndOpen(DataSource source) {
  StartSource(source);
  if (HasFatalFailure()) return;
  StartClient();
  ASSERT_TRUE(IdleUntil([] { return bool(TheHistory().Current()); }))
      << "no object after opening the source; boxes: " << ::testing::PrintToString(BoxTexts());
}

void TwoSourcesTest::EndRun() {
  if (app_) ExitClient();
  ForgetSessions();
  if (peer_) peer_->stop();
}

bool TwoSourcesTest::Run(Command* c) {
  TheCommandQueue().Push(c);
  return IdleUntilQueueEmpty();
}

std::string TwoSourcesTest::NameOf(const Ref<KXObject>& object) {
  if (!object) return {};
  std::string name = object->getAttribute("Name=").str();
  const size_t suffix = name.find(" @");
  if (suffix != std::string::npos) name.erase(suffix);
  return name;
}

std::string TwoSourcesTest::CurrentName() { return NameOf(TheHistory().Current()); }

std::vector<std::string> TwoSourcesTest::MemberNames(const Ref<KXObject>& collection) {
  std::vector<std::string> names;
  if (!collection) return names;
  const List* members = GetObjectUtilityServices()->collectionChildren(*collection);
  if (members)
    for (ListElement* e = members->first(); e; e = e->next()) names.push_back(NameOf(ObjectOf(e)));
  std::sort(names.begin(), names.end());
  return names;
}

Ref<KXObject> TwoSourcesTest::Fetch(const std::string& name) { return fetchObject(CString(name.c_str()), Ref<Store>()); }

}  // namespace app_test
