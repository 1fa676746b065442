// Documents built from HTML or KTF text with the shipped definitions and
// the layout's own atoms, for tests of what a real build lays out.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "layout/atoms/layout_atom_factory.h"
#include "mfc/app.h"
#include "support/temp_dir.h"
#include "text/build/build_listener.h"
#include "text/document/document_view.h"
#include "text/document/markup_document.h"

class LayoutDocuments {
 public:
  LayoutDocuments();
  ~LayoutDocuments();
  // A loaded document of the record's kind ("MimeType=text/html\n" for
  // HTML) over the text; null when it did not load completely.
  std::unique_ptr<MarkupDocument> Load(const std::string& record, const std::string& text);
  // Called each time a build reports how far it has come.
  std::function<void(MarkupDocument&, LONG)> onContent;

 private:
  struct NoPictures : BuildListener {
    void BuildFinished(BuildTarget*, LONG) override {}
    NamedObject* RequestPicture(const CString&, const CString&, const PictureContext*, BuildTarget*, LONG) override {
      return nullptr;
    }
  };
  struct Source : PictureContext {
    PictureContext* Clone() const override { return new Source; }
  };
  struct View : DocumentView {
    explicit View(LayoutDocuments& owner) : owner(owner) {}
    void ForwardRequest(const CString&, const CString&) override {}
    void ContentAdded(MarkupDocument& document, LONG count) override {
      if (owner.onContent) owner.onContent(document, count);
    }
    LayoutDocuments& owner;
  };

  testing_support::TempDir dir_;
  CWinApp app_;
  LayoutAtomFactory factory_;
  NoPictures listener_;
  Source source_;
  View view_{*this};
  BuildTarget target_;
};
