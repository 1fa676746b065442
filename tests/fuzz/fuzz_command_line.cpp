// fuzz-libs: zemra_app
// Command texts of the user command interpreter from arbitrary bytes: the
// text (up to a NUL) is split into commands and each is read as a statement
// against the argument list (after the NUL); the lexical routines read every
// command from its start; and "set" assignments are made to a small group of
// page objects. A refused assignment must not have reached a setter, and an
// accepted one must have reached exactly one.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/interpreter/command_text.h"
#include "app/interpreter/interpreter.h"
#include "app/interpreter/statement.h"
#include "core/logbook.h"
#include "pages/objects/vgroup.h"
#include "pages/style/property_getters.h"
#include "pages/style/property_table.h"
#include "pages/style/style_expressions.h"

namespace {

constexpr std::size_t kMaxInput = 16 * 1024;
constexpr int kMaxNames = 200000;

constexpr char kStyles[] =
    "<Style Description>\n"
    "Align = (LEFT, RIGHT)\n"
    "Probe = { String caption; Boolean border; Color fgcolor; Value size; Rect pos;\n"
    "          File picture; Area area = \"0 0 9 9\"; Align align; Probe2 = { Value x } }\n";

int gCalls = 0;

// Takes every assignment and counts it.
class Probe : public VGroup {
 public:
  Probe() : VGroup(0, 0, 10, 10) {}
  bool SetBoolAttribute(const char*, bool) override { return ++gCalls, true; }
  bool SetStringAttribute(const char*, const char*) override { return ++gCalls, true; }
  bool SetNumberAttribute(const char*, int) override { return ++gCalls, true; }
  bool SetColorAttribute(const char*, COLORREF) override { return ++gCalls, true; }
  bool SetRectAttribute(const char*, int, int, int, int) override { return ++gCalls, true; }
};

Probe* MakeProbe(const char* name) {
  auto* probe = new Probe;
  probe->SetName(name);
  probe->SetStyle(InstantiateStruct(getStruct(StyleTable().StyleQuery("Probe"))));
  return probe;
}

// A group "page" holding "title" and "box", "box" holding "inner".
std::unique_ptr<Probe>& Page() {
  static std::unique_ptr<Probe> page;
  return page;
}

void Build() {
  StyleTable().ParseStyleText(kStyles);
  Page().reset(MakeProbe("page"));
  Probe* box = MakeProbe("box");
  box->AppendChild(MakeProbe("inner"));
  Page()->AppendChild(MakeProbe("title"));
  Page()->AppendChild(box);
}

void ReadAll(const CString& line, const char* arguments) {
  using namespace command_text;
  const char* c = line;
  (void)ReadIdentifier(&c);
  c = line;
  (void)ReadNumber(&c);
  c = line;
  (void)ReadColor(&c);
  c = line;
  (void)ReadQuotedString(&c);
  c = line;
  (void)ReadArgument(&c, arguments);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxInput) return 0;
  Logbook::SetLogging(false);
  // Lookups register their names for good; everything is built afresh
  // before the name set grows large.
  if (PropertyNames().used() > kMaxNames) {
    Page().reset();
    StyleTable().clear();
    PropertyNames().Clear();
  }
  if (!Page()) Build();
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t cut = input.find('\0');
  const std::string text = input.substr(0, cut);
  const std::string arguments = cut == std::string::npos ? std::string() : input.substr(cut + 1);
  const char* args = cut == std::string::npos ? nullptr : arguments.c_str();

  SplitCommands(text.c_str(), [&](const CString& line) {
    if (line.IsEmpty()) std::abort();
    ReadAll(line, args);
    const Statement s = ParseStatement(line, args);
    if (s.kind != StatementKind::Set) return;
    const char* cursor = s.rest;
    const CString name = command_text::ReadIdentifier(&cursor);
    command_text::SkipSpace(&cursor);
    if (*cursor != '.') return;
    VObject* object = name.IsEmpty() ? nullptr : Page()->FindByName(name, true);
    gCalls = 0;
    const int done = Interpreter::Assign(object, cursor + 1);
    if (gCalls != done) std::abort();
  });
  return 0;
}
