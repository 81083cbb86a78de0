#include "PopupMenuTracking.h"

#include <utility>

namespace
{
// The filter of the popup open on this thread; popups of one thread nest.
thread_local const MenuMessageFilter* t_pFilter = nullptr;

LRESULT CALLBACK FilterMenuMessage(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == MSGF_MENU && t_pFilter != nullptr && (*t_pFilter)(*reinterpret_cast<const MSG*>(lParam)))
        return TRUE;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The filter installed for the life of one popup.
class FilterScope
{
public:
    explicit FilterScope(const MenuMessageFilter& filter)
        : m_pPrevious(std::exchange(t_pFilter, &filter)),
          m_hHook(::SetWindowsHookExW(WH_MSGFILTER, FilterMenuMessage, nullptr, ::GetCurrentThreadId()))
    {
    }
    FilterScope(const FilterScope&) = delete;
    FilterScope& operator=(const FilterScope&) = delete;
    ~FilterScope()
    {
        if (m_hHook != nullptr)
            ::UnhookWindowsHookEx(m_hHook);
        t_pFilter = m_pPrevious;
    }

private:
    const MenuMessageFilter* m_pPrevious;
    HHOOK m_hHook;
};
}

UINT TrackPopupMenuBelow(HMENU hPopup, const RECT& anchor, HWND hOwner, const MenuMessageFilter& filter)
{
    TPMPARAMS params = {sizeof(params), anchor};
    FilterScope scope(filter);
    const BOOL nResult = ::TrackPopupMenuEx(hPopup,
                                            TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD |
                                                TPM_LEFTBUTTON,
                                            anchor.left, anchor.bottom, hOwner, &params);
    return nResult > 0 ? static_cast<UINT>(nResult) : 0;
}

bool IsMouseButtonDown(UINT nMessage)
{
    switch (nMessage)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}
