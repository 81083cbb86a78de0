// Message maps: each class lists the messages and commands it handles in a
// static table chained to its base class's table; dispatch walks the chain
// from the most derived class, so a class handles what its bases leave.
#pragma once

#include "AfxObject.h"

class CCmdTarget;

// The notification code of a command from a menu or an accelerator.
constexpr int CN_COMMAND = 0;

// Calls one handler on its object; made by the entry macros below for the
// handler's own class and signature, so dispatch needs no casts.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_PMSG pfn; // null ends the table
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

template <class TMember>
struct AfxMemberClass;
template <class TClass, class TResult, class... TArgs>
struct AfxMemberClass<TResult (TClass::*)(TArgs...)>
{
    typedef TClass type;
};

// A command handler: void OnCommand().
template <auto pfnHandler>
LRESULT AfxCallCommand(CCmdTarget* pTarget, WPARAM, LPARAM)
{
    typedef typename AfxMemberClass<decltype(pfnHandler)>::type TClass;
    void (TClass::*pfn)() = pfnHandler;
    (static_cast<TClass*>(pTarget)->*pfn)();
    return 0;
}

// A message handler: LRESULT OnMessage(WPARAM, LPARAM).
template <auto pfnHandler>
LRESULT AfxCallMessage(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam)
{
    typedef typename AfxMemberClass<decltype(pfnHandler)>::type TClass;
    LRESULT (TClass::*pfn)(WPARAM, LPARAM) = pfnHandler;
    return (static_cast<TClass*>(pTarget)->*pfn)(wParam, lParam);
}

// The creation handler: int OnCreate(LPCREATESTRUCT).
template <auto pfnHandler>
LRESULT AfxCallCreate(CCmdTarget* pTarget, WPARAM, LPARAM lParam)
{
    typedef typename AfxMemberClass<decltype(pfnHandler)>::type TClass;
    int (TClass::*pfn)(LPCREATESTRUCT) = pfnHandler;
    return (static_cast<TClass*>(pTarget)->*pfn)(reinterpret_cast<LPCREATESTRUCT>(lParam));
}

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();                                           \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }              \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                                         \
    {                                                                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
        {0, 0, 0, 0, nullptr}};                                                                    \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &messageEntries[0]}; \
        return &messageMap;                                                                        \
    }

#define ON_COMMAND(id, memberFxn)                                                                  \
    {WM_COMMAND, CN_COMMAND, static_cast<WORD>(id), static_cast<WORD>(id),                        \
     &AfxCallCommand<&ThisClass::memberFxn>},

#define ON_MESSAGE(message, memberFxn) {message, 0, 0, 0, &AfxCallMessage<&ThisClass::memberFxn>},

#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, &AfxCallCreate<&ThisClass::OnCreate>},
