#include "text/support/recording_viewer.h"

#include "text/anchors/anchor_record.h"
#include "text/position/position.h"
#include "text/style_definition.h"

namespace {

std::string S(const CString& s) { return s.str(); }
std::string N(long v) { return std::to_string(v); }

char stand_in[1];

}  // namespace

RecordingViewer::RecordingViewer()
    : atom_(reinterpret_cast<Atom*>(stand_in)),
      range_(reinterpret_cast<AnchorRange*>(stand_in)),
      item_(reinterpret_cast<PositionItem*>(stand_in)),
      record_(new AnchorRecord("record")) {}

RecordingViewer::~RecordingViewer() { delete record_; }

std::string RecordingViewer::Joined() const {
  std::string out;
  for (const std::string& c : calls) out += (out.empty() ? "" : " ") + c;
  return out;
}

Atom* RecordingViewer::AddWord(LONG p) { return Answer("word@" + N(p), atom_); }
Atom* RecordingViewer::AddParagraph(LONG p) { return Answer("paragraph@" + N(p), atom_); }
Atom* RecordingViewer::AddPage(LONG p) { return Answer("page@" + N(p), atom_); }
Atom* RecordingViewer::AddTable(LONG p, const TableAttrs& a) {
  return Answer("table@" + N(p) + "(" + N(a.border) + "," + N(a.spacing) + "," + N(a.padding) + "," + N(a.width) +
                    "," + N(a.hasWidth) + "," + N(a.widthPercent) + "," + N(a.wrap) + ")",
                atom_);
}
Atom* RecordingViewer::AddTableItem(LONG p, const CellAttrs& a) {
  return Answer("cell@" + N(p) + "(" + N(a.rowSpan) + "," + N(a.colSpan) + "," + N(a.width) + "," +
                    N(a.widthPercent) + ")",
                atom_);
}
Atom* RecordingViewer::AddTableRow(LONG p, LONG v) {
  calls.push_back("tablerow@" + N(p) + "(" + N(v) + ")");
  return nullptr;
}
Atom* RecordingViewer::AddListItem(LONG p, LONG v) { return Answer("listitem@" + N(p) + "(" + N(v) + ")", atom_); }
Atom* RecordingViewer::AddListItem2(LONG p, LONG v) { return Answer("listitem2@" + N(p) + "(" + N(v) + ")", atom_); }
Atom* RecordingViewer::AddPicture(LONG p, const CString& name, const CString& arg, BYTE inl, LONG a, LONG b) {
  return Answer("picture@" + N(p) + "(" + S(name) + "," + S(arg) + "," + N(inl) + "," + N(a) + "," + N(b) + ")",
                atom_);
}
bool RecordingViewer::SetForm(const CString& action, LONG method, LONG further, FormSubmitter*) {
  return Answer("form(" + S(action) + "," + N(method) + "," + N(further) + ")");
}
Atom* RecordingViewer::AddFormField(LONG p, LONG kind, const FormFieldRecord& r) {
  std::string fields;
  for (int i = 0; i < FormFieldRecord::kCount; ++i) fields += (i ? "|" : "") + S(r[i]);
  return Answer("field@" + N(p) + "(" + N(kind) + ":" + fields + ")", atom_);
}
Atom* RecordingViewer::AddList(LONG p) { return Answer("list@" + N(p), atom_); }
Atom* RecordingViewer::AddHorizontalRule(LONG p, LONG v) { return Answer("rule@" + N(p) + "(" + N(v) + ")", atom_); }
bool RecordingViewer::AddText(LONG p, LONG kind, std::string_view text) {
  return Answer("text@" + N(p) + "(" + N(kind) + "," + std::string(text) + ")");
}
Atom* RecordingViewer::EndAtom(LONG p) { return Answer("end@" + N(p), atom_); }
bool RecordingViewer::SetHolder(LONG p, LONG kind, const CString& name) {
  return Answer("holder@" + N(p) + "(" + N(kind) + "," + S(name) + ")");
}
bool RecordingViewer::PassToCurrent(LONG v) { return Answer("restyle(" + N(v) + ")"); }
bool RecordingViewer::AddWordSpace(LONG p) { return Answer("space@" + N(p)); }
bool RecordingViewer::PushMarker(PositionItem*) { return Answer("marker"); }
PositionItem* RecordingViewer::AddLineBreak(LONG p) { return Answer("linebreak@" + N(p), item_); }
PositionItem* RecordingViewer::AddTab(LONG p, const CString& name, LONG flag) {
  return Answer("tab@" + N(p) + "(" + S(name) + "," + N(flag) + ")", item_);
}
PositionItem* RecordingViewer::AddBorderMark(LONG p, const CString& name, LONG flag) {
  return Answer("border@" + N(p) + "(" + S(name) + "," + N(flag) + ")", item_);
}
PositionItem* RecordingViewer::AddTabStop(LONG p, const CString& name, LONG flag, const TabStopValues& v) {
  return Answer("tabstop@" + N(p) + "(" + S(name) + "," + N(flag) + "," + N(v.a) + "," + N(v.b) + "," + N(v.c) + ")",
                item_);
}
PositionItem* RecordingViewer::AddTableRowItem(LONG p) { return Answer("row@" + N(p), item_); }
PositionItem* RecordingViewer::AddOption(const CString& value, BYTE selected, const CString& t1, BYTE def,
                                         const CString& t2) {
  return Answer("option(" + S(value) + "," + N(selected) + "," + S(t1) + "," + N(def) + "," + S(t2) + ")", item_);
}

bool RecordingViewer::StartRoot(const StyleDefinition* d) { return Answer("root(" + S(d->name) + ")"); }
bool RecordingViewer::PushElement(const StyleDefinition* d) { return Answer("push(" + S(d->name) + ")"); }
bool RecordingViewer::PopElement(const StyleDefinition* d) { return Answer("pop(" + S(d->name) + ")"); }

bool RecordingViewer::PushLevel(LONG set, LONG style, const CString& text, BYTE join) {
  return Answer("level(" + N(set) + "," + N(style) + "," + S(text) + "," + N(join) + ")");
}
bool RecordingViewer::PopLevel(LONG set) { return Answer("poplevel(" + N(set) + ")"); }
bool RecordingViewer::SetValue(LONG set, BYTE restore, LONG value) {
  return Answer("setvalue(" + N(set) + "," + N(restore) + "," + N(value) + ")");
}
bool RecordingViewer::AddValue(LONG set, LONG delta) { return Answer("addvalue(" + N(set) + "," + N(delta) + ")"); }
bool RecordingViewer::FormatLabel(LONG set, List& pieces) {
  pieces.clearAndDelete();
  for (const auto& [kind, text] : label) pieces.append(new LabelPiece(kind, CString(text.c_str())));
  return Answer("format(" + N(set) + ")");
}

AnchorRange* RecordingViewer::AddAnchor(const Position& p, AnchorRecord* d) {
  return Answer("anchor@" + N(p.Number()) + "(" + S(d->Text()) + ")", range_);
}
AnchorRange* RecordingViewer::EndAnchor(const Position& p, AnchorRecord* d) {
  return Answer("endanchor@" + N(p.Number()) + "(" + S(d->Text()) + ")", range_);
}
AnchorRange* RecordingViewer::EndLastAnchor(const Position& p) { return Answer("endlast@" + N(p.Number()), range_); }
AnchorRecord* RecordingViewer::AddDefinition(const CString& text) {
  return Answer("definition(" + S(text) + ")", record_);
}
AnchorRecord* RecordingViewer::FindDefinition(const CString& name) {
  return Answer("find(" + S(name) + ")", record_);
}
AnchorRange* RecordingViewer::AddNamedAnchor(const Position& p, const CString& name) {
  return Answer("named@" + N(p.Number()) + "(" + S(name) + ")", range_);
}
AnchorRange* RecordingViewer::EndNamedAnchor(const Position& p, const CString& name) {
  return Answer("endnamed@" + N(p.Number()) + "(" + S(name) + ")", range_);
}
void RecordingViewer::ApplyAnchorStyles(Atom*) { calls.push_back("anchorstyles"); }

bool RecordingViewer::RequestDocumentPicture(const CString& name, const CString& arg) {
  return Answer("background(" + S(name) + "," + S(arg) + ")");
}
void RecordingViewer::SetPicture(NamedObject*) { calls.push_back("picture"); }
void RecordingViewer::SetName(const CString& name, const CString& value) {
  calls.push_back("name(" + S(name) + "," + S(value) + ")");
}
void RecordingViewer::SetColor(int index, const ColorRecord& c) {
  calls.push_back("color(" + N(index) + "," + N(c.red) + "," + N(c.green) + "," + N(c.blue) + ")");
}
void RecordingViewer::SetColorPair(int index, const ColorRecord& c) {
  calls.push_back("colorpair(" + N(index) + "," + N(c.red) + "," + N(c.green) + "," + N(c.blue) + ")");
}
void RecordingViewer::ClearColors() { calls.push_back("clearcolors"); }
