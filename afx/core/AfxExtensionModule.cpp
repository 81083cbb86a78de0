#include "AfxExtensionModule.h"

#include <mutex>

namespace
{
struct LibraryChain
{
    std::mutex lock;
    CDynLinkLibrary* pHead = nullptr;
};

LibraryChain& Chain()
{
    static LibraryChain chain;
    return chain;
}
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem)
{
    LibraryChain& chain = Chain();
    std::lock_guard<std::mutex> guard(chain.lock);
    m_pNextDLL = chain.pHead;
    chain.pHead = this;
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    LibraryChain& chain = Chain();
    std::lock_guard<std::mutex> guard(chain.lock);
    for (CDynLinkLibrary** pp = &chain.pHead; *pp != nullptr; pp = &(*pp)->m_pNextDLL)
    {
        if (*pp == this)
        {
            *pp = m_pNextDLL;
            break;
        }
    }
}

CDynLinkLibrary* CDynLinkLibrary::GetFirst()
{
    LibraryChain& chain = Chain();
    std::lock_guard<std::mutex> guard(chain.lock);
    return chain.pHead;
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule)
{
    if (hModule == nullptr)
        return FALSE;
    if (!state.bInitialized)
    {
        state.hModule = hModule;
        state.hResource = hModule;
        state.bInitialized = TRUE;
    }
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll)
{
    if (!state.bInitialized)
        return;
    // Collect under the lock, destroy outside it: each destructor unlinks itself.
    for (;;)
    {
        CDynLinkLibrary* pVictim = nullptr;
        {
            LibraryChain& chain = Chain();
            std::lock_guard<std::mutex> guard(chain.lock);
            for (CDynLinkLibrary* p = chain.pHead; p != nullptr; p = p->GetNext())
            {
                if (bAll || p->m_hModule == state.hModule)
                {
                    pVictim = p;
                    break;
                }
            }
        }
        if (pVictim == nullptr)
            break;
        delete pVictim;
    }
    state.bInitialized = FALSE;
}
