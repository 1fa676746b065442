// CObject and run-time class information: what an object's class is, whether
// it derives from another, and creating objects from a class found by name.
#pragma once

#include "win/types.h"

class CObject;
class CDumpContext;

// A place in one of the framework's lists (templates, documents, views):
// null past the end.
struct AfxPositionTag;
using POSITION = AfxPositionTag*;

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;  // 0xFFFF: not serializable
  CObject* (*m_pfnCreateObject)();  // null: not creatable at run time
  CRuntimeClass* m_pBaseClass;
  CRuntimeClass* m_pNextClass;  // chain of all registered classes

  // A new object of the class, or null when it is not creatable.
  CObject* CreateObject() const;
  // True for the class itself and every class below `base`.
  BOOL IsDerivedFrom(const CRuntimeClass* base) const;
  // A class of the program by its name (compared exactly), or null. Classes
  // register themselves when their IMPLEMENT_ macro's file is linked in.
  static CRuntimeClass* FromName(LPCSTR name);
};

// Registers a class at start-up; IMPLEMENT_DYNAMIC and friends make one.
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* cls);
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)               \
 public:                                          \
  static CRuntimeClass class##class_name;         \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define ZEMRA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, create)                      \
  CRuntimeClass class_name::class##class_name = {#class_name,                                 \
                                                 static_cast<int>(sizeof(class_name)),        \
                                                 0xFFFF,                                       \
                                                 create,                                       \
                                                 RUNTIME_CLASS(base_class_name),              \
                                                 nullptr};                                     \
  static const AFX_CLASSINIT zemra_classinit_##class_name(&class_name::class##class_name);    \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  ZEMRA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)              \
  CObject* class_name::CreateObject() { return new class_name; }     \
  ZEMRA_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)

class CObject {
 public:
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;

  BOOL IsKindOf(const CRuntimeClass* cls) const;

  // Diagnostics: AssertValid checks the object's invariants (debug builds
  // stop on a broken one); Dump writes a description.
  virtual void AssertValid() const;
  virtual void Dump(CDumpContext& dc) const;

  static CRuntimeClass classCObject;

 protected:
  CObject() = default;

 public:
  // Objects with run-time classes are not copied: each has an identity.
  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;
};
