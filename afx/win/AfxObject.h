// Run-time class information: every window and application class names
// itself and its base, so that code can ask an object what it is.
#pragma once

#include <afx/core/AfxTypes.h>

class CObject;

struct AFX_CORE_API CRuntimeClass
{
    LPCSTR m_lpszClassName;
    CObject* (PASCAL* m_pfnCreateObject)(); // null: no dynamic creation
    CRuntimeClass* (PASCAL* m_pfnGetBaseClass)();

    // TRUE when this class is pBaseClass or derives from it.
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

// Declares a class's run-time information (without dynamic creation).
#define DECLARE_DYNAMIC(class_name)                                                                \
protected:                                                                                         \
    static CRuntimeClass* PASCAL GetThisBaseClass();                                               \
                                                                                                   \
public:                                                                                            \
    static const CRuntimeClass class##class_name;                                                  \
    static CRuntimeClass* PASCAL GetThisClass();                                                   \
    CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    CRuntimeClass* PASCAL class_name::GetThisBaseClass() { return RUNTIME_CLASS(base_class_name); } \
    const CRuntimeClass class_name::class##class_name = {#class_name, nullptr,                     \
                                                         &class_name::GetThisBaseClass};           \
    CRuntimeClass* PASCAL class_name::GetThisClass()                                               \
    {                                                                                              \
        return const_cast<CRuntimeClass*>(&class_name::class##class_name);                         \
    }                                                                                              \
    CRuntimeClass* class_name::GetRuntimeClass() const { return GetThisClass(); }

class AFX_CORE_API CObject
{
public:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject();

    virtual CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;
    static CRuntimeClass* PASCAL GetThisClass();

protected:
    CObject() = default;
};
