#include "LibraryStartup.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/)
{
    switch (dwReason)
    {
    case DLL_PROCESS_ATTACH:
        return ZolXmlProcessAttach(hInstance);
    case DLL_PROCESS_DETACH:
        ZolXmlProcessDetach();
        break;
    default:
        break; // thread attach and detach need nothing
    }
    return TRUE;
}
