#include "text/support/test_listener.h"

#include <string>

namespace {

void releasePicture(TestPicture* p) { p->release(); }

}  // namespace

RecordingListener::~RecordingListener() = default;

void RecordingListener::BuildFinished(BuildTarget*, LONG generation) { finished.push_back(generation); }

NamedObject* RecordingListener::RequestPicture(const CString& name, const CString& argument,
                                               const PictureContext* context, BuildTarget*, LONG generation) {
  std::string ctx = context ? static_cast<const TestContext*>(context)->name : "-";
  requests.push_back(std::string(name.c_str()) + "|" + argument.c_str() + "|" + ctx);
  requestGenerations.push_back(generation);
  if (name.IsEmpty()) return nullptr;
  auto* p = new TestPicture(name.c_str());
  p->acquire();  // the listener keeps its pictures, as the pool does
  pictures_.emplace_back(p, releasePicture);
  return p;
}

TestPictureFactory::TestPictureFactory() : default_(new TestPicture("default")) { default_->acquire(); }

TestPictureFactory::~TestPictureFactory() { default_->release(); }

NamedObject* TestPictureFactory::CreatePicture(const void* data, LONG size) {
  std::string bytes(static_cast<const char*>(data), size);
  if (bytes == "bad") return nullptr;
  ++created;
  return new TestPicture("file:" + bytes);
}
