// Base of everything that has a message map: windows and the application.
#pragma once

#include "CObject.h"
#include "MessageMap.h"

class CCmdTarget : public CObject {
public:
    // Calls the ON_COMMAND / ON_CONTROL handler for this command id and notification code
    // (0 for menus, accelerators and button clicks). False when this object has none.
    virtual BOOL OnCmdMsg(UINT nID, int nCode);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

    // The first entry for the message (and, where they apply, code and id) in this object's map
    // and its bases' maps, most derived first; null if none.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
    // Runs the entry's handler and returns its result.
    LRESULT CallEntry(const AFX_MSGMAP_ENTRY* pEntry, WPARAM wParam, LPARAM lParam);
};
