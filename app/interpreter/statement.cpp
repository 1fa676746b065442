#include "app/interpreter/statement.h"

#include <cstring>

#include "app/interpreter/command_text.h"

namespace {

struct Word {
  const char* text;
  StatementKind kind;
};

// Compared in this order, case-sensitively; the first equal word decides.
constexpr Word kWords[] = {
    {"goto", StatementKind::Goto},
    {"back", StatementKind::Back},
    {"undo", StatementKind::Back},
    {"do", StatementKind::Again},
    {"again", StatementKind::Again},
    {"forward", StatementKind::Forward},
    {"redo", StatementKind::Forward},
    {"next", StatementKind::Next},
    {"prev", StatementKind::Previous},
    {"previous", StatementKind::Previous},
    {"root", StatementKind::Root},
    {"korvexroot", StatementKind::KorvexRoot},
    {"home", StatementKind::Home},
    {"up", StatementKind::Up},
    {"parents", StatementKind::Parents},
    {"history", StatementKind::History},
    {"search", StatementKind::Search},
    {"fulltextsearch", StatementKind::FullTextSearch},
    {"end", StatementKind::End},
    {"language", StatementKind::Language},
    {"audioon", StatementKind::AudioOn},
    {"audiooff", StatementKind::AudioOff},
    {"toggleaudio", StatementKind::ToggleAudio},
    {"setbookmark", StatementKind::SetBookmark},
    {"gotobookmark", StatementKind::GotoBookmark},
    {"set", StatementKind::Set},
    {"debug", StatementKind::Debug},
    {"reload", StatementKind::Reload},
    {"stop", StatementKind::Stop},
    {"info", StatementKind::Info},
    {"printtext", StatementKind::PrintText},
    {"printpreview", StatementKind::PrintPreview},
    {"clearimagecache", StatementKind::ClearImageCache},
};

StatementKind KindOf(const CString& keyword) {
  for (const Word& w : kWords)
    if (keyword == w.text) return w.kind;
  return StatementKind::Unknown;
}

}  // namespace

Statement ParseStatement(const char* line, const char* arguments) {
  Statement s;
  if (!line) return s;
  const char* cursor = line;
  command_text::SkipSpace(&cursor);
  if (!*cursor) return s;
  s.keyword = command_text::ReadIdentifier(&cursor);
  command_text::SkipSpace(&cursor);
  s.rest = cursor;
  s.kind = KindOf(s.keyword);
  switch (s.kind) {
    case StatementKind::Goto:
      if (s.rest.IsEmpty()) {
        s.missingTarget = true;
      } else if (*cursor == '#') {
        s.argument = command_text::ReadArgument(&cursor, arguments);
      } else {
        s.argument = s.rest;
      }
      break;
    case StatementKind::Search:
    case StatementKind::FullTextSearch:
    case StatementKind::SetBookmark:
      s.argument = s.rest;
      break;
    case StatementKind::Language:
      // The code only; whatever follows it is ignored.
      if (!s.rest.IsEmpty()) s.argument = command_text::ReadIdentifier(&cursor);
      break;
    default:
      break;
  }
  return s;
}

void SplitCommands(const char* text, const std::function<void(const CString&)>& each) {
  if (!text) return;
  const char* p = text;
  for (;;) {
    command_text::SkipSpace(&p);
    if (!*p) return;
    const char* start = p;
    while (*p && *p != ';') {
      if (*p == '"') {
        const char* close = std::strchr(p + 1, '"');
        p = close ? close + 1 : p + std::strlen(p);
      } else {
        ++p;
      }
    }
    if (p > start) each(CString(start, static_cast<int>(p - start)));
    if (*p == ';') ++p;
  }
}
