// The page object that shows a text document (HTML or KTF) inside a page.
// It owns a text view window, finds the document's local file through the
// shell (the file cache, downloading on a miss), builds the document over
// it, and scrolls to the stretch that the anchor which led here names. A
// link clicked in the view moves within the document when it leads there,
// and becomes a navigation of the shell otherwise; a submitted form becomes
// a goto of a remote pseudo document that carries the query.
#pragma once

#include <memory>

#include "core/kx_object.h"
#include "core/objref.h"
#include "layout/view/text_view_listener.h"
#include "mfc/cstring.h"
#include "pages/objects/vobject.h"
#include "pages/page/vpage.h"
#include "text/build/build_listener.h"

class CDC;
class CPrintInfo;
class MarkupDocument;
class TextView;

// What a text document's pictures are asked with: the document's cache key
// (its address, or the file name when it has no object), which is also what
// its loads are cancelled by.
class TextFileSource : public PictureContext {
 public:
  explicit TextFileSource(const CString& key) : key_(key) {}
  PictureContext* Clone() const override { return new TextFileSource(key_); }
  const CString& Key() const { return key_; }

 private:
  CString key_;
};

// What a text document's build is for: a background picture that a server
// anchor names becomes the document's background, fetched like its inline
// pictures and painted by the view.
class TextLoadTarget : public BuildTarget {
 public:
  void SetDocument(MarkupDocument* document) { document_ = document; }
  void BackgroundPicture(const CString& idText) override;

 private:
  MarkupDocument* document_ = nullptr;  // the view's; null without one
};

class VText : public VObject, public TextViewListener, public PrintablePageObject {
 public:
  VText(int left, int top, int right, int bottom);
  VText(int left, int top, int right, int bottom, const char* fileName);
  // Shows the object (an anchor is followed to its document); loads when
  // initialised.
  VText(int left, int top, int right, int bottom, const Ref<KXObject>& document);
  ~VText() override;

  const char* GetClassName() const override;
  void Initialize() override;
  void ReadStyleAttributes() override;
  bool SetStringAttribute(const char* name, const char* text) override;
  bool SetRectAttribute(const char* name, int left, int top, int right, int bottom) override;
  void SetRect(int left, int top, int right, int bottom) override;
  void SetState(DWORD flags) override;
  void OnIdle() override;
  // At once while pictures of text documents wait to be fetched (each
  // idle call fetches one).
  DWORD IdleWait() const override;

  // A different name loads at once; the same name does nothing.
  void SetFileName(const char* name);
  const CString& FileName() const { return fileName_; }

  // ---- TextViewListener
  void FollowAnchor(const CString& linkText) override;
  void ForwardRequest(const CString& action, const CString& query) override;

  // ---- Printing: the page prints the document of its text object.
  BOOL PreparePrinting(CPrintInfo* info) override;
  void BeginPrinting(CDC* dc, CPrintInfo* info) override;
  void EndPrinting(CDC* dc, CPrintInfo* info) override;
  void Print(CDC* dc, CPrintInfo* info) override { PrintPage(dc, info); }
  void PrintPage(CDC* dc, CPrintInfo* info);

  TextView* View() const { return view_.get(); }
  const Ref<KXObject>& DocumentObject() const { return document_; }

  // A Position= value: two numbers, decimal ("%d %d") or hexadecimal
  // ("0x%x 0x%x"), start >= 0 and end >= start. False (both 0) otherwise.
  static bool ParseAnchorPosition(const CString& text, LONG& start, LONG& end);
  // The link records of a document's link anchors, each ending in a blank
  // line; empty when it has none.
  static CString CollectLinkRecords(const Ref<KXObject>& document);
  // The record of the remote pseudo document that a form submission asks
  // for: the action's record without its method line, with the method and
  // the query as CGI lines.
  static CString SubmissionRecord(const CString& action, const CString& query);
  // The absolute address a form submits to: an address resolved against
  // the document's base, the base itself for no address; empty when no
  // absolute address results.
  static CString ResolveSubmissionAddress(const CString& address, const CString& base);

 private:
  void Load();
  Ref<KXObject> FindAnchor(const CString& linkText);
  void GetAnchorRange(const Ref<KXObject>& anchor, LONG& start, LONG& end);
  void CancelPendingLoads();
  void createView();
  void dropAnswerFile();

  Ref<KXObject> document_;
  std::unique_ptr<TextView> view_;
  CString fileName_;
  std::unique_ptr<TextFileSource> source_;
  TextLoadTarget loadTarget_;
  // The cache key whose file is kept for the document shown (empty: none).
  CString lockedKey_;
  // The file of a form's answer shown (empty: none); this object's own.
  CString answerFile_;
};
