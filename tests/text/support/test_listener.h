// Picture sources for the tests: a listener that answers picture requests
// with named test pictures and records them, a picture context, and a
// picture factory that makes pictures from file bytes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "text/support/recording_atoms.h"
#include "text/build/build_listener.h"
#include "text/resources/picture_factory.h"

struct TestContext : PictureContext {
  explicit TestContext(std::string n = "doc") : name(std::move(n)) {}
  PictureContext* Clone() const override { return new TestContext(name + "'"); }
  std::string name;
};

class RecordingListener : public BuildListener {
 public:
  ~RecordingListener() override;
  void BuildFinished(BuildTarget* target, LONG generation) override;
  NamedObject* RequestPicture(const CString& name, const CString& argument, const PictureContext* context,
                              BuildTarget* target, LONG generation) override;

  std::vector<std::string> requests;  // "name|argument|context"
  std::vector<LONG> finished;         // generations
  std::vector<LONG> requestGenerations;

 private:
  std::vector<std::unique_ptr<TestPicture, void (*)(TestPicture*)>> pictures_;
};

// Pictures are made from bytes as "file:<bytes>"; "bad" bytes are no
// picture.
class TestPictureFactory : public PictureFactory {
 public:
  TestPictureFactory();
  ~TestPictureFactory() override;
  NamedObject* CreatePicture(const void* data, LONG size) override;
  NamedObject* DefaultPicture() override { return default_; }
  TestPicture* default_;
  int created = 0;
};

// Installs a factory for the life of a test.
struct InstalledPictures {
  InstalledPictures() { InstallPictureFactory(&factory); }
  ~InstalledPictures() { InstallPictureFactory(nullptr); }
  TestPictureFactory factory;
};
