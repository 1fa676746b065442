#include "text/string_translator.h"

#include "text/def_lexer.h"
#include "text/translation_list.h"
#include "text/value_table.h"

namespace {

constexpr char kList = '@';
constexpr char kValue = '$';
constexpr char kOnce = '^';
constexpr char kTest = '?';

bool IsNameBreak(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '(' || c == ')'; }

// A reference name after a marker (or after a list name) at `at`: the text
// in parentheses when "(" follows at once, else the next run of name
// characters, blanks and stray parentheses before it skipped. `end` is where
// the reference ends.
struct Name {
  bool found = false;
  bool parenthesised = false;
  std::string_view text;
  size_t end = 0;
};

Name ReadName(std::string_view s, size_t at) {
  Name name;
  if (at < s.size() && s[at] == '(') {
    const size_t close = s.find(')', at + 1);
    name.found = true;
    name.parenthesised = true;
    if (close == std::string_view::npos) {
      name.text = s.substr(at + 1);
      name.end = s.size();
    } else {
      name.text = s.substr(at + 1, close - at - 1);
      name.end = close + 1;
    }
    return name;
  }
  size_t p = at;
  while (p < s.size() && IsNameBreak(s[p])) ++p;
  size_t e = p;
  while (e < s.size() && !IsNameBreak(s[e])) ++e;
  if (e > p) {
    name.found = true;
    name.text = s.substr(p, e - p);
    name.end = e;
  }
  return name;
}

// The value pass looks for "$" first, only then for "^", only then for "?".
size_t FindValueMarker(std::string_view s, size_t from, bool withTest) {
  size_t at = s.find(kValue, from);
  if (at == std::string_view::npos) at = s.find(kOnce, from);
  if (at == std::string_view::npos && withTest) at = s.find(kTest, from);
  return at;
}

struct PassResult {
  bool changed = false;
  bool metMarker = false;
  bool allowed = true;
};

// A pass stops substituting once its output passes the length cap; the rest
// is copied as it stands (and cleaned up at the end).
bool Full(const std::string& out) { return out.size() >= StringTranslator::kMaxLength; }

PassResult ValuePass(std::string_view in, std::string& out, const ValueTable& values) {
  PassResult r;
  out.clear();
  size_t pos = 0;
  while (!Full(out)) {
    const size_t at = FindValueMarker(in, pos, true);
    if (at == std::string_view::npos) break;
    out.append(in.substr(pos, at - pos));
    const char marker = in[at];
    r.metMarker = true;
    r.allowed = marker != kOnce;
    const Name name = ReadName(in, at + 1);
    if (!name.found) {
      out.push_back(marker);
      pos = at + 1;
      continue;
    }
    const ValueEntry* entry = values.Lookup(name.text);
    if (marker == kTest) {
      out.push_back(entry ? '1' : '0');
      pos = name.end;
    } else if (entry) {
      out.append(entry->value.view());
      pos = name.end;
      r.changed = marker == kValue;
    } else {
      out.push_back(marker);
      pos = at + 1;
    }
  }
  out.append(in.substr(pos));
  return r;
}

bool ListPass(std::string_view in, std::string& out, const TranslationListSource& lists) {
  bool changed = false;
  out.clear();
  size_t pos = 0;
  while (!Full(out)) {
    const size_t at = in.find(kList, pos);
    if (at == std::string_view::npos) break;
    out.append(in.substr(pos, at - pos));
    pos = at + 1;
    const Name list = ReadName(in, at + 1);
    const TranslationList* table =
        list.found && !list.parenthesised ? lists.FindList(list.text) : nullptr;
    if (!table) {
      out.push_back(kList);
      continue;
    }
    const Name key = ReadName(in, list.end);
    const CString* value = key.found ? table->Lookup(key.text) : nullptr;
    if (!value) {
      out.push_back(kList);
      continue;
    }
    out.append(value->view());
    pos = key.end;
    changed = true;
  }
  out.append(in.substr(pos));
  return changed;
}

// Drops unresolved value references, and of unresolved list references
// keeps the key.
std::string CleanUp(std::string_view in) {
  std::string phase1;
  size_t pos = 0;
  for (;;) {
    const size_t at = FindValueMarker(in, pos, false);
    if (at == std::string_view::npos) break;
    phase1.append(in.substr(pos, at - pos));
    const Name name = ReadName(in, at + 1);
    if (!name.found) {
      phase1.push_back(in[at]);
      pos = at + 1;
    } else {
      pos = name.end;
    }
  }
  phase1.append(in.substr(pos));

  std::string_view s = phase1;
  std::string out;
  pos = 0;
  for (;;) {
    const size_t at = s.find(kList, pos);
    if (at == std::string_view::npos) break;
    out.append(s.substr(pos, at - pos));
    // Only "@LIST(key)" is taken for a reference here: any other "@" may be
    // part of a value (an address), which must reach the action whole.
    const Name list = ReadName(s, at + 1);
    const Name key = list.found && !list.parenthesised ? ReadName(s, list.end) : Name();
    if (!key.parenthesised) {
      out.push_back(kList);
      pos = at + 1;
      continue;
    }
    out.append(key.text);
    pos = key.end;
  }
  out.append(s.substr(pos));
  return out;
}

}  // namespace

StringTranslator& StringTranslator::Instance() {
  static StringTranslator translator;
  return translator;
}

int StringTranslator::Translate(const CString& input, CString& out, const ValueTable* values,
                                const TranslationListSource* lists, Mode mode, bool final) {
  if (!values) values = values_;
  if (!lists) lists = lists_;
  std::string work = input.str();
  std::string next;
  bool allowed = true;
  for (int round = 0; !work.empty() && round < kMaxRounds; ++round) {
    bool changed = false;
    if (mode != kLists && values) {
      const PassResult r = ValuePass(work, next, *values);
      if (r.metMarker) allowed = r.allowed;
      changed = r.changed;
      work.swap(next);
    }
    if (lists && (mode == kLists || (mode == kBoth && allowed))) {
      if (ListPass(work, next, *lists)) changed = true;
      work.swap(next);
    }
    if (!changed || work.size() > kMaxLength) break;
  }
  if (work.empty()) {
    out.Empty();
    return input.IsEmpty() ? -1 : 0;
  }
  if (final && (allowed || work[0] == kOnce)) work = CleanUp(work);
  out = CString(std::move(work));
  return out.GetLength();
}

int StringTranslator::ReadLine(std::istream& in, CString& out, const ValueTable* values,
                               const TranslationListSource* lists, Mode mode, bool final) {
  if (!ReadDefinitionLine(in, line_)) return -1;
  return Translate(CString(line_), out, values, lists, mode, final);
}
