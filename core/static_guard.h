// Shared objects that static initialisers of other source files may use.
// Their header defines one StaticGuard<Owner> per source file that includes
// it, ahead of that file's own static objects. The guards share one use
// counter per owner: the first guard to be constructed calls Owner::Init(),
// the last one to be destroyed calls Owner::Exit(). Because each file's guard
// comes before its own statics, the shared objects exist before any of them
// is constructed and outlive every one of them, whatever the link order.
//
// Owner provides `static void Init()` and `static void Exit()`.
#pragma once

template <class Owner>
class StaticGuard {
 public:
  StaticGuard() {
    if (useCount_++ == 0) Owner::Init();
  }
  ~StaticGuard() {
    if (--useCount_ == 0) Owner::Exit();
  }
  StaticGuard(const StaticGuard&) = delete;
  StaticGuard& operator=(const StaticGuard&) = delete;

  // Number of guards alive now.
  static int useCount() { return useCount_; }

 private:
  // Constant-initialised, so it is 0 before any dynamic initialisation runs.
  static inline int useCount_ = 0;
};
