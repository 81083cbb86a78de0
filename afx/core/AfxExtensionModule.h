// Extension-module start-up: every extension library that a process loads
// joins one process-wide chain, which resource lookups walk.
#pragma once

#include "AfxTypes.h"

struct AFX_EXTENSION_MODULE
{
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
};

class AFX_CORE_API CDynLinkLibrary
{
public:
    // Joins the chain; the chain owns the object from then on.
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    CDynLinkLibrary(const CDynLinkLibrary&) = delete;
    CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;
    virtual ~CDynLinkLibrary();

    // The chain, newest library first.
    static CDynLinkLibrary* GetFirst();
    CDynLinkLibrary* GetNext() const { return m_pNextDLL; }

    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;

private:
    CDynLinkLibrary* m_pNextDLL = nullptr;
};

// Records the module; FALSE when the module handle is null.
AFX_CORE_API BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Removes and destroys the module's libraries from the chain.
AFX_CORE_API void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);
