// Intrusive reference counting for objects shared by many holders at once
// (server objects, stores). Holders keep a Ref; raw pointers live only for
// the duration of a call. Single-threaded: the count is a plain integer.
#pragma once

#include <cstdint>
#include <functional>

class ObjRef {
 public:
  ObjRef() = default;
  ObjRef(const ObjRef&) : count_(0) {}  // a copy starts unowned
  ObjRef& operator=(const ObjRef&) { return *this; }
  virtual ~ObjRef();

  void AddRef() { ++count_; }
  // Destroys the object when the count drops to 0, or when it was 0 already
  // (an object nobody ever took).
  void Release() {
    if (count_ > 0) --count_;
    if (count_ == 0) {
      // A destructor may take and drop a temporary handle to its own object
      // (to leave a registry, say); the dying count keeps that from reaching
      // 0 again and deleting the object twice.
      count_ = kDying;
      delete this;
    }
  }
  std::int32_t RefCount() const { return count_; }

  static void SafeAddRef(ObjRef* p) {
    if (p) p->AddRef();
  }
  static void SafeRelease(ObjRef* p) {
    if (p) p->Release();
  }

 private:
  static constexpr std::int32_t kDying = INT32_MIN / 2;
  std::int32_t count_ = 0;
};

// A handle holding one reference to an ObjRef-derived object (null allowed).
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(T* p) : p_(p) { ObjRef::SafeAddRef(p_); }  // NOLINT: implicit by design
  Ref(const Ref& other) : p_(other.p_) { ObjRef::SafeAddRef(p_); }
  template <class U>
  Ref(const Ref<U>& other) : p_(other.get()) {  // NOLINT: derived to base
    ObjRef::SafeAddRef(p_);
  }
  Ref(Ref&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
  ~Ref() { ObjRef::SafeRelease(p_); }

  // Add the new reference before releasing the old one, so that assigning an
  // object's only handle to itself never lets its count reach 0 in between.
  Ref& operator=(const Ref& other) { return *this = other.p_; }
  Ref& operator=(T* p) {
    ObjRef::SafeAddRef(p);
    T* old = p_;
    p_ = p;
    ObjRef::SafeRelease(old);
    return *this;
  }
  Ref& operator=(Ref&& other) noexcept {
    if (this != &other) {
      T* old = p_;
      p_ = other.p_;
      other.p_ = nullptr;
      ObjRef::SafeRelease(old);
    }
    return *this;
  }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T& operator*() const { return *p_; }
  explicit operator bool() const { return p_ != nullptr; }
  bool operator!() const { return p_ == nullptr; }

  // Store a pointer without touching any count: only where the caller
  // balances the counts itself.
  void setRaw(T* p) { p_ = p; }
  void assignRaw(T* p) { p_ = p; }
  bool less(const Ref& other) const { return std::less<T*>()(p_, other.p_); }

  friend bool operator==(const Ref& a, const Ref& b) { return a.p_ == b.p_; }
  friend bool operator!=(const Ref& a, const Ref& b) { return a.p_ != b.p_; }
  friend bool operator==(const Ref& a, std::nullptr_t) { return a.p_ == nullptr; }
  friend bool operator!=(const Ref& a, std::nullptr_t) { return a.p_ != nullptr; }

 private:
  T* p_ = nullptr;
};
