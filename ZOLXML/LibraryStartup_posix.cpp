#include "LibraryStartup.h"

#include <dlfcn.h>

#include <cstdlib>

namespace
{
// The module handle of a shared object is its load address.
HMODULE ThisModule()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ZolXmlProcessAttach), &info) == 0)
        return nullptr;
    return static_cast<HMODULE>(info.dli_fbase);
}

__attribute__((constructor)) void OnLoad()
{
    // A failed start-up fails the load, as a DllMain returning FALSE does.
    if (!ZolXmlProcessAttach(ThisModule()))
        std::abort();
}

__attribute__((destructor)) void OnUnload()
{
    ZolXmlProcessDetach();
}
}
