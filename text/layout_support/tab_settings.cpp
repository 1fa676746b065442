#include "text/layout_support/tab_settings.h"

#include <algorithm>
#include <new>

namespace {

// The next multiple of `width` after `position` (truncating division, in 64
// bits so that positions near the top of the range cannot wrap).
long long nextMultiple(LONG position, LONG width) {
  long long p = position;
  return ((p + width) / width) * width;
}

}  // namespace

TabSettings::TabSettings(LONG baseIndent, LONG secondIndent, LONG rightEdge, LONG tabWidth)
    : baseIndent_(baseIndent),
      indent_(baseIndent),
      secondIndent_(secondIndent),
      rightEdge_(rightEdge),
      tabWidth_(tabWidth) {}

TabSettings::TabSettings(const TabSettings& other)
    : ListElement(),
      baseIndent_(other.baseIndent_),
      indent_(other.indent_),
      secondIndent_(other.secondIndent_),
      rightEdge_(other.rightEdge_),
      tabWidth_(other.tabWidth_) {
  Stop** tail = &stops_;
  for (const Stop* s = other.stops_; s; s = s->next) {
    Stop* copy = new Stop{s->at, s->name, nullptr};
    *tail = copy;
    tail = &copy->next;
  }
}

TabSettings::~TabSettings() {
  if (owner_) owner_->Leave(this);
  deleteStops();
}

void TabSettings::deleteStops() {
  while (stops_) {
    Stop* next = stops_->next;
    delete stops_;
    stops_ = next;
  }
}

void TabSettings::AddRef() { ++refCount_; }

void TabSettings::Release() {
  if (refCount_ > 0) --refCount_;
  if (owner_ && refCount_ == 1) {
    // Only the list's reference is left: the record leaves the list.
    owner_->Leave(this);
    refCount_ = 0;
  }
  if (refCount_ == 0 && !owner_) delete this;
}

bool TabSettings::AddTabStop(const TabStopPosition& stop, const CString& name) {
  if (!name.IsEmpty()) RemoveTabStop(name);
  Stop** link = &stops_;
  while (*link && (*link)->at.position < stop.position) link = &(*link)->next;
  if (*link && (*link)->at.position == stop.position && (*link)->name == name) return true;
  while (*link && (*link)->at.position == stop.position) link = &(*link)->next;
  Stop* added = new (std::nothrow) Stop{stop, name, *link};
  if (!added) return false;
  *link = added;
  return true;
}

void TabSettings::RemoveTabStop(const CString& name) {
  for (Stop** link = &stops_; *link; link = &(*link)->next) {
    if ((*link)->name == name) {
      Stop* gone = *link;
      *link = gone->next;
      delete gone;
      return;
    }
  }
}

TabSettings* TabSettings::WithTabStop(const TabStopPosition& stop, const CString& name) {
  auto* copy = new (std::nothrow) TabSettings(*this);
  if (!copy) return this;
  if (!copy->AddTabStop(stop, name)) {
    delete copy;
    return this;
  }
  return copy;
}

TabSettings* TabSettings::WithIndent(LONG indent) {
  if (indent == 0) indent = baseIndent_;
  if (indent_ == indent) return this;
  auto* copy = new (std::nothrow) TabSettings(*this);
  if (!copy) return this;
  copy->indent_ = indent;
  return copy;
}

TabSettings* TabSettings::WithMargins(LONG base, LONG second, LONG rightEdge, LONG tabWidth) {
  if (baseIndent_ == base && indent_ == base && secondIndent_ == second && rightEdge_ == rightEdge &&
      tabWidth_ == tabWidth)
    return this;
  auto* copy = new (std::nothrow) TabSettings(*this);
  if (!copy) return this;
  copy->baseIndent_ = copy->indent_ = base;
  copy->secondIndent_ = second;
  copy->rightEdge_ = rightEdge;
  copy->tabWidth_ = tabWidth;
  return copy;
}

TabStopPosition TabSettings::fallback(LONG position) const {
  // An eighth of the tab width, but never nothing: a layout loop that asks
  // again from the result must get further each time.
  LONG step = std::max<LONG>(1, tabWidth_ / 8);
  long long next = static_cast<long long>(position) + step;
  return {static_cast<LONG>(std::min<long long>(next, 0x7fffffff)), kOrdinaryTabKind};
}

TabStopPosition TabSettings::NextStop(LONG position) const {
  const Stop* s = stops_;
  while (s && s->at.position <= position) s = s->next;
  if (!s) {
    if (position < indent_) return {indent_, kOrdinaryTabKind};
    if (tabWidth_ != 0) {
      long long t = nextMultiple(position, tabWidth_);
      if (t < rightEdge_) return {static_cast<LONG>(t), kOrdinaryTabKind};
    }
  } else if (s->at.position < rightEdge_) {
    return s->at;
  }
  return fallback(position);
}

const TabSettings::Stop* TabSettings::findNamed(const CString& name) const {
  for (const Stop* s = stops_; s; s = s->next)
    if (s->name == name) return s;
  return nullptr;
}

TabStopPosition TabSettings::NextTabStop(const CString& name, LONG position, LONG kind) const {
  TabStopPosition result;
  bool found = false;
  if (name.IsEmpty()) {
    result = NextStop(position);
    found = true;
  } else if (name == kLeftBorderStop) {
    if (position < indent_) {
      result = {indent_, kOrdinaryTabKind};
      found = true;
    }
  } else if (name == kLeftCounterStop) {
    if (position < indent_ - 1) {
      result = {indent_ - 1, kOrdinaryTabKind};
      found = true;
    }
  } else if (name == kPreformattedTabStop) {
    if (tabWidth_ != 0) {
      long long t = nextMultiple(position, tabWidth_);
      if (t < rightEdge_ && t > position) {
        result = {static_cast<LONG>(t), kOrdinaryTabKind};
        found = true;
      }
    }
  } else if (const Stop* s = findNamed(name)) {
    if (position <= s->at.position) {
      result = s->at;
      found = true;
    }
  }
  if (!found) result = fallback(position);
  if (kind != kOrdinaryTabKind) result.kind = kind;
  return result;
}

int TabSettings::StopCount() const {
  int n = 0;
  for (const Stop* s = stops_; s; s = s->next) ++n;
  return n;
}

bool TabSettings::StopAt(int i, TabStopPosition& stop, CString& name) const {
  const Stop* s = stops_;
  for (; s && i > 0; --i) s = s->next;
  if (!s || i < 0) return false;
  stop = s->at;
  name = s->name;
  return true;
}

TabSettingsList::~TabSettingsList() {
  while (auto* settings = static_cast<TabSettings*>(records_.first())) {
    Leave(settings);
    settings->Release();
  }
}

bool TabSettingsList::Append(TabSettings* settings) {
  if (!settings || settings->owner_ || settings->isLinked()) return false;
  settings->AddRef();
  settings->owner_ = this;
  records_.append(settings);
  return true;
}

void TabSettingsList::Leave(TabSettings* settings) {
  records_.unlink(settings);
  settings->owner_ = nullptr;
}
