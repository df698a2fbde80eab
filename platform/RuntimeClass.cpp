#include "platform/RuntimeClass.h"

const CRuntimeClass CObject::classCObject{"CObject", int(sizeof(CObject)), 0xFFFF, nullptr,
                                          nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

BOOL CObject::IsKindOf(const CRuntimeClass* base) const {
    return GetRuntimeClass()->IsDerivedFrom(base);
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    if (!base)
        return FALSE;
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return TRUE;
    return FALSE;
}
