#pragma once

// Runtime-class records: each class that declares one can say its name, its
// base and, when it is creatable, make a new object of itself. A class
// declares its record with DECLARE_DYNAMIC (or DECLARE_DYNCREATE when it can
// be made from the record) and defines it in one source file with the
// matching IMPLEMENT_ macro.

#include "platform/Types.h"

class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    // A new object of the class; null when the class is not creatable.
    CObject* CreateObject() const;
    // Whether this class is base or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* base) const;
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* base) const;

    static const CRuntimeClass classCObject;

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(name) (&name::class##name)

#define DECLARE_DYNAMIC(name)                                                                      \
public:                                                                                            \
    static const CRuntimeClass class##name;                                                        \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(name)                                                                    \
    DECLARE_DYNAMIC(name)                                                                          \
    static CObject* CreateObject();

#define PELLOR_RUNTIME_CLASS_RECORD(name, base, create)                                            \
    const CRuntimeClass name::class##name {                                                        \
#name, int(sizeof(name)), 0xFFFF, create, RUNTIME_CLASS(base)                              \
    };                                                                                             \
    const CRuntimeClass* name::GetRuntimeClass() const {                                           \
        return &name::class##name;                                                                 \
    }

#define IMPLEMENT_DYNAMIC(name, base) PELLOR_RUNTIME_CLASS_RECORD(name, base, nullptr)

#define IMPLEMENT_DYNCREATE(name, base)                                                            \
    CObject* name::CreateObject() {                                                                \
        return new name;                                                                           \
    }                                                                                              \
    PELLOR_RUNTIME_CLASS_RECORD(name, base, name::CreateObject)
