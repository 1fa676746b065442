// The Store base: address parsing, defaults of every operation, the error
// state and the root test.
#include "core/store.h"

#include <gtest/gtest.h>

#include "core/kx_object.h"
#include "core/list.h"

namespace {

struct AddressCase {
  const char* address;
  const char* scheme;
  const char* user;
  const char* password;
  const char* host;
  int port;
  const char* path;
};

class StoreAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(StoreAddress, ParsesIntoParts) {
  const AddressCase& c = GetParam();
  Ref<Store> s(new Store(c.address));
  EXPECT_EQ(s->getAddress(), c.address);
  EXPECT_EQ(s->getScheme(), c.scheme);
  EXPECT_EQ(s->getUser(), c.user);
  EXPECT_EQ(s->getPassword(), c.password);
  EXPECT_EQ(s->getHost(), c.host);
  EXPECT_EQ(s->getPort(), c.port);
  EXPECT_EQ(s->getPath(), c.path);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, StoreAddress,
    ::testing::Values(
        // No ":" at all: the whole address is the path.
        AddressCase{"home/docs", "", "", "", "", 0, "home/docs"},
        // korvex without any "/" is a bare name; ";" and what follows go.
        AddressCase{"korvex:rootcollection;x", "korvex", "", "", "", 0, "rootcollection"},
        // A leading colon is no scheme: path-only, from behind the colon.
        AddressCase{":name", "", "", "", "", 0, "name"},
        // Full server form; the fragment is dropped.
        AddressCase{"korvex://ann:pw@host.at:418/col/doc#frag", "korvex", "ann", "pw", "host.at",
                    418, "/col/doc"},
        // Host without port gets 0; no path after the host.
        AddressCase{"korvex://host", "korvex", "", "", "host", 0, ""},
        // Credentials split at the first "@", then at the first ":".
        AddressCase{"http://a:b:c@d@e:80/p", "http", "a", "b:c", "d@e", 80, "/p"},
        // Connection options behind the port: atoi reads the leading digits.
        AddressCase{"korvex://h:418;1:0:1/p", "korvex", "", "", "h", 418, "/p"},
        // A port beyond 32 bits is clamped rather than overflowing.
        AddressCase{"korvex://h:99999999999/", "korvex", "", "", "h", INT32_MAX, "/"},
        // Local database form.
        AddressCase{"kxlocal://C:/data/", "kxlocal", "", "", "C", 0, "/data/"},
        // An address shorter than "scheme://".
        AddressCase{"ftp:", "ftp", "", "", "", 0, ""}));

TEST(StoreDefaults, EveryOperationAnswersNo) {
  Ref<Store> s(new Store("korvex://h/"));
  Ref<KXObject> none;
  EXPECT_EQ(s->getRecord("0x00000001"), "");
  EXPECT_FALSE(s->probeName("x", 1));
  EXPECT_FALSE(s->getFlag());
  EXPECT_EQ(s->getServerInfo(), "");
  EXPECT_EQ(s->getCapabilities(), 0);
  EXPECT_FALSE(s->handlesUrl("korvex://h/"));
  EXPECT_FALSE(s->login("u", "p", 0));
  EXPECT_FALSE(s->isIdentified());
  EXPECT_FALSE(s->changePassword("a", "b"));
  EXPECT_EQ(s->openRequest(none, kRequestMembers, nullptr, ""), nullptr);
  EXPECT_EQ(s->readRequest(nullptr, nullptr, 0), -1);
  EXPECT_EQ(s->writeRequest(nullptr, nullptr, 0), -1);
  EXPECT_EQ(s->getResults(nullptr, 16, nullptr), nullptr);
  EXPECT_FALSE(s->testPair("a", "b"));
  EXPECT_FALSE(s->insertObject(none, none, 0));
  EXPECT_FALSE(s->deleteObject(none));
  EXPECT_FALSE(s->moveObject(none, none, none));
  EXPECT_FALSE(s->addToCollection(none, none));
  EXPECT_FALSE(s->removeFromCollection(none, none));
  EXPECT_FALSE(s->lockObject(none));
  EXPECT_FALSE(s->unlockObject(none));
  EXPECT_FALSE(s->modifyAttributes(none, "a", "b"));
}

TEST(StoreDefaults, CloseRequestDoesNotDeleteTheHandle) {
  Ref<Store> s(new Store("korvex://h/"));
  auto* handle = new StoreEntry;
  EXPECT_FALSE(s->closeRequest(handle));
  // Still ours: the base left it alone (ASan would report a double free).
  EXPECT_EQ(handle->announcedSize, -1);
  EXPECT_EQ(handle->delivered, 0);
  EXPECT_EQ(handle->reserved, -1);
  delete handle;
}

TEST(StoreDefaults, UserAndPasswordAreStored) {
  Ref<Store> s(new Store("korvex://ann@h/"));
  EXPECT_TRUE(s->setUser("bob"));
  EXPECT_TRUE(s->setPassword("secret"));
  EXPECT_EQ(s->getUser(), "bob");
  EXPECT_EQ(s->getPassword(), "secret");
}

TEST(StoreError, KeepsCodeAndTableText) {
  Ref<Store> s(new Store("korvex://h/"));
  EXPECT_EQ(s->getError(), 0);
  s->setError(10);
  EXPECT_EQ(s->getError(), 10);
  EXPECT_EQ(s->getErrorText(), "Error !");
  // An id the table lacks: the code stays, the text is empty.
  s->setError(99999);
  EXPECT_EQ(s->getError(), 99999);
  EXPECT_EQ(s->getErrorText(), "");
}

TEST(StoreRoot, ExactNamesOnly) {
  Ref<Store> s(new Store("korvex://h/"));
  const struct {
    const char* name;
    bool root;
  } cases[] = {{"0x00000000", true}, {"korvexroot", true}, {"KORVEXROOT", false},
               {"0x0", false},       {"0", false},         {"", false}};
  for (const auto& c : cases) EXPECT_EQ(s->isRoot(c.name), c.root) << c.name;
}

}  // namespace
