// Reads a SyncScript, the timed presentation a script page plays, one entry
// at a time. An entry is a time, a keyword and the keyword's arguments; an
// entry in error never stops the reading: it becomes an error entry with
// its message, and the rest of the faulty line is passed over.
#pragma once

#include <cstdint>
#include <string>

#include "win/types.h"

// Keyword numbers as the player dispatches them; Error and End are what an
// entry in error and the end of the script read as.
enum class ScriptCommand : int {
  Error = 0, End = 1, Remove = 2, ResetTime, TimerInterval, Load, Show, Hide, MoveTo, Resize,
  SetArea, ScrollTo, SetMode, Play, Pause, Stop, SetCaption, SetFgColor, SetBgColor, Change,
  SetImage, SetFontSize, SetFontName, SetStyle, Back, Forward, Previous, Next, Root, Home, Up,
  Parents, History, KorvexRoot, Search, Goto, MakeTop, MakeBottom, SetGoto, ShowCursor, HideCursor
};

// The objects an entry acts on. Background and Toolbar belong to the page
// and have no id; None is an entry without an object.
enum class ScriptObject : int { Image = 0, Sound, Video, Label, Text, Background, Toolbar, None };

// Display modes of "SETMODE", by their letters.
enum ScriptMode : int {
  kModeAspectRatio = 'a', kModeCenter = 'c', kModeTile = 't', kModeScroll = 's', kModeZoom = 'z',
  kModeAspectLimit = 'l'
};

// The entry just read. Only the fields its keyword uses are set; the others
// keep the values of earlier entries.
struct ScriptEntry {
  std::uint32_t time = 0;
  ScriptCommand command = ScriptCommand::End;
  ScriptObject object = ScriptObject::None;
  int objectId = 0;
  std::string text;
  RECT rect{0, 0, 0, 0};
  POINT point{0, 0};
  SIZE size{0, 0};
  int mode = 0;
  std::string caption;
  COLORREF color = 0;
  int fontSize = 0;
  int labelStyle = 0;
  int timerInterval = 100;
  std::string errorText;
  std::uint32_t line = 1;
};

class SyncScriptReader {
 public:
  // `text` is the whole script as read from its file; CR LF line ends are
  // read as one line feed and the script ends at its first NUL byte.
  explicit SyncScriptReader(std::string text);

  // Reads the next entry and answers its command (End at the end, and for
  // ever after it).
  ScriptCommand ReadEntry();
  const ScriptEntry& Entry() const { return entry_; }

 private:
  enum class Token { End, Hex, Decimal, Mixed, Word, String, Invalid };

  bool ReadEntryBody();
  bool SkipAtEntryStart();
  bool SkipBetweenTokens();
  bool SkipBlockComment();
  void SkipRestOfLine();
  Token ReadToken();
  bool AtDelimiter() const;
  bool Fail(const char* message, bool withToken = true);
  bool ReadGeometry(ScriptCommand command);
  bool ReadPageObjectArgument(ScriptCommand command);
  bool ReadObjectArgument(ScriptCommand command);

  std::string text_;
  std::size_t at_ = 0;
  std::uint32_t line_ = 1;  // the line the reader is on
  bool ended_ = false;
  ScriptEntry entry_;
  // The token just read: its kind, its text (words upper-cased, strings as
  // written) and its value (numbers).
  Token token_ = Token::End;
  std::string tokenText_;
  std::uint32_t tokenValue_ = 0;
};
