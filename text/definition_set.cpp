#include "text/definition_set.h"

#include "text/def_lexer.h"
#include "text/string_translator.h"
#include "text/token_items.h"
#include "text/value_table.h"

Action::Action(const CString& name) : body_(std::make_shared<Body>()) { body_->name = name; }

const CString& Action::parameter(int index) const {
  static const CString empty;
  return index >= 0 && index < kMaxParameters ? body_->params[static_cast<size_t>(index)] : empty;
}

void Action::SetKind(LONG kind) {
  if (kind < 0 || kind > kMaxKind) kind = 0;
  if (body_->kind == kind) return;
  if (body_.use_count() != 1) body_ = std::make_shared<Body>(*body_);
  body_->kind = kind;
}

void Action::SetParameter(int index, const CString& text) {
  if (index < 0 || index >= kMaxParameters) return;
  auto slot = static_cast<size_t>(index);
  if (body_->params[slot] == text) return;
  if (body_.use_count() != 1) body_ = std::make_shared<Body>(*body_);
  body_->params[slot] = text;
  const auto bit = static_cast<std::uint16_t>(1u << index);
  if (text.view().find_first_of("$^?@") != std::string_view::npos)
    body_->marked |= bit;
  else
    body_->marked &= static_cast<std::uint16_t>(~bit);
  if (!text.IsEmpty()) {
    if (body_->count < index + 1) body_->count = index + 1;
    return;
  }
  if (index != body_->count - 1) return;
  LONG count = 0;
  for (int i = index - 1; i >= 0; --i) {
    if (!body_->params[static_cast<size_t>(i)].IsEmpty()) {
      count = i + 1;
      break;
    }
  }
  body_->count = count;
}

DefinitionSet::DefinitionSet() : styles_(kStyleBuckets), actions_(kActionBuckets), events_(kEventBuckets) {}

DefinitionSet::~DefinitionSet() = default;

const TranslationList* DefinitionSet::FindList(std::string_view name) const {
  for (const auto& list : lists_)
    if (list->name().view() == name) return list.get();
  return nullptr;
}

StyleDefinition* DefinitionSet::FindStyle(std::string_view name) const {
  auto* n = styles_.Find(name);
  return n ? n->value : nullptr;
}

const Action* DefinitionSet::FindAction(std::string_view name) const {
  auto* n = actions_.Find(name);
  return n ? &n->value : nullptr;
}

void DefinitionSet::EventKey(std::string& key, std::string_view tag, std::string_view attribute,
                             std::string_view value) {
  key.clear();
  key.append(tag).push_back('\0');
  key.append(attribute).push_back('\0');
  key.append(value);
}

const EventDefinition* DefinitionSet::FindEvent(std::string_view tag, std::string_view attribute,
                                                std::string_view value) const {
  EventKey(key_, tag, attribute, value);
  auto* n = events_.Find(key_);
  return n ? &n->value : nullptr;
}

StyleDefinition* DefinitionSet::AddStyle(const StyleDefinition& style) {
  styleList_.push_back(std::make_unique<StyleDefinition>(style));
  StyleDefinition* kept = styleList_.back().get();
  styles_.Insert(kept->name, kept);
  return kept;
}

void DefinitionSet::AddAction(const Action& action) {
  ForgetPlainEvents();
  actions_.Insert(action.name(), action);
}

void DefinitionSet::AddEvent(EventDefinition event) {
  ForgetPlainEvents();
  std::string key;
  EventKey(key, event.tag.view(), event.attribute.view(), event.value.view());
  events_.Insert(CString(std::move(key)), std::move(event));
}

void DefinitionSet::AddList(std::unique_ptr<TranslationList> list) {
  ForgetPlainEvents();
  lists_.push_back(std::move(list));
}

CString DefinitionSet::ColorStyleName(BYTE red, BYTE green, BYTE blue, LONG scale) {
  CString name;
  name.Format("mildawColor_%02x%02x%02x_%d", red, green, blue, scale);
  return name;
}

StyleDefinition* DefinitionSet::GetColorStyle(BYTE red, BYTE green, BYTE blue, LONG scale) {
  const CString name = ColorStyleName(red, green, blue, scale);
  if (StyleDefinition* found = FindStyle(name.view())) return found;
  StyleDefinition def(TextStyle::Empty(), name);
  def.style.color = ColorRecord::Rgb(red, green, blue);
  def.style.colorSet = 1;
  def.style.scale.Set(scale, StyleValue::kPercent);
  return AddStyle(def);
}

bool DefinitionSet::FindEventDefinitions(const TokenEvent& event,
                                         std::vector<const EventDefinition*>& out) const {
  const size_t before = out.size();
  auto find = [&](std::string_view t, std::string_view a, std::string_view v) {
    if (const EventDefinition* d = FindEvent(t, a, v)) out.push_back(d);
  };
  const std::string_view tag = event.name.view();
  auto each = [&](auto&& visit) {
    for (ListElement* e = event.subItems.first(); e; e = e->next()) {
      auto* pair = static_cast<AttributePair*>(e);
      if (pair->value.IsEmpty()) {
        visit(pair->name.view(), std::string_view());
        continue;
      }
      CString value = pair->value;
      value.MakeUpper();
      visit(pair->name.view(), value.view());
    }
  };
  if (!event.IsEnd()) {
    find(tag, {}, {});
    each([&](std::string_view a, std::string_view v) {
      find({}, a, {});
      if (!v.empty()) find({}, a, v);
      find(tag, a, {});
      if (!v.empty()) find(tag, a, v);
    });
  } else {
    each([&](std::string_view a, std::string_view v) {
      if (!v.empty()) find(tag, a, v);
      find(tag, a, {});
      if (!v.empty()) find({}, a, v);
      find({}, a, {});
    });
    find(tag, {}, {});
  }
  return out.size() > before;
}

bool DefinitionSet::ApplyEvent(const TokenEvent& event, ValueTable& values, std::vector<Action>& out) const {
  std::vector<const EventDefinition*>& matched = matched_;
  matched.clear();
  if (!FindEventDefinitions(event, matched)) return false;
  for (ListElement* e = event.subItems.first(); e; e = e->next()) {
    auto* pair = static_cast<AttributePair*>(e);
    values.Add(pair->name, pair->value, 0);
  }
  StringTranslator& translator = StringTranslator::Instance();
  for (const EventDefinition* def : matched) {
    for (const Action& action : def->actions) {
      // Parameters without markers translate to themselves: the action's
      // own parameters serve, shared.
      if (!action.NeedsTranslation()) {
        out.push_back(action);
        continue;
      }
      Action copy = action;
      for (int i = 0; i < action.parameterCount(); ++i) {
        if (!action.NeedsTranslation(i)) continue;
        const CString& text = action.parameter(i);
        CString translated;
        if (translator.Translate(text, translated, &values, this, StringTranslator::kBoth, true) != -1)
          copy.SetParameter(i, translated);
      }
      out.push_back(std::move(copy));
    }
  }
  return true;
}

void DefinitionSet::ForgetPlainEvents() {
  for (RecentName& r : recent_) r.entry = nullptr;
  plain_.clear();
}

size_t DefinitionSet::RecentSlot(std::string_view name) {
  std::uint32_t h = 2166136261u;  // FNV-1a: event names are short
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
  return h % std::tuple_size_v<decltype(recent_)>;
}

const std::vector<Action>* DefinitionSet::PlainEventActions(std::string_view name) const {
  RecentName& slot = recent_[RecentSlot(name)];
  if (slot.entry && slot.name == name) return *slot.entry ? &**slot.entry : nullptr;
  auto found = plain_.find(name);
  if (found == plain_.end()) {
    const TokenEvent probe(0, CString(name));
    ValueTable none;
    std::vector<Action> actions;
    std::optional<std::vector<Action>> entry;
    if (ApplyEvent(probe, none, actions)) entry = std::move(actions);
    found = plain_.emplace(std::string(name), std::move(entry)).first;
  }
  slot.name.assign(name);
  slot.entry = &found->second;
  return found->second ? &*found->second : nullptr;
}
