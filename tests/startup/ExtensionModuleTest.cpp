#include <afx/core/afx.h>

#include <gtest/gtest.h>

#include <vector>

#if !defined(_WIN32)
#  include <dlfcn.h>
#  include <link.h>
#endif

namespace
{
// The module handles of the extension libraries in the chain.
std::vector<HMODULE> ChainModules()
{
    std::vector<HMODULE> modules;
    for (CDynLinkLibrary* p = CDynLinkLibrary::GetFirst(); p != nullptr; p = p->GetNext())
        modules.push_back(p->m_hModule);
    return modules;
}

#if defined(_WIN32)
void* LoadLibrary(const char* path)
{
    return ::LoadLibraryA(path);
}
void UnloadLibrary(void* handle)
{
    ::FreeLibrary(static_cast<HMODULE>(handle));
}
// On Windows the module handle is the load handle itself.
HMODULE ModuleOf(void* handle)
{
    return static_cast<HMODULE>(handle);
}
#else
void* LoadLibrary(const char* path)
{
    return ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
}
void UnloadLibrary(void* handle)
{
    ::dlclose(handle);
}
// On POSIX systems the module handle is the library's load address.
HMODULE ModuleOf(void* handle)
{
    link_map* map = nullptr;
    if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) != 0 || map == nullptr)
        return nullptr;
    return reinterpret_cast<HMODULE>(map->l_addr);
}
#endif
}

TEST(ExtensionModule, LibraryJoinsChainWhenLoadedAndLeavesWhenUnloaded)
{
    const std::vector<HMODULE> before = ChainModules();
    void* handle = LoadLibrary(ZOLXML_LIBRARY);
    ASSERT_NE(nullptr, handle);

    const std::vector<HMODULE> loaded = ChainModules();
    ASSERT_EQ(before.size() + 1, loaded.size());
    EXPECT_EQ(ModuleOf(handle), loaded.front());

    UnloadLibrary(handle);
    EXPECT_EQ(before, ChainModules());
}

TEST(ExtensionModule, InitRefusesNullModuleAndTermIsIdempotent)
{
    AFX_EXTENSION_MODULE state = {FALSE, nullptr, nullptr};
    EXPECT_FALSE(AfxInitExtensionModule(state, nullptr));

    HMODULE fake = reinterpret_cast<HMODULE>(&state);
    ASSERT_TRUE(AfxInitExtensionModule(state, fake));
    new CDynLinkLibrary(state);
    new CDynLinkLibrary(state);
    EXPECT_EQ(fake, CDynLinkLibrary::GetFirst()->m_hModule);
    AfxTermExtensionModule(state);
    for (HMODULE m : ChainModules())
        EXPECT_NE(fake, m);
    AfxTermExtensionModule(state);
}
