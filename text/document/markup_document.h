// A text document: turns one document file (HTML or KTF) into a tree of
// layout atoms. The view hands it an input stream and the server's anchors
// and calls Load; the document reads token items from its token source (the
// tag-definition table over the tokenizer), weaves in the items made from
// the anchors, and passes every item to its dispatcher, which drives the
// viewer document and through it the builder.
//
// The document owns its stream, its token source, its viewer document (and
// through it the tree until the view takes it), the anchor records and the
// anchor ranges. It is also the owner of its forms: a submission is encoded
// here and handed to the view as a request.
#pragma once

#include <istream>
#include <memory>

#include "core/list.h"
#include "mfc/cstring.h"
#include "text/anchors/anchor_record.h"
#include "text/build/viewer_document.h"
#include "text/link_maker.h"
#include "text/dispatch/token_dispatcher.h"
#include "text/form/form.h"
#include "text/layout_support/layout_rect.h"
#include "text/layout_support/tab_settings.h"
#include "text/position/position.h"

class AnchorRange;
class BuildListener;
class BuildTarget;
class DefinitionSet;
class DingbatTable;
class DocumentView;
class PictureContext;
class ProgressReporter;
class StyleDefinition;
class TextOutput;
class TokenSource;

// What a document is built with, besides its own file: where pictures come
// from and go, and the view that shows it.
struct DocumentResources {
  const PictureContext* fileSource = nullptr;  // copied for picture requests
  BuildListener* listener = nullptr;           // the file pool's listener
  DingbatTable* dingbats = nullptr;
  DocumentView* view = nullptr;                // forwards form requests
  AtomFactory* factory = nullptr;              // the installed one when null
  ProgressReporter* progress = nullptr;
};

class MarkupDocument : public LinkMaker, public FormSubmitter {
 public:
  // The result of Load when every atom was closed.
  static constexpr int kLoadComplete = -1;
  // The view first hears of a build's progress at this position, then
  // whenever the position has doubled, up to the last report.
  static constexpr LONG kFirstContentReport = 16 * 1024;
  static constexpr LONG kLastContentReport = 0x20000000;

  ~MarkupDocument() override;

  // ---- Link records
  CString MakeAnchorLink(const CString& text) override;
  CString MakeUrlLink(const CString& text, const CString& linkType) override;
  void EncodeFormSubmission(const Form& form, CString& action, CString& query) override;

  // ---- Loading
  // Takes the stream (a previous one is deleted).
  void SetInputStream(std::unique_ptr<std::istream> stream);
  // The server's anchors of this document: records each followed by a
  // blank line. They are woven into the next load.
  void SetAnchors(const CString& anchorText);
  // New anchors for a document that may be built already: taken as by
  // SetAnchors; a built document is loaded again (for the target of its last
  // load), so the view must take the new root afterwards.
  virtual void UpdateAnchors(const CString& anchorText);
  // Load with the element of the colour style of (red, green, blue, scale)
  // opened first.
  virtual int LoadWithColor(BYTE red, BYTE green, BYTE blue, LONG scale, BuildTarget* target, bool fresh);
  // Builds the document: -1 when every atom could be closed, else the
  // position at which the build broke off (0 without a stream, or when no
  // build could begin). `definitionName` names a style element opened
  // before the first item; `fresh` false continues into a new tree while
  // keeping the old one for whoever took it.
  virtual int Load(BuildTarget* target, const CString& definitionName, bool fresh);

  // Where the view first hears of the build's progress (at least 1).
  void SetFirstContentReport(LONG position) { firstContentReport_ = position < 1 ? 1 : position; }

  // ---- Submission (the document submits its forms)
  void Submit(Form& form) override;
  void SubmitAt(Form& form, const CString& argument) override;

  // ---- Selection: the caret and the selected range, drawn by the root.
  void SetCaret(const Position& position);
  void SetSelectionEnd(const Position& position);
  void SelectRange(const PositionRange& range);
  void StartSelectionAt(TextOutput* output, LONG x, LONG y, int flag);
  void ExtendSelectionTo(TextOutput* output, LONG x, LONG y, int flag);
  // A new position under the point (the caller deletes it), or null.
  Position* PositionAtPoint(TextOutput* output, LONG x, LONG y);
  LayoutRect GetCaretRect(TextOutput* output);
  LayoutRect GetSelectionStartRect(TextOutput* output);
  // The view's cached rectangles go stale after each format.
  void ForgetCachedRects();
  // A new position for a cursor key (0 up, 1 down, 2 left, 3 right), or
  // null; `unit` and `distance` as the atoms' step takes them.
  Position* MoveCaret(int key, int unit, TextOutput* output, LONG distance);
  AnchorRange* FindAnchorAt(const Position& position) const;
  AnchorRange* NextAnchor(bool forward) const;
  // The link records of the anchors at a position, or overlapping the
  // selection, each followed by four line feeds.
  CString GetLinksAt(const Position& position) const;
  CString GetLinksOfSelection() const;
  // Whether the root knows where a position lies.
  virtual bool GoToPosition(TextOutput* output, const Position& position);
  const PositionRange& Selection() const { return selection_; }

  // ---- Parts
  ViewerDocument& Viewer() { return viewer_; }
  Atom* GetRoot() const { return viewer_.GetRoot(); }
  // Hands the tree to the caller (the view), who deletes it.
  Atom* TakeRoot() { return viewer_.TakeRoot(); }
  TokenSource* Tokens() const { return tokens_.get(); }
  TokenDispatcher& Dispatcher() { return dispatcher_; }
  const List& AnchorRanges() const { return anchorRanges_; }
  AnchorRecordList& AnchorRecords() { return anchorRecords_; }
  const List& Insertions() const { return insertions_; }
  TabSettingsList& TabList() { return tabSettings_; }
  const CString& RecordText() const { return recordText_; }
  LONG StreamStart() const { return streamStart_; }
  DocumentView* View() const { return view_; }

  // The style of the root element of every document: the default style.
  static const StyleDefinition& BasisStyle();

 protected:
  // `tokens` is the document's token source (owned); `definitions` the set
  // of its type.
  MarkupDocument(const CString& recordText, std::unique_ptr<TokenSource> tokens, DefinitionSet* definitions,
                 const DocumentResources& resources, BYTE flag);

  // Base, colours and the body offset from the server's record.
  void ApplyRecordSettings();
  // The load loop from the current stream position; `ktf` turns paragraph
  // breaks into paragraphs.
  int Build(BuildTarget* target, const CString& definitionName, bool fresh, bool ktf);
  void ResetSelection() { SetCaret(FirstPosition()); }
  std::istream* Stream() const { return stream_.get(); }
  void ReplaceTokens(std::unique_ptr<TokenSource> tokens);

 private:
  void Forward(Form& form, const CString& extra);
  void MarkBetween(const Position& a, const Position& b, bool mark);

  List anchorRanges_;  // AnchorRange, owned
  AnchorRecordList anchorRecords_;
  bool anchorsChanged_ = true;
  List insertions_;  // Insertion, owned
  TabSettingsList tabSettings_;
  ViewerDocument viewer_;
  TokenDispatcher dispatcher_;
  std::unique_ptr<std::istream> stream_;
  CString recordText_;
  DocumentView* view_;
  std::unique_ptr<TokenSource> tokens_;
  LONG streamStart_ = 0;
  LONG firstContentReport_ = kFirstContentReport;
  ProgressReporter* progress_;
  BuildTarget* lastTarget_ = nullptr;
  // Selection state.
  PositionRange selection_{FirstPosition(), FirstPosition()};
  const PositionRange* remembered_ = nullptr;
  LayoutRect startRect_;
  LayoutRect caretRect_;
};

// Encodes one name or value of a form submission: letters, digits, "_", "-"
// and "." stay, a blank is "+", a line end (CR LF, LF or CR alone) is one
// "%0D%0A", any other byte "%" and two lower-case hexadecimal digits.
CString EncodeFormValue(const CString& text);
