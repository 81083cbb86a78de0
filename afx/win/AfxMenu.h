// CMenu: owns a menu handle and destroys it, unless the handle is detached.
#pragma once

#include <afx/core/AfxTypes.h>

class AFX_CORE_API CMenu
{
public:
    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu();

    // Takes ownership of the handle; FALSE for a null handle or when the
    // object already holds one.
    BOOL Attach(HMENU hNewMenu);
    // Gives up ownership and returns the handle.
    HMENU Detach();
    BOOL DestroyMenu();

    HMENU m_hMenu = nullptr;
};
