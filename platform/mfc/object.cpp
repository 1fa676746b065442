#include "mfc/object.h"

#include <cstring>

#include "mfc/dump_context.h"

namespace {

// Constant-initialised, so classes registering during start-up always find
// the chain in place.
CRuntimeClass* gFirstClass = nullptr;

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", static_cast<int>(sizeof(CObject)), 0xFFFF,
                                       nullptr, nullptr, nullptr};
static const AFX_CLASSINIT zemra_classinit_CObject(&CObject::classCObject);

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* cls) {
  if (!cls) return;
  for (CRuntimeClass* c = gFirstClass; c; c = c->m_pNextClass)
    if (c == cls) return;  // registered twice (a header-defined class)
  cls->m_pNextClass = gFirstClass;
  gFirstClass = cls;
}

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
  if (!base) return FALSE;
  for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
    if (c == base) return TRUE;
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR name) {
  if (!name) return nullptr;
  for (CRuntimeClass* c = gFirstClass; c; c = c->m_pNextClass)
    if (std::strcmp(c->m_lpszClassName, name) == 0) return c;
  return nullptr;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* cls) const {
  return GetRuntimeClass()->IsDerivedFrom(cls);
}

void CObject::AssertValid() const {}

void CObject::Dump(CDumpContext& dc) const {
  dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << static_cast<const void*>(this)
     << "\n";
}
