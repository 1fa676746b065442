// Sessions against the reference peer: a fixture that starts the peer,
// opens sessions to it and cleans every register up between tests, and an
// object factory that turns the peer's records into the object classes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/kx_object.h"
#include "core/objref.h"
#include "core/store_registry.h"
#include "net/kx_session.h"
#include "net/support/peer_process.h"

namespace session_test {

using testing_support::PeerOptions;
using testing_support::PeerProcess;

// Records to objects, by Type, TType, DocumentType and CollectionType; the
// store opener answers with the given store or the first open session.
class TestObjectFactory : public ObjectFactory {
 public:
  KXObject* createObject(const CString& record) override;
  Ref<Store> openStore(const CString& name, const Ref<Store>& given) override;
};

// Thrown by the fatal-error hook, so that a test sees the program's end.
struct FatalEnd {
  int status;
};

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts a peer; the test fails when it did not come up.
  PeerProcess& StartPeer(const PeerOptions& options = PeerOptions());
  // "korvex://[user[:password]@]127.0.0.1:<port>[;options]/" of the peer.
  std::string Address(const std::string& credentials = "", const std::string& options = "") const;
  // A session held from the start (as every Store must be).
  Ref<KxSession> Open(const std::string& address);
  Ref<KxSession> OpenAs(const std::string& credentials) { return Open(Address(credentials)); }

  // The message boxes shown so far, their texts only.
  static std::vector<std::string> BoxTexts();

  std::unique_ptr<PeerProcess> peer_;

 private:
  TestObjectFactory factory_;
  ObjectFactory* previousFactory_ = nullptr;
};

// The ids of the objects in a list of MemberEntry elements, in list order.
std::vector<LONG> IdsOf(const List* list);
// The content file of a bundled object ("objects/intro.body").
std::string ContentFile(const std::string& relative);

}  // namespace session_test
