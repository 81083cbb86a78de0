// The root of every class that receives commands through a message map.
#pragma once

#include "AfxMessageMap.h"

class AFX_CORE_API CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)

public:
    ~CCmdTarget() override;

    // Calls the handler that the message map chain gives for the command;
    // FALSE when no class of the chain handles it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    CCmdTarget() = default;

    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry for the message along the chain, most derived first.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
};
