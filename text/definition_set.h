// Everything a definition-language file (HTML.sty, KTF.sty) defines for one
// document type: translation lists, named styles, named actions, the events
// that bind a tag, attribute and value to a list of actions, and the
// preformatted tags. Read once per type; during a load the dispatcher asks
// it for the actions of each event, their parameters expanded against the
// event's attributes.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mfc/cstring.h"
#include "text/string_hash_table.h"
#include "text/style_definition.h"
#include "text/translation_list.h"

class DefLexer;
class TokenEvent;
class ValueTable;

// One ACTION of a definition file: a style-property kind (its FUNCT number)
// and up to 13 parameters. Copies share the parameters until one of them
// changes a parameter.
class Action {
 public:
  static constexpr int kMaxParameters = 13;
  static constexpr int kMaxKind = 36;

  explicit Action(const CString& name = CString());

  const CString& name() const { return body_->name; }
  LONG kind() const { return body_->kind; }
  // One more than the highest parameter index that holds a text.
  LONG parameterCount() const { return body_->count; }
  const CString& parameter(int index) const;
  const std::array<CString, kMaxParameters>& parameters() const { return body_->params; }
  // Kinds outside 0..36 become 0.
  void SetKind(LONG kind);
  // Indices outside 0..12 are ignored; an empty text clears the parameter.
  void SetParameter(int index, const CString& text);
  // How many actions share this one's parameters (for tests).
  long shareCount() const { return body_.use_count(); }
  // Whether a parameter holds a marker that translation replaces ("$", "^",
  // "?", "@"): the others translate to themselves.
  bool NeedsTranslation() const { return body_->marked != 0; }
  bool NeedsTranslation(int index) const {
    return index >= 0 && index < kMaxParameters && (body_->marked >> index) & 1u;
  }

 private:
  struct Body {
    CString name;
    LONG kind = 0;
    LONG count = 0;
    // Bit i: parameter i holds a translation marker.
    std::uint16_t marked = 0;
    std::array<CString, kMaxParameters> params;
  };
  std::shared_ptr<Body> body_;
};

// An EVENT of a definition file: the tag, attribute and value it matches
// (each may be empty) and its actions in file order.
struct EventDefinition {
  CString tag;
  CString attribute;
  CString value;
  std::vector<Action> actions;
};

class DefinitionSet : public TranslationListSource {
 public:
  static constexpr int kStyleBuckets = 53;
  static constexpr int kActionBuckets = 53;
  static constexpr int kEventBuckets = 97;

  DefinitionSet();
  ~DefinitionSet() override;

  // Reads a whole definition-language file into the set; always true.
  bool Read(std::istream& in);

  const TranslationList* FindList(std::string_view name) const override;
  StyleDefinition* FindStyle(std::string_view name) const;
  const Action* FindAction(std::string_view name) const;
  const EventDefinition* FindEvent(std::string_view tag, std::string_view attribute,
                                   std::string_view value) const;
  bool IsPreformatted(const CString& tag) const { return preformatted_.count(tag.str()) != 0; }

  // The style of an explicit colour at a scale, made on first use. Its name
  // keeps the parts apart ("mildawColor_ff0010_100"), so two colours never
  // share one.
  StyleDefinition* GetColorStyle(BYTE red, BYTE green, BYTE blue, LONG scale);
  static CString ColorStyleName(BYTE red, BYTE green, BYTE blue, LONG scale);

  // The definitions that match an event: general before particular at the
  // start of an element, particular before general at its end.
  bool FindEventDefinitions(const TokenEvent& event, std::vector<const EventDefinition*>& out) const;
  // The actions the event triggers, appended to `out` with their parameters
  // translated against the event's attributes (entered in `values`). False
  // when no definition matched.
  bool ApplyEvent(const TokenEvent& event, ValueTable& values, std::vector<Action>& out) const;
  // The actions of an event of that name without attributes, as ApplyEvent
  // gives them; null when no definition matches. They depend on the
  // definitions alone, so they are worked out once per name; the list stays
  // valid until a definition is entered.
  const std::vector<Action>* PlainEventActions(std::string_view name) const;

  // Entering definitions (the reader uses these; a later entry of the same
  // key replaces the earlier one).
  StyleDefinition* AddStyle(const StyleDefinition& style);
  void AddAction(const Action& action);
  void AddEvent(EventDefinition event);
  void AddList(std::unique_ptr<TranslationList> list);
  void AddPreformatted(const CString& tag) { preformatted_.insert(tag.str()); }

  int StyleCount() const { return static_cast<int>(styleList_.size()); }
  int ListCount() const { return static_cast<int>(lists_.size()); }
  int PreformattedCount() const { return static_cast<int>(preformatted_.size()); }

 private:
  void ReadAction(DefLexer& lexer);
  void ReadEvent(DefLexer& lexer);
  void ReadPreformatted(DefLexer& lexer);
  static void EventKey(std::string& key, std::string_view tag, std::string_view attribute, std::string_view value);

  std::vector<std::unique_ptr<TranslationList>> lists_;
  StringHashTable<StyleDefinition*> styles_;
  std::vector<std::unique_ptr<StyleDefinition>> styleList_;
  StringHashTable<Action> actions_;
  StringHashTable<EventDefinition> events_;
  std::set<std::string> preformatted_;
  // Work space of the lookups, kept between events so that dispatch does not
  // allocate for them (the program has one thread).
  mutable std::string key_;
  mutable std::vector<const EventDefinition*> matched_;
  // PlainEventActions by event name; an empty optional where nothing matched.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  using PlainEntry = std::optional<std::vector<Action>>;
  mutable std::unordered_map<std::string, PlainEntry, NameHash, std::equal_to<>> plain_;
  // Names asked for before, tried ahead of the map: one slot per cheap hash
  // of the name, the newest name taking the slot. A document's events come
  // from a few dozen names.
  struct RecentName {
    std::string name;
    const PlainEntry* entry = nullptr;
  };
  static size_t RecentSlot(std::string_view name);
  mutable std::array<RecentName, 128> recent_;
  void ForgetPlainEvents();
};
