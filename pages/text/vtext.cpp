#include "pages/text/vtext.h"

#include <cstdio>
#include <fstream>
#include <memory>
#include <utility>

#include "core/anchor.h"
#include "core/attr_record.h"
#include "core/document.h"
#include "core/logbook.h"
#include "core/object_utils.h"
#include "core/store_registry.h"
#include "core/uri.h"
#include "framework/user_break.h"
#include "layout/view/text_view.h"
#include "layout/view/view_atom_factory.h"
#include "mfc/afx.h"
#include "mfc/print.h"
#include "net/references.h"
#include "pages/shell_link.h"
#include "pages/style/property_getters.h"
#include "pages/text/shell_picture_fetcher.h"
#include "text/document/html_document.h"
#include "text/draw/draw_styles.h"
#include "text/style/color_table.h"
#include "text/token_source.h"
#include "text/resources/viewer_resources.h"
#include "win/kernel.h"
#include "win/path_map.h"
#include "win/print.h"
#include "win/user.h"

namespace {

// Four line feeds end each link record of a link text.
constexpr char kLinkEnd[] = "\n\n\n\n";

void log(const CString& text) { TheLogbook().Write(text); }

Ref<KXObject> resolveReference(const CString& name) {
  ObjectUtilityServices* services = GetObjectUtilityServices();
  return services && !name.IsEmpty() ? services->resolveReference(name) : Ref<KXObject>();
}

// Runs `f` under the long-operation flag (after waiting for it to clear
// when `wait`); without waiting and with the flag set, does nothing and
// answers false.
template <class F>
bool underLongOperation(bool wait, F f) {
  if (wait) waitWhileBusy();
  if (LongOperationFlag()) return false;
  SetLongOperationFlag(1);
  f();
  SetLongOperationFlag(0);
  return true;
}

// The line the document's encoder ends every action with.
constexpr char kMethodLine[] = "\nMethod=";

// A record that carries a query is a form's submission: its answer is asked
// for with that record.
bool carriesQuery(const Ref<KXObject>& object) {
  return object && !AttrRecord(object->recordText()).getAttribute("CGI_REQUEST_METHOD=").IsEmpty();
}

}  // namespace

VText::VText(int left, int top, int right, int bottom) : VObject(left, top, right, bottom) { createView(); }

VText::VText(int left, int top, int right, int bottom, const char* fileName) : VObject(left, top, right, bottom) {
  createView();
  SetFileName(fileName);
}

VText::VText(int left, int top, int right, int bottom, const Ref<KXObject>& document)
    : VObject(left, top, right, bottom), document_(document) {
  createView();
}

void TextLoadTarget::BackgroundPicture(const CString& idText) {
  if (document_ && !idText.IsEmpty()) document_->Viewer().RequestDocumentPicture(idText, idText);
}

VText::~VText() {
  CancelPendingLoads();
  // The document's file may leave the cache once nothing shows it.
  if (!lockedKey_.IsEmpty()) Shell().UnlockCached(lockedKey_);
  dropAnswerFile();
  loadTarget_.SetDocument(nullptr);
  if (view_) {
    if (::IsWindow(view_->GetSafeHwnd())) {
      view_->ShowWindow(SW_HIDE);
      view_->DestroyWindow();
    }
    view_.reset();
  }
}

void VText::createView() {
  InstallTextViewFactories();
  EnsureViewerPool();
  view_ = std::make_unique<TextView>(this);
}

const char* VText::GetClassName() const { return "VText"; }

void VText::OnIdle() {
  VObject::OnIdle();
  // One picture per idle call: the window stays responsive while a page of
  // pictures arrives.
  ViewerPictureFetcher().RunPending(1);
}

DWORD VText::IdleWait() const { return ViewerPictureFetcher().Waiting() > 0 ? 0 : kNoIdleWait; }

void VText::Initialize() {
  if (State() & kInitialised) return;
  VObject::Initialize();
  if (view_ && !view_->GetSafeHwnd()) {
    CWnd* parent = GetWindow();
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (Has(kHidden) ? 0 : WS_VISIBLE);
    if (parent && view_->CreateView(style, Rect(), parent)) SetWindow(view_->GetSafeHwnd());
  }
  Load();
}

void VText::ReadStyleAttributes() {
  if (!GetStyle()) {
    // The text style of the style descriptions, when there is one; taking
    // it reads the attributes again.
    LoadStyle(nullptr, "Text()", "Text()", Ref<KXObject>());
    if (GetStyle()) return;
  }
  VObject::ReadStyleAttributes();
  const PropertyStruct* s = GetStyle();
  if (!s) return;
  RECT r = getRect(s->StyleQuery("pos"), Rect());
  SetRect(r.left, r.top, r.right, r.bottom);
  CString file = getFile(s->StyleQuery("filename"), fileName_);
  SetFileName(file);
}

bool VText::SetStringAttribute(const char* name, const char* text) {
  if (CString(name) == "filename") {
    SetFileName(text);
    return true;
  }
  return VObject::SetStringAttribute(name, text);
}

bool VText::SetRectAttribute(const char* name, int left, int top, int right, int bottom) {
  if (CString(name) == "pos") {
    SetRect(left, top, right, bottom);
    return true;
  }
  return VObject::SetRectAttribute(name, left, top, right, bottom);
}

void VText::SetRect(int left, int top, int right, int bottom) { VObject::SetRect(left, top, right, bottom); }

void VText::SetState(DWORD flags) {
  VObject::SetState(flags);
  if (view_ && view_->GetSafeHwnd()) view_->ShowWindow(Has(kHidden) ? SW_HIDE : SW_SHOW);
}

void VText::SetFileName(const char* name) {
  CString n(name ? name : "");
  if (n == fileName_) return;
  document_ = Ref<KXObject>();
  fileName_ = n;
  if (State() & kInitialised) Load();
}

// ---- Loading ---------------------------------------------------------------------

void VText::Load() {
  Ref<KXObject> object = followLink(document_);
  CString key;
  LONG start = 0, end = 0;
  if (!object) {
    if (fileName_.IsEmpty()) return;
    document_ = resolveReference(fileName_);
    object = followLink(document_);
    key = object ? objectUrl(object) : fileName_;
  } else {
    key = objectUrl(object);
    GetAnchorRange(document_, start, end);
  }
  // A form's answer never comes from the cache: the cache would fetch it
  // by the action's address, which does not hold the query, and would
  // answer the next submission with this one's page.
  const bool answer = carriesQuery(object);
  CString file;
  if (answer) {
    underLongOperation(true, [&] { DownloadDocumentToFile(object, file); });
  } else {
    file = Shell().AcquireCached(key);
  }
  if (file.IsEmpty()) {
    log("Cannot access text document " + key);
    return;
  }
  // The file stays in the cache while this object shows its document; a
  // load that ends before the view takes the document gives it back. An
  // answer's file is this object's own, kept until another is shown.
  struct Lock {
    CString key;
    ~Lock() {
      if (!key.IsEmpty()) Shell().UnlockCached(key);
    }
  } lock{answer ? CString() : key};
  if (answer) {
    dropAnswerFile();
    answerFile_ = file;
  }
  CancelPendingLoads();
  source_ = std::make_unique<TextFileSource>(key);
  DocumentResources resources;
  ViewerResources::Shared().FillDocumentResources(resources);
  resources.fileSource = source_.get();
  resources.view = view_.get();
  const CString record = object ? object->recordText() : CString();
  std::unique_ptr<MarkupDocument> doc = MakeDocumentFor(record, resources, 1);
  if (!doc) return;
  if (object) {
    underLongOperation(true, [&] { doc->SetAnchors(CollectLinkRecords(object)); });
  }
  // The cache names its files as the program sees them (drive and
  // backslashes); the stream needs the host's own path.
  auto stream = std::make_unique<std::ifstream>(win::HostPath(file.c_str()), std::ios::binary);
  if (!stream->is_open()) {
    log("Cannot access text document " + key);
    return;
  }
  doc->SetInputStream(std::move(stream));
  LoadColors(doc->Viewer().Colors());
  MarkupDocument* shown = doc.get();
  loadTarget_.SetDocument(shown);
  if (view_) {
    // The view shows the document while it is built: a long text appears
    // from its beginning.
    view_->SetDocument(std::move(doc));
    // The lock of the document shown before is given back instead.
    std::swap(lock.key, lockedKey_);
  }
  int result = shown->Load(&loadTarget_, "", true);
  if (result != MarkupDocument::kLoadComplete) {
    CString text;
    text.Format("HTML-Error on Position: %i", result);
    MessageBox(nullptr, text, nullptr, MB_OK | MB_ICONEXCLAMATION);
  }
  if (!view_) {
    loadTarget_.SetDocument(nullptr);
    return;
  }
  view_->DocumentComplete();
  if (start > 0) view_->GoToRange(start, end);
}

CString VText::CollectLinkRecords(const Ref<KXObject>& object) {
  CString out;
  auto* document = dynamic_cast<Document*>(object.get());
  if (!document) return out;
  // In the order of their places, so that each record joins the document's
  // insertions at their end.
  for (const Ref<KXObject>& anchor : LinkAnchorsInPlaceOrder(*document)) {
    CString record = anchor->recordText();
    if (record.Right(1) != "\n") record += "\n";
    out += record + "\n";
  }
  return out;
}

// ---- Anchors ---------------------------------------------------------------------

bool VText::ParseAnchorPosition(const CString& text, LONG& start, LONG& end) {
  auto valid = [&](int read, long a, long b) { return read == 2 && a >= 0 && b >= a; };
  long a = 0, b = 0;
  int read = std::sscanf(text.c_str(), "%ld %ld", &a, &b);
  if (!valid(read, a, b)) {
    unsigned long ha = 0, hb = 0;
    read = std::sscanf(text.c_str(), "0x%lx 0x%lx", &ha, &hb);
    a = static_cast<long>(ha);
    b = static_cast<long>(hb);
    if (!valid(read, a, b) || ha > 0x7FFFFFFF || hb > 0x7FFFFFFF) {
      start = end = 0;
      return false;
    }
  }
  start = static_cast<LONG>(a);
  end = static_cast<LONG>(b);
  return true;
}

void VText::GetAnchorRange(const Ref<KXObject>& h, LONG& start, LONG& end) {
  start = end = 0;
  auto* anchor = dynamic_cast<Anchor*>(h.get());
  if (!anchor || anchor->isSourceAnchor()) return;
  // A position that cannot be read is not used at all.
  if (!ParseAnchorPosition(anchor->getPosition(), start, end))
    log("invalid position field in textanchor " + objectUrl(h));
}

Ref<KXObject> VText::FindAnchor(const CString& linkText) {
  int at = linkText.Find(kLinkEnd);
  if (at <= 0) return {};
  CString record = linkText.Left(at);
  CString id = AttrRecord(record).getAttribute("ObjectID=");
  if (id.IsEmpty() || id[0] == '-') return {};
  Ref<KXObject> object = fetchObject(id, Ref<Store>());
  if (!object || object->getClassCode() != kClassAnchor) return {};
  return object;
}

void VText::FollowAnchor(const CString& linkText) {
  Ref<KXObject> anchor = FindAnchor(linkText);
  if (!anchor) {
    // A link the document made itself (an address in its text) names no
    // server anchor: its record describes the remote document to go to.
    const int at = linkText.Find(kLinkEnd);
    const CString record = at > 0 ? linkText.Left(at) + "\n" : CString();
    if (AttrRecord(record).getAttribute("Type=") == "Document") {
      Ref<KXObject> remote = objectForRecord(record, document_ ? document_->getStore() : Ref<Store>());
      if (remote) {
        CancelPendingLoads();
        Shell().PushGoto(remote);
        return;
      }
    }
    log("cannot follow Anchor " + linkText);
    return;
  }
  Ref<KXObject> destination;
  if (!underLongOperation(false, [&] { destination = followLink(anchor); })) destination = anchor;
  if (!destination) {
    log("cannot follow Anchor " + linkText);
    return;
  }
  Ref<KXObject> shown = followLink(document_);
  if (shown && destination.get() == shown.get()) {
    if (view_) view_->GoToRange(0, 0);
    return;
  }
  auto* destAnchor = dynamic_cast<Anchor*>(destination.get());
  if (destAnchor && !destAnchor->isSourceAnchor() && !LongOperationFlag()) {
    Ref<KXObject> target;
    underLongOperation(false, [&] { target = followLink(destination); });
    if (target && shown && target.get() == shown.get()) {
      LONG start = 0, end = 0;
      GetAnchorRange(destination, start, end);
      if (view_) view_->GoToRange(end, start);
      return;
    }
  }
  CancelPendingLoads();
  Shell().ExecuteAnchorAction(anchor);
}

CString VText::SubmissionRecord(const CString& action, const CString& query) {
  CString record;
  CString method = "POST";
  // The action's record, line by line, without the method line the form
  // added and without an object id: every submission is a new request,
  // never one answered from the object cache.
  int pos = 0;
  while (pos < action.GetLength()) {
    int nl = action.Find('\n', pos);
    CString line = nl < 0 ? action.Mid(pos) : action.Mid(pos, nl - pos);
    pos = nl < 0 ? action.GetLength() : nl + 1;
    if (line.IsEmpty()) continue;
    if (line.Left(7) == "Method=") {
      method = line.Mid(7) == "WWW_GET" ? "GET" : "POST";
      continue;
    }
    if (line.Left(9) == "ObjectID=" || line.Left(6) == "RefID=") continue;
    if (line.Left(17) == "CGI_QUERY_STRING=" || line.Left(19) == "CGI_REQUEST_METHOD=") continue;
    record += line + "\n";
  }
  // The answer of a form is a text; named here, the object made from the
  // record adds no line after the query, which must end the record.
  AttrRecord lines(record);
  if (lines.getAttribute("RemoteDocType=").IsEmpty()) record += "RemoteDocType=text\n";
  if (lines.getAttribute("MimeType=").IsEmpty()) record += "MimeType=text/html\n";
  record += "CGI_REQUEST_METHOD=" + method + "\nCGI_QUERY_STRING=" + query + "\n";
  return record;
}

CString VText::ResolveSubmissionAddress(const CString& address, const CString& base) {
  // No address submits to the document itself.
  if (address.IsEmpty()) return base;
  URI uri;
  if (!base.IsEmpty() && !uri.Parse(base)) return CString();
  if (!uri.Parse(address) || uri.scheme.IsEmpty()) return CString();
  return uri.toString();
}

void VText::ForwardRequest(const CString& action, const CString& query) {
  const int at = action.ReverseFind('\n');
  const bool hasMethod = at >= 0 && action.Mid(at, static_cast<int>(sizeof kMethodLine) - 1) == kMethodLine;
  const CString target = hasMethod ? action.Left(at) : action;
  const CString methodLine = hasMethod ? action.Mid(at + 1) : CString("Method=WWW_POST");
  MarkupDocument* doc = view_ ? view_->Document() : nullptr;
  AttrRecord own(target);
  CString record;
  if (!own.getAttribute("Type=").IsEmpty() && !own.getAttribute("Host=").IsEmpty()) {
    record = target;
  } else if (doc) {
    // A plain address, or a link record the document could not place (a
    // relative address without a base when it was read): the address is
    // resolved against the document's base now.
    CString address = own.getAttribute("Type=").IsEmpty() ? target : own.getAttribute("Hint=");
    if (address.Left(4).CompareNoCase("URL:") == 0) address = address.Mid(4);
    address.TrimLeft();
    address.TrimRight();
    const CString url =
        ResolveSubmissionAddress(address, doc->Viewer().Colors().GetName(NamedValueSource::kReferenceBase));
    if (!url.IsEmpty()) record = doc->MakeUrlLink(url, CString());
  }
  Ref<Store> store = document_ ? document_->getStore() : Ref<Store>();
  Ref<KXObject> pseudo;
  if (!record.IsEmpty()) {
    if (record.Right(1) != "\n") record += "\n";
    pseudo = objectForRecord(SubmissionRecord(record + methodLine, query), store);
  }
  if (!pseudo) {
    log("cannot submit form to " + target);
    return;
  }
  CancelPendingLoads();
  Shell().PushGoto(pseudo);
}

void VText::dropAnswerFile() {
  if (answerFile_.IsEmpty()) return;
  ::DeleteFile(answerFile_.c_str());
  answerFile_.Empty();
}

void VText::CancelPendingLoads() {
  if (view_ && view_->Document()) view_->Document()->Viewer().GetBuilder().Finish();
}

// ---- Printing ---------------------------------------------------------------------

BOOL VText::PreparePrinting(CPrintInfo* info) {
  if (!view_ || !info || !info->m_pPD) return 0;
  info->m_pPD->m_pd.Flags |= PD_NOPAGENUMS;
  if (view_->GetSelectionStart() != view_->GetSelectionEnd()) {
    info->m_pPD->m_pd.Flags &= ~PD_NOSELECTION;
    info->m_pPD->m_pd.Flags |= PD_SELECTION;
  }
  return 1;
}

void VText::BeginPrinting(CDC* dc, CPrintInfo* info) {
  if (view_) view_->BeginPrinting(dc, info);
}

void VText::EndPrinting(CDC*, CPrintInfo*) {
  if (view_) view_->EndPrinting();
}

void VText::PrintPage(CDC* dc, CPrintInfo* info) {
  if (!view_ || !info) return;
  CString line;
  line.Format("Text printing page %i/%i", info->m_nCurPage, info->GetMaxPage());
  log(line);
  CString right;
  right.Format("%u", info->m_nCurPage);
  view_->PrintPage(dc, info, fileName_.IsEmpty() ? objectUrl(document_) : fileName_, right);
}
