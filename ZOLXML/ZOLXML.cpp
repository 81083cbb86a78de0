// Library start-up: ZOLXML is an extension library. Loading it joins the
// process's chain of extension libraries; unloading it leaves the chain.
#include "LibraryStartup.h"

namespace
{
AFX_EXTENSION_MODULE g_zolxmlModule = {FALSE, nullptr, nullptr};
}

BOOL ZolXmlProcessAttach(HMODULE hModule)
{
    if (!AfxInitExtensionModule(g_zolxmlModule, hModule))
        return FALSE;
    // The chain owns the object from here on; AfxTermExtensionModule frees it.
    new CDynLinkLibrary(g_zolxmlModule);
    return TRUE;
}

void ZolXmlProcessDetach()
{
    AfxTermExtensionModule(g_zolxmlModule);
}
