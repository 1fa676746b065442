// A store that answers from a script, and a fixture that installs the
// program's object factory over clean registers, for the tests of opening
// stores, references and downloads.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/objref.h"
#include "core/store.h"
#include "core/store_registry.h"
#include "mfc/cstring.h"
#include "support/temp_dir.h"

namespace open_test {

class ScriptedStore : public Store {
 public:
  // The scheme comes from the address ("korvex://scripted/" by default).
  explicit ScriptedStore(const char* address = "korvex://scripted/");

  // Records by the name asked for; every name asked is noted in `asked`.
  std::map<std::string, std::string> records;
  std::vector<std::string> asked;
  // The content of every read transfer, handed out in pieces of at most
  // `piece` bytes; a read after `failAfter` bytes (when not negative) fails.
  std::string content;
  int piece = 1000;
  int failAfter = -1;
  // The error state is set (code 143) when a transfer is closed.
  bool errorAfterTransfer = false;
  // What the long-operation flag was while records were asked.
  std::vector<int> busyWhileAsked;
  int transfersOpened = 0;
  // The member ids of collections (request kind 2), by the collection's id
  // text; each member's record comes from `records`.
  std::map<std::string, std::vector<std::string>> members;

  // The error state, as a failed start would leave it.
  void fail(std::int32_t code, const char* text);

  CString getRecord(const CString& name) override;
  StoreEntry* openRequest(const Ref<KXObject>& object, std::int32_t kind, List* collections,
                          const CString& text) override;
  bool closeRequest(StoreEntry* entry) override;
  std::int32_t readRequest(StoreEntry* entry, char* buffer, std::int32_t size) override;
  List* getResults(StoreEntry* entry, std::int32_t n, List* list) override;
};

// The program's factory over empty registers; the default scheme
// forgotten; the logbook and the temporary files in a fresh directory.
class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens a scripted store as the list's first (not through a maker).
  Ref<ScriptedStore> AddScripted(const char* address = "korvex://scripted/");
  // The logbook's lines so far.
  std::vector<std::string> LogLines() const;
  // The texts of the message boxes shown so far.
  static std::vector<std::string> BoxTexts();
  // Files in the temporary directory (not the folders others make there).
  std::vector<std::string> TempFiles() const;

  testing_support::TempDir tmp_;

 private:
  ObjectFactory* previousFactory_ = nullptr;
  CString savedLog_;
  std::string savedTmp_;
  std::string savedTemp_;
  bool hadTmp_ = false;
  bool hadTemp_ = false;
};

}  // namespace open_test
