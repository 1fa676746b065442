// Opening a session from an address, the login and the home collection,
// the password change, and the session's end against the dispatcher.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "../connection/peer_log.h"
#include "core/attr_record.h"
#include "net/crypt.h"
#include "net/dispatcher.h"
#include "support/session_fixture.h"

namespace session_test {
namespace {

using net_test::Events;
using net_test::Requests;

// ---- The options of an address ----------------------------------------------------

struct OptionCase {
  const char* address;
  bool found;
  int a, b, c;
};

TEST(SessionOptions, AreReadAfterThePortWithOrWithoutAUser) {
  const OptionCase cases[] = {
      {"korvex://alice:pw@host:418;0:0:1/path", true, 0, 0, 1},
      {"korvex://host:418;0:1:0/", true, 0, 1, 0},      // no user part
      {"korvex://alice@host:418;0/", true, 0, 1, 1},    // fewer numbers
      {"korvex://alice@host:418;0::1/", true, 0, 1, 1}, // a missing number ends reading
      {"korvex://alice@host:418;258:3:4/x", true, 2, 3, 4},  // kept in 8 bits
      {"korvex://alice@host:418;0:0:0", false, 1, 1, 1},  // no "/" after the ";"
      {"korvex://alice@host:418/;0:0:0/", false, 1, 1, 1},  // ";" behind the path's "/"
      {"korvex://host/", false, 1, 1, 1},
      {"korvex:name;0:0:0", false, 1, 1, 1},
      {"", false, 1, 1, 1},
  };
  for (const OptionCase& c : cases) {
    std::uint8_t options[3] = {1, 1, 1};
    EXPECT_EQ(KxSession::ParseConnectionOptions(c.address, options), c.found) << c.address;
    EXPECT_EQ(options[0], c.a) << c.address;
    EXPECT_EQ(options[1], c.b) << c.address;
    EXPECT_EQ(options[2], c.c) << c.address;
  }
}

TEST(SessionUrls, HandledSchemes) {
  const struct {
    const char* url;
    bool handled;
  } cases[] = {{"korvex://h/x", true}, {"http://h/", true},   {"gopher://h/", true},
               {"ftp://h/", true},     {"plain-name", true},  {":x", true},
               {"mailto:a@b", false},  {"HTTP://h/", false},  {"kxlocal:db", false}};
  Ref<KxSession> offline(new KxSession("http://nowhere/"));
  for (const auto& c : cases) EXPECT_EQ(offline->handlesUrl(c.url), c.handled) << c.url;
}

// ---- Opening and the login --------------------------------------------------------------

TEST_F(SessionTest, AnAddressOfAnotherSchemeMakesNoConnection) {
  Ref<KxSession> s = Open("http://127.0.0.1/");
  EXPECT_EQ(s->getError(), KxSession::kStrWrongProtocol);
  EXPECT_STREQ(s->getErrorText().c_str(), "Protocol error: wrong protocol !");
  EXPECT_EQ(s->connection(), nullptr);
  EXPECT_EQ(s->openRequest(Ref<KXObject>(), kRequestKeyQuery, nullptr, "Name=x"), nullptr);
  EXPECT_FALSE(s->login("alice", "wonder", 0));
}

TEST_F(SessionTest, AFailedHandshakeIsAProtocolErrorWithTheServersText) {
  PeerOptions options;
  options.misbehave = {"refuse-handshake"};
  StartPeer(options);
  Ref<KxSession> s = OpenAs("alice:wonder");
  EXPECT_EQ(s->getError(), KxSession::kStrProtocolError);
  EXPECT_STREQ(s->getErrorText().c_str(), "Korvex protocol error: server not responding");
  EXPECT_EQ(s->connection(), nullptr);
  EXPECT_TRUE(s->getRecord("0x00000020").IsEmpty());
  ASSERT_FALSE(BoxTexts().empty());
  EXPECT_EQ(BoxTexts().back(), KxSession::kNotConnectedText);
}

TEST_F(SessionTest, WithoutAPortTheDefaultPortIsTried) {
  // Nothing listens on 418 here: the session reports the failed connection.
  Ref<KxSession> s = Open("korvex://127.0.0.1");
  EXPECT_EQ(s->getPort(), KxSession::kDefaultPort);
  EXPECT_EQ(s->getError(), KxSession::kStrProtocolError);
}

struct LoginCase {
  const char* name;
  const char* credentials;  // of the address
  bool identified;
  const char* user;  // getUser afterwards
  const char* path;  // the home collection
  const char* sentPassword;  // of the session's identification
  const char* sentFlag;
};

class SessionLogin : public SessionTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(SessionLogin, IdentifiesAndFindsTheHome) {
  const LoginCase& c = GetParam();
  for (const char* form : {"1", "0"}) {  // binary and text form
    StartPeer();
    Ref<KxSession> s = Open(Address(c.credentials, std::string(form) + ":0:0"));
    ASSERT_EQ(s->getError(), 0) << s->getErrorText().c_str();
    EXPECT_EQ(s->isIdentified(), c.identified) << form;
    EXPECT_STREQ(s->getUser().c_str(), c.user) << form;
    EXPECT_STREQ(s->getPath().c_str(), c.path) << form;
    EXPECT_EQ(s->getCapabilities(), kStoreCapsServer);

    const std::string log = peer_->log();
    EXPECT_EQ(Events(log, "form").at(0).get("form"), form[0] == '1' ? "binary" : "text");
    // The connection identifies once, the session's login once more.
    auto identify = Requests(log, "identify");
    ASSERT_EQ(identify.size(), 2u);
    EXPECT_EQ(identify[1].get("password"), c.sentPassword);
    EXPECT_EQ(identify[1].get("flag"), c.sentFlag);
    s = Ref<KxSession>();
    peer_.reset();
  }
}

const LoginCase kLogins[] = {
    // Home given as an id.
    {"Alice", "alice:wonder", true, "alice", "0x00000010", "wonder", "0"},
    // Home given as a collection name.
    {"Bob", "bob:builder", true, "bob", "bobs-place", "builder", "0"},
    // No password: "XNIL" with flag 0; the peer takes any password for carol.
    {"CarolWithoutPassword", "carol", true, "carol", "~anonymous", "XNIL", "0"},
    // A wrong password leaves the connection anonymous; the refused login
    // keeps the address's path.
    {"WrongPassword", "alice:nope", false, "anonymous", "/", "nope", "0"},
    // No user in the address: anonymous.
    {"Anonymous", "", false, "anonymous", "~anonymous", "XNIL", "0"},
};

INSTANTIATE_TEST_SUITE_P(Users, SessionLogin, ::testing::ValuesIn(kLogins),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SessionTest, TheAddressOptionsReachTheConnection) {
  StartPeer();
  Ref<KxSession> s = Open(Address("", "0:1:0"));  // text form, distributed, no compression
  ASSERT_EQ(s->getError(), 0);
  EXPECT_EQ(s->option(0), 0);
  EXPECT_EQ(s->option(1), 1);
  EXPECT_EQ(s->option(2), 0);
  const std::string log = peer_->log();
  EXPECT_EQ(Events(log, "form").at(0).get("form"), "text");
  EXPECT_EQ(Events(log, "hello").at(0).get("distributed"), "1");
  EXPECT_EQ(Events(log, "hello").at(0).get("compress"), "0");
}

TEST_F(SessionTest, UserRecordIdentificationAndServerText) {
  PeerOptions options;
  options.extra = {"--server-string", "Peer of the tests"};
  StartPeer(options);
  Ref<KxSession> s = OpenAs("alice:wonder");
  ASSERT_EQ(s->getError(), 0);
  EXPECT_STREQ(AttrRecord(s->getUserRecord()).getAttribute("UName=").c_str(), "alice");
  EXPECT_EQ(s->connection()->userId(), ObjectId(3));
  EXPECT_STREQ(s->getServerInfo().c_str(), "Peer of the tests");
  EXPECT_STREQ(s->getErrorText().c_str(), "no error");
}

TEST_F(SessionTest, LaterLoginsChangeTheIdentityOnlyWhenConfirmed) {
  StartPeer();
  Ref<KxSession> s = OpenAs("alice:wonder");
  ASSERT_TRUE(s->isIdentified());

  EXPECT_TRUE(s->login("bob", "builder", 1));
  EXPECT_STREQ(s->getUser().c_str(), "bob");
  EXPECT_STREQ(s->getPath().c_str(), "bobs-place");
  EXPECT_STREQ(s->getPassword().c_str(), "builder");

  // Refused: the session keeps what it knew of the user and the home.
  EXPECT_FALSE(s->login("bob", "wrong", 1));
  EXPECT_TRUE(s->isIdentified());
  EXPECT_STREQ(s->getPath().c_str(), "bobs-place");
  EXPECT_STREQ(s->getPassword().c_str(), "builder");

  // An empty password is sent as "XNIL" with flag 0, whatever the flag.
  EXPECT_TRUE(s->login("anonymous", "", 1));
  EXPECT_FALSE(s->isIdentified());
  auto identify = Requests(peer_->log(), "identify");
  EXPECT_EQ(identify.back().get("password"), "XNIL");
  EXPECT_EQ(identify.back().get("flag"), "0");
}

// ---- The password change ---------------------------------------------------------------

// The system's crypt(3), when the library is there.
using CryptFn = char* (*)(const char*, const char*);
CryptFn SystemCrypt() {
  static void* lib = dlopen("libcrypt.so.1", RTLD_NOW);
  return lib ? reinterpret_cast<CryptFn>(dlsym(lib, "crypt")) : nullptr;
}

std::vector<std::string> Passwords(KxSession& s) {
  SortedStringArray values;
  AttrRecord(s.getRecord(s.connection()->userId().Format())).findAll("Passwd=", values);
  std::vector<std::string> out;
  for (int i = 0; i < values.count(); ++i) out.push_back(values.at(i).c_str());
  return out;
}

bool Verifies(const std::string& password, const std::string& hash) {
  return hash == kxcrypt::passwordHash(password.c_str(), hash.c_str());
}

TEST_F(SessionTest, ChangingThePasswordStoresANewHash) {
  StartPeer();
  Ref<KxSession> s = OpenAs("alice:wonder");
  ASSERT_TRUE(s->isIdentified());
  ASSERT_TRUE(s->changePassword("wonder", "rabbit"));
  const std::vector<std::string> stored = Passwords(*s);
  ASSERT_EQ(stored.size(), 1u);
  const std::string& hash = stored[0];
  EXPECT_EQ(hash.size(), 13u);
  EXPECT_TRUE(Verifies("rabbit", hash));
  EXPECT_FALSE(Verifies("wonder", hash));
  if (CryptFn system = SystemCrypt()) {
    EXPECT_EQ(hash, system("rabbit", hash.c_str()));
  }
  // The server takes the new password from now on.
  Ref<KxSession> again = OpenAs("alice:rabbit");
  EXPECT_TRUE(again->isIdentified());
}

TEST_F(SessionTest, OfTwoStoredPasswordsTheMatchingOneIsReplaced) {
  StartPeer();
  Ref<KxSession> s = OpenAs("bob:builder");
  const std::vector<std::string> before = Passwords(*s);
  ASSERT_EQ(before.size(), 2u);
  ASSERT_TRUE(s->changePassword("oldpass", "newpass"));
  const std::vector<std::string> after = Passwords(*s);
  ASSERT_EQ(after.size(), 2u);
  int builder = 0, newpass = 0, oldpass = 0;
  for (const std::string& h : after) {
    builder += Verifies("builder", h);
    newpass += Verifies("newpass", h);
    oldpass += Verifies("oldpass", h);
  }
  EXPECT_EQ(builder, 1);
  EXPECT_EQ(newpass, 1);
  EXPECT_EQ(oldpass, 0);
}

TEST_F(SessionTest, AWrongOldPasswordChangesNothing) {
  StartPeer();
  Ref<KxSession> s = OpenAs("alice:wonder");
  EXPECT_FALSE(s->changePassword("guess", "rabbit"));
  EXPECT_TRUE(Requests(peer_->log(), "modify").empty());
  // Anonymous sessions see no stored password at all.
  Ref<KxSession> anonymous = OpenAs("");
  EXPECT_FALSE(anonymous->changePassword("", "x"));
}

// ---- The end of a session -----------------------------------------------------------------

TEST_F(SessionTest, EndingOneSessionLeavesTheDispatcherToTheOthers) {
  StartPeer();
  Ref<KxSession> first = OpenAs("alice:wonder");
  Ref<KxSession> second = OpenAs("bob:builder");
  ASSERT_EQ(first->getError(), 0);
  ASSERT_EQ(second->getError(), 0);
  Dispatcher* before = Dispatcher::existing();
  ASSERT_NE(before, nullptr);

  first = Ref<KxSession>();
  EXPECT_EQ(Dispatcher::existing(), before);
  // The second session's replies still reach it.
  EXPECT_NE(second->getRecord("0x00000021").Find("Name=notes"), -1);

  second = Ref<KxSession>();
  EXPECT_EQ(Dispatcher::existing(), nullptr);
}

}  // namespace
}  // namespace session_test
