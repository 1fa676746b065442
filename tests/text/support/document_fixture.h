// Documents loaded for the tests: the shipped definitions (data/textdefs)
// through an application whose settings name them, a recording atom
// factory, a recording picture listener and a view that keeps the requests
// of form submissions.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "text/document/document_view.h"
#include "text/document/html_document.h"
#include "text/support/profile_app.h"
#include "text/support/recording_atoms.h"
#include "text/support/test_listener.h"

struct RecordingView : DocumentView {
  void ForwardRequest(const CString& action, const CString& query) override {
    requests.push_back(std::string(action.c_str()) + "|" + query.c_str());
  }
  std::vector<std::string> requests;
};

// A build target that keeps the background pictures it is told of.
struct RecordingTarget : BuildTarget {
  void BackgroundPicture(const CString& idText) override { backgrounds.push_back(idText.c_str()); }
  std::vector<std::string> backgrounds;
};

class DocumentFixture {
 public:
  DocumentFixture();
  ~DocumentFixture();

  DocumentResources resources();
  // A new document of the record's kind over `text`.
  std::unique_ptr<MarkupDocument> Make(const std::string& record, const std::string& text);
  // The tree of a document's root.
  static std::string Tree(const MarkupDocument& doc, bool styles = false);
  // The file of a sample document (data/sample/documents/<name>).
  static std::string SampleFile(const std::string& name);
  static std::string ReadFile(const std::string& path);

  ProfileApp app;
  RecordingFactory factory;
  RecordingListener listener;
  TestContext source;
  RecordingView view;
  RecordingTarget target;
};
