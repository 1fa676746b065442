#include "text/markup_tables.h"

#include <string>
#include <unordered_map>

namespace {

// HTML attribute lists, shared by the tags that keep the same ones; the order
// is the order in which present attributes are attached to an event.
const char* const kAAttrs[] = {"CLASS", "EFFECT", "HREF", "ID", "INDEX", "LANG", "MD", "METHODS", "NAME", "PRINT", "REL", "REV", "SHAPE", "TITLE"};
const char* const kAbbrevAttrs[] = {"CLASS", "ID", "INDEX", "LANG"};
const char* const kAddressAttrs[] = {"CLASS", "CLEAR", "ID", "INDEX", "LANG"};
const char* const kBaseAttrs[] = {"ID", "HREF"};
const char* const kBodyAttrs[] = {"BACKGROUND", "BGCOLOR", "TEXT", "LINK", "VLINK"};
const char* const kBqAttrs[] = {"CLASS", "CLEAR", "ID", "INDEX", "LANG", "NOWARP"};
const char* const kCaptionAttrs[] = {"ID", "INDEX", "LANG", "CLASS", "ALIGN"};
const char* const kChangedAttrs[] = {"ID", "IDREF"};
const char* const kDirAttrs[] = {"COMPACT"};
const char* const kDivAttrs[] = {"ALIGN", "CLASS", "CLEAR", "ID", "LANG", "INDEX", "NOWRAP"};
const char* const kDlAttrs[] = {"CLASS", "CLEAR", "COMPACT", "ID", "INDEX", "LANG"};
const char* const kFigAttrs[] = {"ALIGN", "CLASS", "CLEAR", "HEIGHT", "ID", "IMAGEMAP", "INDEX", "ISMAP", "LANG", "MD", "NOFLOW", "SRC", "WIDTH", "UNITS"};
const char* const kFontAttrs[] = {"COLOR", "SIZE"};
const char* const kFormAttrs[] = {"ACTION", "ENCTYPE", "ID", "INDEX", "LANG", "METHOD", "SCRIPT"};
const char* const kH1Attrs[] = {"ALIGN", "CLASS", "CLEAR", "DINGBAT", "ID", "INDEX", "LANG", "MD", "NOWARP", "SEQNUM", "SRC"};
const char* const kHrAttrs[] = {"CLASS", "CLEAR", "ID", "INDEX", "LANG", "MD", "SIZE", "WIDTH", "SRC"};
const char* const kHtmlAttrs[] = {"CLASS", "URN"};
const char* const kHtmlplusAttrs[] = {"FORMS", "VERSION"};
const char* const kImageAttrs[] = {"ALIGN", "ISMAP", "LANG", "SEETHRU", "SRC"};
const char* const kImgAttrs[] = {"ALIGN", "ALT", "CLASS", "HEIGHT", "WIDTH", "INDEX", "ISMAP", "LANG", "MD", "NOSHADE", "SEETHRU", "SRC", "UNITS", "ID"};
const char* const kInputAttrs[] = {"ALIGN", "ACCEPT", "CLASS", "CHECKED", "DISABLED", "ERROR", "ID", "INDEX", "LANG", "MAX", "MAXLENGTH", "MD", "MIN", "NAME", "SIZE", "SRC", "TYPE", "VALUE"};
const char* const kIsindexAttrs[] = {"HREF", "PROMPT"};
const char* const kLiAttrs[] = {"CLASS", "CLEAR", "DINGBAT", "ID", "INDEX", "LANG", "MD", "SKIP", "SRC"};
const char* const kLinkAttrs[] = {"ALIGN", "HREF", "IDREF", "METHODS", "REL", "REV", "TITLE"};
const char* const kMathAttrs[] = {"ID"};
const char* const kMetaAttrs[] = {"CONTENT", "HTTP-EQUIV", "NAME"};
const char* const kNextidAttrs[] = {"N"};
const char* const kNoteAttrs[] = {"CLASS", "CLEAR", "ID", "INDEX", "LANG", "MD", "ROLE", "SRC"};
const char* const kOlAttrs[] = {"CLASS", "CLEAR", "COMPACT", "CONTINUE", "ID", "INDEX", "LANG", "SEQNUM"};
const char* const kOptionAttrs[] = {"CLASS", "DISABLED", "ERROR", "ID", "INDEX", "LANG", "SELECTED", "SHAPE", "VALUE"};
const char* const kOverlayAttrs[] = {"HEIGHT", "IMAGEMAP", "MD", "SRC", "UNITS", "WIDTH", "X", "Y"};
const char* const kPreAttrs[] = {"CLASS", "CLEAR", "ID", "INDEX", "LANG", "WIDTH"};
const char* const kRangeAttrs[] = {"CLASS", "FROM", "ID", "UNTIL"};
const char* const kRenderAttrs[] = {"STYLE", "TAG"};
const char* const kSelectAttrs[] = {"ALIGN", "CLASS", "DISABLED", "ERROR", "HEIGHT", "ID", "INDEX", "LANG", "MD", "MULTIPLE", "NAME", "SIZE", "SEVERAL", "SRC", "WIDTH"};
const char* const kStyleAttrs[] = {"NOTATION"};
const char* const kTabAttrs[] = {"ID", "INDENT", "TO", "DP", "ALIGN", "AT"};
const char* const kTableAttrs[] = {"ALIGN", "BORDER", "CLASS", "CLEAR", "COLSPEC", "ID", "LANG", "NOFLOW", "NOWRAP", "DP", "UNITS", "WIDTH", "CELLSPACING", "CELLPADDING"};
const char* const kTdAttrs[] = {"ALIGN", "AXIS", "AXES", "CLASS", "COLSPAN", "ID", "LANG", "ROWSPAN", "DP", "VALIGN", "NOWRAP", "WIDTH"};
const char* const kTextareaAttrs[] = {"ALIGN", "CLASS", "COLS", "DISABLED", "ERROR", "ID", "INDEX", "LANG", "NAME", "ROWS"};
const char* const kTrAttrs[] = {"ALIGN", "CLASS", "ID", "LANG", "NOWRAP", "DP", "VALIGN"};
const char* const kUlAttrs[] = {"CLASS", "CLEAR", "COMPACT", "DINGBAT", "ID", "INDEX", "LANG", "MD", "PLAIN", "SRC", "WRAP"};

#define ROW(name, attrs, cls) {name, attrs, sizeof(attrs) / sizeof(attrs[0]), cls}
#define BARE(name, cls) {name, nullptr, 0, cls}

const TagRow kHtmlRows[] = {
    ROW("A", kAAttrs, 4),
    ROW("ABBREV", kAbbrevAttrs, 4),
    ROW("ABSTRACT", kAbbrevAttrs, 4),
    ROW("ACRONYM", kAbbrevAttrs, 4),
    ROW("ADDED", kAbbrevAttrs, 4),
    ROW("ADDRESS", kAddressAttrs, 4),
    ROW("ARG", kAbbrevAttrs, 4),
    ROW("AU", kAbbrevAttrs, 4),
    BARE("B", 4),
    ROW("BANNER", kAbbrevAttrs, 4),
    ROW("BASE", kBaseAttrs, 4),
    ROW("BIG", kAbbrevAttrs, 4),
    BARE("BLOCKQUOTE", 4),
    ROW("BODY", kBodyAttrs, 4),
    BARE("BOX", 4),
    ROW("BQ", kBqAttrs, 4),
    ROW("BR", kAddressAttrs, 0),
    ROW("BYLINE", kAbbrevAttrs, 4),
    ROW("CAPTION", kCaptionAttrs, 4),
    BARE("CENTER", 4),
    ROW("CHANGED", kChangedAttrs, 4),
    ROW("CITE", kAbbrevAttrs, 4),
    ROW("CMD", kAbbrevAttrs, 4),
    ROW("CODE", kAbbrevAttrs, 4),
    BARE("COMMENT", 4),
    ROW("CREDIT", kAbbrevAttrs, 4),
    ROW("DD", kAddressAttrs, 4),
    ROW("DEL", kAbbrevAttrs, 4),
    ROW("DFN", kAbbrevAttrs, 4),
    ROW("DIR", kDirAttrs, 4),
    ROW("DIV", kDivAttrs, 4),
    ROW("DL", kDlAttrs, 4),
    ROW("DT", kAddressAttrs, 4),
    ROW("EM", kAbbrevAttrs, 4),
    ROW("FIG", kFigAttrs, 4),
    ROW("FN", kAbbrevAttrs, 4),
    ROW("FOOTNOTE", kAbbrevAttrs, 4),
    ROW("FONT", kFontAttrs, 4),
    ROW("FORM", kFormAttrs, 4),
    ROW("H1", kH1Attrs, 4),
    ROW("H2", kH1Attrs, 4),
    ROW("H3", kH1Attrs, 4),
    ROW("H4", kH1Attrs, 4),
    ROW("H5", kH1Attrs, 4),
    ROW("H6", kH1Attrs, 4),
    ROW("H7", kH1Attrs, 4),
    BARE("HEAD", 4),
    ROW("HR", kHrAttrs, 0),
    ROW("HTML", kHtmlAttrs, 4),
    ROW("HTMLPLUS", kHtmlplusAttrs, 4),
    ROW("I", kAbbrevAttrs, 4),
    ROW("IMAGE", kImageAttrs, 0),
    ROW("IMG", kImgAttrs, 0),
    ROW("INPUT", kInputAttrs, 4),
    ROW("INS", kAbbrevAttrs, 4),
    ROW("ISINDEX", kIsindexAttrs, 0),
    ROW("KBD", kAbbrevAttrs, 4),
    ROW("L", kDivAttrs, 4),
    ROW("LANG", kAbbrevAttrs, 4),
    ROW("LH", kAbbrevAttrs, 4),
    ROW("LI", kLiAttrs, 0),
    ROW("LINK", kLinkAttrs, 0),
    BARE("LISTING", 1),
    ROW("LIT", kAbbrevAttrs, 4),
    ROW("MARGIN", kAbbrevAttrs, 4),
    ROW("MATH", kMathAttrs, 4),
    ROW("MENU", kDirAttrs, 4),
    ROW("META", kMetaAttrs, 0),
    ROW("NEXTID", kNextidAttrs, 0),
    ROW("NOTE", kNoteAttrs, 4),
    ROW("OL", kOlAttrs, 4),
    ROW("OPTION", kOptionAttrs, 4),
    BARE("OVER", 4),
    ROW("OVERLAY", kOverlayAttrs, 4),
    ROW("P", kDivAttrs, 4),
    ROW("PERSON", kAbbrevAttrs, 4),
    BARE("PLAINTEXT", 1),
    ROW("PRE", kPreAttrs, 1),
    ROW("Q", kAbbrevAttrs, 4),
    ROW("QUOTE", kAbbrevAttrs, 4),
    ROW("RANGE", kRangeAttrs, 0),
    ROW("RENDER", kRenderAttrs, 4),
    ROW("REMOVED", kAbbrevAttrs, 4),
    ROW("S", kAbbrevAttrs, 4),
    ROW("SAMP", kAbbrevAttrs, 4),
    ROW("SELECT", kSelectAttrs, 4),
    ROW("SMALL", kAbbrevAttrs, 4),
    ROW("SPOT", kMathAttrs, 0),
    ROW("STRONG", kAbbrevAttrs, 4),
    ROW("STYLE", kStyleAttrs, 0),
    ROW("SUB", kCaptionAttrs, 4),
    ROW("SUP", kCaptionAttrs, 4),
    ROW("TAB", kTabAttrs, 0),
    ROW("TABLE", kTableAttrs, 4),
    ROW("TD", kTdAttrs, 4),
    ROW("TEXTAREA", kTextareaAttrs, 3),
    ROW("TH", kTdAttrs, 4),
    BARE("TITLE", 3),
    ROW("TR", kTrAttrs, 4),
    ROW("TT", kAbbrevAttrs, 4),
    ROW("U", kAbbrevAttrs, 4),
    ROW("UL", kUlAttrs, 4),
    ROW("VAR", kAbbrevAttrs, 4),
    BARE("XMP", 1),
};

const char* const kKtfAsAttrs[] = {"ID", "KEY", "DHINT", "TYPE"};
const char* const kKtfAeAttrs[] = {"ID"};
const char* const kKtfInlineAttrs[] = {"ID", "DHINT"};
const char* const kKtfLAttrs[] = {"LEFT", "RIGHT", "CENTER", "INDENT"};
const char* const kKtfLiAttrs[] = {"ARABIC", "ALPHA", "DEFAULT", "NONE"};
const char* const kKtfUcsAttrs[] = {"CODE"};
const char* const kKtfFieldAttrs[] = {"HIDDEN", "VISIBLE"};

const TagRow kKtfRows[] = {
    ROW("AS", kKtfAsAttrs, 4),
    ROW("AE", kKtfAeAttrs, 4),
    BARE("CSPC", 4),
    BARE("COMPACT", 4),
    BARE("BODY", 4),
    BARE("DD", 4),
    BARE("DL", 4),
    BARE("DT", 4),
    BARE("FN", 4),
    BARE("H0", 4),
    BARE("H0T", 4),
    BARE("H1", 4),
    BARE("H1T", 4),
    BARE("H2", 4),
    BARE("H2T", 4),
    BARE("H3", 4),
    BARE("H3T", 4),
    BARE("H4", 4),
    BARE("H4T", 4),
    BARE("H5", 4),
    BARE("H5T", 4),
    BARE("H6", 4),
    BARE("H6T", 4),
    BARE("HP0", 4),
    BARE("HP1", 4),
    BARE("HP2", 4),
    BARE("HP3", 4),
    BARE("HR", 0),
    BARE("KORVEX", 4),
    ROW("INLINE", kKtfInlineAttrs, 0),
    BARE("KEY", 4),
    BARE("IT", 4),
    ROW("L", kKtfLAttrs, 4),
    ROW("LI", kKtfLiAttrs, 0),
    BARE("LQ", 4),
    BARE("P", 4),
    BARE("PLAIN", 1),
    BARE("Q", 4),
    BARE("SUB", 4),
    BARE("SUP", 4),
    BARE("TITLE", 4),
    ROW("UCS", kKtfUcsAttrs, 0),
    BARE("VERBATIM", 2),
    BARE("XMP", 1),
    BARE("INDEXC", 4),
    ROW("FIELD", kKtfFieldAttrs, 4),
    BARE("VALUE", 4),
};

#undef ROW
#undef BARE
struct EntityRow {
  const char* name;
  int code;
};

// Latin-1 characters, except that "nbsp" gives a plain blank.
const EntityRow kEntities[] = {
    {"nbsp", 0x20},    {"lt", 0x3C},      {"gt", 0x3E},     {"quot", 0x22},   {"amp", 0x26},
    {"copy", 0xA9},    {"Agrave", 0xC0},  {"Aacute", 0xC1}, {"Acirc", 0xC2},  {"Atilde", 0xC3},
    {"Auml", 0xC4},    {"Aring", 0xC5},   {"AElig", 0xC6},  {"Ccedil", 0xC7}, {"Egrave", 0xC8},
    {"Eacute", 0xC9},  {"Ecirc", 0xCA},   {"Euml", 0xCB},   {"Igrave", 0xCC}, {"Iacute", 0xCD},
    {"Icirc", 0xCE},   {"Iuml", 0xCF},    {"Ntilde", 0xD1}, {"Ograve", 0xD2}, {"Oacute", 0xD3},
    {"Ocirc", 0xD4},   {"Otilde", 0xD5},  {"Ouml", 0xD6},   {"Oslash", 0xD8}, {"Ugrave", 0xD9},
    {"Uacute", 0xDA},  {"Ucirc", 0xDB},   {"Uuml", 0xDC},   {"Yacute", 0xDD}, {"THORN", 0xDE},
    {"szlig", 0xDF},   {"agrave", 0xE0},  {"aacute", 0xE1}, {"acirc", 0xE2},  {"atilde", 0xE3},
    {"auml", 0xE4},    {"aring", 0xE5},   {"aelig", 0xE6},  {"ccedil", 0xE7}, {"egrave", 0xE8},
    {"eacute", 0xE9},  {"ecirc", 0xEA},   {"euml", 0xEB},   {"igrave", 0xEC}, {"iacute", 0xED},
    {"icirc", 0xEE},   {"iuml", 0xEF},    {"eth", 0xF0},    {"ntilde", 0xF1}, {"ograve", 0xF2},
    {"oacute", 0xF3},  {"ocirc", 0xF4},   {"otilde", 0xF5}, {"ouml", 0xF6},   {"oslash", 0xF8},
    {"ugrave", 0xF9},  {"uacute", 0xFA},  {"ucirc", 0xFB},  {"uuml", 0xFC},   {"yacute", 0xFD},
    {"thorn", 0xFE},   {"yuml", 0xFF},    {"ETH", 0xD0},    {"shy", 0xAD},    {"pound", 0xA3},
};

// Names are unique in each table, so a map finds the same row as a walk in
// table order would.
template <typename Row, size_t N, typename Key>
std::unordered_map<std::string_view, int> IndexByName(const Row (&rows)[N], Key key) {
  std::unordered_map<std::string_view, int> index;
  for (size_t i = 0; i < N; ++i) index.emplace(key(rows[i]), static_cast<int>(i));
  return index;
}

const TagTable kHtmlTable{kHtmlRows, static_cast<int>(std::size(kHtmlRows))};
const TagTable kKtfTable{kKtfRows, static_cast<int>(std::size(kKtfRows))};

}  // namespace

int TagTable::Find(std::string_view upperName) const {
  static const auto html = IndexByName(kHtmlRows, [](const TagRow& r) { return std::string_view(r.name); });
  static const auto ktf = IndexByName(kKtfRows, [](const TagRow& r) { return std::string_view(r.name); });
  const auto& index = rows == kHtmlRows ? html : ktf;
  auto it = index.find(upperName);
  return it == index.end() ? markup::kUnknownTag : it->second;
}

const TagTable& HtmlTags() { return kHtmlTable; }
const TagTable& KtfTags() { return kKtfTable; }

int FindMarkupEntity(std::string_view name) {
  static const auto index = IndexByName(kEntities, [](const EntityRow& r) { return std::string_view(r.name); });
  auto it = index.find(name);
  return it == index.end() ? -1 : kEntities[it->second].code;
}

int MarkupEntityCount() { return static_cast<int>(std::size(kEntities)); }
const char* MarkupEntityName(int row) {
  return row >= 0 && row < MarkupEntityCount() ? kEntities[row].name : "";
}
