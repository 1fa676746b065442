// The client's end-to-end tests over either of its data sources, one test
// body for both: the reference peer serving data/sample over TCP, or the
// local database the build makes from the same sample (a "kxlocal:"
// address, no server). Each local test works on its own copy of the built
// database, so that tests running side by side never share its files.
// Objects are compared by name: the two sources number them differently.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/support/shell_fixture.h"
#include "core/kx_object.h"

class Command;

namespace app_test {

enum class DataSource { kPeer, kLocalDatabase };

// "Peer" or "LocalDatabase", for the test names.
std::string DataSourceName(const ::testing::TestParamInfo<DataSource>& info);

class TwoSourcesTest : public ShellTest, public ::testing::WithParamInterface<DataSource> {
 protected:
  // Starts the source the parameter names (or the one given) and writes its
  // address into the settings.
  void StartSource();
  void StartSource(DataSource source);
  // The source, the client, and the wait until the first object is current.
  void StartAndOpen();
  void StartAndOpen(DataSource source);
  // Ends the client and forgets what the run held, as the program's end
  // does: a later StartAndOpen is a new run in the same process.
  void EndRun();
  // Pushes the command and runs the idle processing until the queue is
  // empty; false when it does not empty within the tests' patience.
  bool Run(Command* c);

  // The object's "Name=" without the data-set suffix a local name carries
  // (" @set"); empty for none.
  static std::string NameOf(const Ref<KXObject>& object);
  static std::string CurrentName();
  // The names of the members of a collection, or of the hits a search
  // gathered, sorted.
  static std::vector<std::string> MemberNames(const Ref<KXObject>& collection);
  // The source's object of that name, fetched as the client fetches names.
  static Ref<KXObject> Fetch(const std::string& name);

 private:
  testing_support::TempDir database_;
};

// The folder the build writes the sample's local database into.
std::string BuiltSampleDatabase();

}  // namespace app_test
