// The map from handles to framework objects. Permanent objects are entered
// by Attach and leave by Detach; temporary objects are made on demand for
// handles without a permanent object, one per handle and object class, and
// are deleted together (after being untied from their handles) when the
// temporary maps are freed at idle time.
#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

namespace zemra_mfc {

template <class Handle, class Object>
class HandleMap {
 public:
  // `untie` clears an object's handle before a temporary is deleted, so its
  // destructor leaves the handle alone.
  explicit HandleMap(void (*untie)(Object*)) : untie_(untie) {}
  ~HandleMap() = default;
  HandleMap(const HandleMap&) = delete;
  HandleMap& operator=(const HandleMap&) = delete;

  Object* Permanent(Handle h) const {
    auto it = permanent_.find(h);
    return it == permanent_.end() ? nullptr : it->second;
  }
  void SetPermanent(Handle h, Object* obj) { permanent_[h] = obj; }
  // Removes the entry when it belongs to `obj`.
  void RemovePermanent(Handle h, const Object* obj) {
    auto it = permanent_.find(h);
    if (it != permanent_.end() && it->second == obj) permanent_.erase(it);
  }

  // The permanent object when it is a `Want`, else a temporary `Want` made
  // with `make` (kept for later calls with the same handle).
  template <class Want>
  Want* FromHandle(Handle h, const std::function<Want*()>& make) {
    if (!h) return nullptr;
    if (Object* p = Permanent(h)) {
      if (auto* w = dynamic_cast<Want*>(p)) return w;
    }
    auto& list = temporary_[h];
    for (Object* t : list)
      if (auto* w = dynamic_cast<Want*>(t)) return w;
    Want* made = make();
    if (made) list.push_back(made);
    return made;
  }

  bool IsTemporary(const Object* obj) const {
    for (const auto& [h, list] : temporary_)
      for (const Object* t : list)
        if (t == obj) return true;
    return false;
  }

  void DeleteTemporaries() {
    auto drop = std::move(temporary_);
    temporary_.clear();
    for (auto& [h, list] : drop)
      for (Object* t : list) {
        untie_(t);
        delete t;
      }
  }

  // Unties every permanent object (without calling it) and frees the
  // temporaries.
  void Reset() {
    auto perm = std::move(permanent_);
    permanent_.clear();
    for (auto& [h, obj] : perm) untie_(obj);
    DeleteTemporaries();
  }

  size_t TemporaryCount() const {
    size_t n = 0;
    for (const auto& [h, list] : temporary_) n += list.size();
    return n;
  }
  std::vector<Object*> PermanentObjects() const {
    std::vector<Object*> out;
    for (const auto& [h, obj] : permanent_) out.push_back(obj);
    return out;
  }

 private:
  void (*untie_)(Object*);
  std::unordered_map<Handle, Object*> permanent_;
  std::unordered_map<Handle, std::vector<Object*>> temporary_;
};

}  // namespace zemra_mfc
