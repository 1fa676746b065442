// Uploading a document's new content to the server through the upload
// service: from memory and from a file, read back over a data connection;
// and a server that never connects to the sender is a failure.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "../connection/peer_log.h"
#include "core/document.h"
#include "net/content_upload.h"
#include "support/session_fixture.h"
#include "support/temp_dir.h"

namespace session_test {
namespace {

using net_test::Requests;

class SessionUpload : public SessionTest {
 protected:
  void SetUp() override {
    SessionTest::SetUp();
    InstallContentUploadService();
  }
  void TearDown() override {
    SetContentUploadService(nullptr);
    SessionTest::TearDown();
  }

  Ref<KxSession> Start(const PeerOptions& options = PeerOptions()) {
    StartPeer(options);
    Ref<KxSession> s = Open(Address("alice:wonder"));
    EXPECT_EQ(s->getError(), 0);
    return s;
  }

  // The document's content as the server now sends it.
  static std::string Download(KxSession& s, const Ref<KXObject>& doc) {
    std::string bytes;
    StoreEntry* entry = s.openRequest(doc, kRequestRead, nullptr, CString());
    if (!entry) return bytes;
    char buffer[kTransferChunk];
    int n;
    while ((n = s.readRequest(entry, buffer, sizeof buffer)) > 0) bytes.append(buffer, n);
    s.closeRequest(entry);
    return bytes;
  }
};

TEST_F(SessionUpload, NewContentFromMemoryAndFromAFileReachesTheServer) {
  Ref<KxSession> s = Start();
  Ref<KXObject> doc = fetchObject("0x00000021", Ref<Store>(s.get()));
  ASSERT_TRUE(doc);
  Document* document = dynamic_cast<Document*>(doc.get());
  ASSERT_NE(document, nullptr);

  const std::string fromMemory = "new notes, sent from memory";
  ASSERT_TRUE(document->storeContentFromMemory(fromMemory.data(),
                                               static_cast<std::int32_t>(fromMemory.size())));
  EXPECT_EQ(Download(*s, doc), fromMemory);

  testing_support::TempDir tmp;
  std::string big(50000, 'x');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>('a' + i % 26);
  const std::string file = tmp.write("notes.txt", big);
  ASSERT_TRUE(document->storeContentFromFile(file.c_str()));
  EXPECT_EQ(Download(*s, doc), big);

  auto uploads = Requests(peer_->log(), "upload");
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(uploads[0].get("id"), "0x00000021");
  EXPECT_EQ(uploads[0].get("address"), s->ownAddress().c_str());
}

TEST_F(SessionUpload, AServerThatNeverTakesTheBytesIsAFailure) {
  PeerOptions options;
  options.extra = {"--misbehave", "upload-no-connect@38"};
  Ref<KxSession> s = Start(options);
  Ref<KXObject> doc = fetchObject("0x00000021", Ref<Store>(s.get()));
  ASSERT_TRUE(doc);
  Document* document = dynamic_cast<Document*>(doc.get());
  ASSERT_NE(document, nullptr);
  EXPECT_FALSE(document->storeContentFromMemory("lost", 4));
}

}  // namespace
}  // namespace session_test
