#include "pages/script/sync_script_reader.h"

#include <array>
#include <cctype>
#include <cstring>
#include <limits>
#include <string_view>

#include "core/screen_geometry.h"

namespace {

constexpr std::uint32_t kMaxNumber = std::numeric_limits<std::int32_t>::max();

struct Keyword {
  const char* word;
  ScriptCommand command;
};

constexpr std::array<Keyword, 39> kKeywords{{
    {"REMOVE", ScriptCommand::Remove},         {"RESETTIME", ScriptCommand::ResetTime},
    {"TIMERINTERVAL", ScriptCommand::TimerInterval}, {"LOAD", ScriptCommand::Load},
    {"SHOW", ScriptCommand::Show},             {"HIDE", ScriptCommand::Hide},
    {"MOVETO", ScriptCommand::MoveTo},         {"RESIZE", ScriptCommand::Resize},
    {"SETAREA", ScriptCommand::SetArea},       {"SCROLLTO", ScriptCommand::ScrollTo},
    {"SETMODE", ScriptCommand::SetMode},       {"PLAY", ScriptCommand::Play},
    {"PAUSE", ScriptCommand::Pause},           {"STOP", ScriptCommand::Stop},
    {"SETCAPTION", ScriptCommand::SetCaption}, {"SETFGCOLOR", ScriptCommand::SetFgColor},
    {"SETBGCOLOR", ScriptCommand::SetBgColor}, {"CHANGE", ScriptCommand::Change},
    {"SETIMAGE", ScriptCommand::SetImage},     {"SETFONTSIZE", ScriptCommand::SetFontSize},
    {"SETFONTNAME", ScriptCommand::SetFontName}, {"SETSTYLE", ScriptCommand::SetStyle},
    {"BACK", ScriptCommand::Back},             {"FORWARD", ScriptCommand::Forward},
    {"PREVIOUS", ScriptCommand::Previous},     {"NEXT", ScriptCommand::Next},
    {"ROOT", ScriptCommand::Root},             {"HOME", ScriptCommand::Home},
    {"UP", ScriptCommand::Up},                 {"PARENTS", ScriptCommand::Parents},
    {"HISTORY", ScriptCommand::History},       {"KORVEXROOT", ScriptCommand::KorvexRoot},
    {"SEARCH", ScriptCommand::Search},         {"GOTO", ScriptCommand::Goto},
    {"MAKETOP", ScriptCommand::MakeTop},       {"MAKEBOTTOM", ScriptCommand::MakeBottom},
    {"SETGOTO", ScriptCommand::SetGoto},       {"SHOWCURSOR", ScriptCommand::ShowCursor},
    {"HIDECURSOR", ScriptCommand::HideCursor},
}};

constexpr std::array<const char*, 7> kObjectWords{"IMG", "SND", "VID", "LBL", "TXT", "BGR", "TBR"};

struct NamedValue {
  const char* word;
  int value;
};

constexpr std::array<NamedValue, 6> kModes{{{"ASPECTRATIO", kModeAspectRatio},
                                            {"CENTER", kModeCenter},
                                            {"TILE", kModeTile},
                                            {"SCROLL", kModeScroll},
                                            {"ZOOM", kModeZoom},
                                            {"ASPECTLIMIT", kModeAspectLimit}}};

constexpr std::array<NamedValue, 10> kLabelStyles{{{"NOBORDER", 0},
                                                  {"3DBORDER", 1},
                                                  {"BORDER", 2},
                                                  {"ALIGNCENTER", 3},
                                                  {"ALIGNLEFT", 4},
                                                  {"ALIGNRIGHT", 8},
                                                  {"TRANSPARENT", 16},
                                                  {"BULLET", 32},
                                                  {"ARROW", 64},
                                                  {"FITCAPTION", 128}}};

template <typename Table>
const auto* Find(const Table& table, std::string_view word) {
  for (const auto& e : table)
    if (word == e.word) return &e;
  return static_cast<decltype(&table[0])>(nullptr);
}

constexpr const char* kTokenMismatch = "tokentype doesn\xb4t match command";
constexpr const char* kPageObjectMismatch = "invalid command or tokentype for background or toolbar";

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool Digit(char c) { return c >= '0' && c <= '9'; }
bool Letter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool HexDigit(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
std::uint32_t HexValue(char c) {
  return static_cast<std::uint32_t>(Digit(c) ? c - '0' : (std::toupper(static_cast<unsigned char>(c)) - 'A' + 10));
}

bool ArgumentFree(ScriptCommand c) {
  switch (c) {
    case ScriptCommand::ResetTime: case ScriptCommand::Back: case ScriptCommand::Forward:
    case ScriptCommand::Previous: case ScriptCommand::Next: case ScriptCommand::Root:
    case ScriptCommand::Home: case ScriptCommand::Up: case ScriptCommand::Parents:
    case ScriptCommand::History: case ScriptCommand::KorvexRoot: case ScriptCommand::ShowCursor:
    case ScriptCommand::HideCursor:
      return true;
    default:
      return false;
  }
}

// Commands that are whole once their object is named.
bool ObjectOnly(ScriptCommand c, bool pageObject) {
  switch (c) {
    case ScriptCommand::Show: case ScriptCommand::Hide: case ScriptCommand::MakeTop:
    case ScriptCommand::MakeBottom:
      return true;
    case ScriptCommand::Remove: case ScriptCommand::Play: case ScriptCommand::Pause:
    case ScriptCommand::Stop:
      return !pageObject;
    default:
      return false;
  }
}

SIZE ReadSize(const char* text) {
  POINT p = ReadPoint(text);
  return SIZE{p.x, p.y};
}

// 0xRRGGBB as the script writes it to the red-lowest colour value.
COLORREF FromScriptColor(std::uint32_t rgb) {
  return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

}  // namespace

SyncScriptReader::SyncScriptReader(std::string text) {
  text_.reserve(text.size());
  for (std::size_t i = 0; i < text.size() && text[i] != '\0'; ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    text_.push_back(text[i]);
  }
}

ScriptCommand SyncScriptReader::ReadEntry() {
  if (ended_) {
    entry_.command = ScriptCommand::End;
    return entry_.command;
  }
  if (ReadEntryBody()) {
    entry_.line = line_;
    // A complete entry passes over whatever follows it on its line.
    if (entry_.command != ScriptCommand::End) SkipRestOfLine();
  }
  return entry_.command;
}

bool SyncScriptReader::Fail(const char* message, bool withToken) {
  entry_.command = ScriptCommand::Error;
  if (!ended_) entry_.line = line_;
  entry_.errorText = message;
  if (withToken) entry_.errorText += " : '" + tokenText_ + "'";
  if (!ended_) SkipRestOfLine();
  return false;
}

void SyncScriptReader::SkipRestOfLine() {
  while (at_ < text_.size() && text_[at_] != '\n') ++at_;
  if (at_ < text_.size()) {
    ++at_;
    ++line_;
  }
}

bool SyncScriptReader::SkipBlockComment() {
  std::uint32_t startLine = line_;
  at_ += 2;
  for (; at_ + 1 < text_.size(); ++at_) {
    if (text_[at_] == '*' && text_[at_ + 1] == '/') {
      at_ += 2;
      return true;
    }
    if (text_[at_] == '\n') ++line_;
  }
  at_ = text_.size();
  // The error is reported where the comment began, and the script ends.
  entry_.line = startLine;
  ended_ = true;
  return Fail("invalid block comment: block started by /* not closed by */", false);
}

bool SyncScriptReader::SkipBetweenTokens() {
  for (;;) {
    while (at_ < text_.size() && Blank(text_[at_])) {
      if (text_[at_] == '\n') ++line_;
      ++at_;
    }
    if (text_.compare(at_, 2, "/*") != 0) return true;
    if (!SkipBlockComment()) return false;
  }
}

bool SyncScriptReader::SkipAtEntryStart() {
  for (;;) {
    if (!SkipBetweenTokens()) return false;
    if (text_.compare(at_, 2, "//") != 0) return true;
    SkipRestOfLine();
  }
}

bool SyncScriptReader::AtDelimiter() const { return at_ >= text_.size() || Blank(text_[at_]); }

SyncScriptReader::Token SyncScriptReader::ReadToken() {
  tokenText_.clear();
  tokenValue_ = 0;
  if (at_ >= text_.size()) return token_ = Token::End;
  std::size_t start = at_;
  char c = text_[at_];
  if (c == '0' && at_ + 1 < text_.size() && (text_[at_ + 1] == 'x' || text_[at_ + 1] == 'X')) {
    at_ += 2;
    std::size_t digits = at_;
    while (at_ < text_.size() && HexDigit(text_[at_])) {
      if (at_ - digits < 6) tokenValue_ = tokenValue_ * 16 + HexValue(text_[at_]);
      ++at_;
    }
    std::size_t count = at_ - digits;
    tokenText_ = text_.substr(start, at_ - start);
    return token_ = (count >= 1 && count <= 6 && AtDelimiter()) ? Token::Hex : Token::Invalid;
  }
  if (Digit(c)) {
    while (at_ < text_.size() && Digit(text_[at_])) {
      tokenValue_ = std::min<std::uint64_t>(kMaxNumber, std::uint64_t{tokenValue_} * 10 + static_cast<std::uint32_t>(text_[at_] - '0'));
      ++at_;
    }
    if (at_ < text_.size() && Letter(text_[at_])) {
      while (at_ < text_.size() && (Letter(text_[at_]) || Digit(text_[at_]))) ++at_;
      for (std::size_t i = start; i < at_; ++i)
        tokenText_.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(text_[i]))));
      return token_ = Token::Mixed;
    }
    tokenText_ = text_.substr(start, at_ - start);
    return token_ = AtDelimiter() ? Token::Decimal : Token::Invalid;
  }
  if (Letter(c)) {
    while (at_ < text_.size() && Letter(text_[at_])) {
      tokenText_.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(text_[at_]))));
      ++at_;
    }
    return token_ = AtDelimiter() ? Token::Word : Token::Invalid;
  }
  if (c == '"') {
    ++at_;
    while (at_ < text_.size() && text_[at_] != '"' && text_[at_] != '\n') tokenText_.push_back(text_[at_++]);
    if (at_ >= text_.size() || text_[at_] == '\n') {
      // Unclosed: the error quotes what was read, opening quote and all.
      tokenText_.insert(tokenText_.begin(), '"');
      return token_ = Token::Invalid;
    }
    ++at_;
    return token_ = AtDelimiter() ? Token::String : Token::Invalid;
  }
  tokenText_.assign(1, c);
  ++at_;
  return token_ = Token::Invalid;
}

bool SyncScriptReader::ReadEntryBody() {
  if (!SkipAtEntryStart()) return false;
  if (at_ >= text_.size()) {
    entry_.command = ScriptCommand::End;
    ended_ = true;
    return true;
  }
  if (ReadToken() != Token::Decimal) return Fail("invalid token");
  entry_.time = tokenValue_;

  if (!SkipBetweenTokens()) return false;
  if (ReadToken() != Token::Word) return Fail("invalid token");
  const Keyword* keyword = Find(kKeywords, tokenText_);
  if (!keyword) return Fail("invalid command");
  ScriptCommand command = keyword->command;
  entry_.command = command;
  if (ArgumentFree(command)) {
    entry_.object = ScriptObject::None;
    return true;
  }

  if (!SkipBetweenTokens()) return false;
  switch (ReadToken()) {
    case Token::Decimal:
      if (command != ScriptCommand::TimerInterval) return Fail(kTokenMismatch);
      entry_.timerInterval = static_cast<int>(tokenValue_);
      entry_.object = ScriptObject::None;
      return true;
    case Token::String:
      if (command != ScriptCommand::Search && command != ScriptCommand::Goto) return Fail(kTokenMismatch);
      entry_.text = tokenText_;
      entry_.object = ScriptObject::None;
      return true;
    case Token::Word: {
      int kind = 0;
      while (kind < static_cast<int>(kObjectWords.size()) && tokenText_ != kObjectWords[static_cast<std::size_t>(kind)]) ++kind;
      if (kind == static_cast<int>(kObjectWords.size())) return Fail("invalid objecttype");
      entry_.object = static_cast<ScriptObject>(kind);
      break;
    }
    default:
      return Fail("invalid token");
  }
  if (entry_.object == ScriptObject::Background || entry_.object == ScriptObject::Toolbar)
    return ReadPageObjectArgument(command);

  if (!SkipBetweenTokens()) return false;
  Token id = ReadToken();
  if (id == Token::Word || id == Token::String) return Fail("objectId is missing before");
  if (id != Token::Decimal) return Fail("invalid token");
  entry_.objectId = static_cast<int>(tokenValue_);
  if (ObjectOnly(command, false)) return true;
  return ReadObjectArgument(command);
}

// The point, size or rectangle string of the commands that place objects;
// false for other commands.
bool SyncScriptReader::ReadGeometry(ScriptCommand command) {
  switch (command) {
    case ScriptCommand::MoveTo: case ScriptCommand::ScrollTo:
      entry_.point = ReadPoint(tokenText_.c_str());
      return true;
    case ScriptCommand::Resize:
      entry_.size = ReadSize(tokenText_.c_str());
      return true;
    case ScriptCommand::SetArea:
      entry_.rect = ReadRect(tokenText_.c_str());
      return true;
    default:
      return false;
  }
}

bool SyncScriptReader::ReadPageObjectArgument(ScriptCommand command) {
  if (ObjectOnly(command, true)) return true;
  if (!SkipBetweenTokens()) return false;
  switch (ReadToken()) {
    case Token::Word: {
      if (command != ScriptCommand::SetMode) return Fail(kPageObjectMismatch, false);
      const NamedValue* mode = Find(kModes, tokenText_);
      if (!mode) return Fail("invalid mode", false);
      entry_.mode = mode->value;
      return true;
    }
    case Token::String:
      if (ReadGeometry(command)) return true;
      switch (command) {
        case ScriptCommand::Change:
          if (entry_.object == ScriptObject::Toolbar) return Fail("invalid command for toolbar", false);
          entry_.text = tokenText_;
          return true;
        default:
          return Fail(kPageObjectMismatch, false);
      }
    case Token::Decimal:
      return Fail("this objecttype must not have an Id");
    default:
      return Fail("invalid token");
  }
}

bool SyncScriptReader::ReadObjectArgument(ScriptCommand command) {
  if (!SkipBetweenTokens()) return false;
  switch (ReadToken()) {
    case Token::Hex:
      if (command != ScriptCommand::SetFgColor && command != ScriptCommand::SetBgColor) break;
      entry_.color = FromScriptColor(tokenValue_);
      return true;
    case Token::Decimal:
      if (command != ScriptCommand::SetFontSize) break;
      entry_.fontSize = static_cast<int>(tokenValue_);
      return true;
    case Token::Word:
      if (command == ScriptCommand::SetMode) {
        const NamedValue* mode = Find(kModes, tokenText_);
        if (!mode || mode->value == kModeAspectLimit) return Fail("invalid mode");
        entry_.mode = mode->value;
        return true;
      }
      [[fallthrough]];
    case Token::Mixed:
      if (command == ScriptCommand::SetStyle) {
        const NamedValue* style = Find(kLabelStyles, tokenText_);
        // "3DBORDER" is the one style that starts with a digit.
        bool mixed = token_ == Token::Mixed;
        if (!style || mixed != (style->value == 1)) return Fail("invalid style");
        entry_.labelStyle = style->value;
        return true;
      }
      break;
    case Token::String:
      if (ReadGeometry(command)) return true;
      switch (command) {
        case ScriptCommand::Load: {
          if (entry_.object == ScriptObject::Label)
            entry_.caption = tokenText_;
          else
            entry_.text = tokenText_;
          if (!SkipBetweenTokens()) return false;
          if (ReadToken() != Token::String) return Fail("invalid token");
          entry_.rect = ReadRect(tokenText_.c_str());
          return true;
        }
        case ScriptCommand::SetCaption:
          entry_.caption = tokenText_;
          return true;
        case ScriptCommand::Change: case ScriptCommand::SetImage: case ScriptCommand::SetFontName:
        case ScriptCommand::SetGoto:
          entry_.text = tokenText_;
          return true;
        default:
          break;
      }
      break;
    default:
      return Fail("invalid token");
  }
  return Fail(kTokenMismatch);
}
