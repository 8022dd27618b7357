// A menu. A CMenu that loaded, created or attached a menu destroys it with the object, unless it
// has been destroyed already (a window destroys the menu it shows) or detached.
//
// FromHandle, GetSubMenu and CWnd::GetSystemMenu hand back temporary, non-owning CMenu
// objects: valid while the current message is handled, deleted when the outermost modal loop goes
// idle. Do not keep them.
#pragma once

#include <windows.h>

class CWnd;

class CMenu {
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
    ~CMenu();

    static CMenu* FromHandle(HMENU hMenu);  // null for a null handle
    static void DeleteTempMap();            // called by the framework when idle

    BOOL LoadMenu(UINT nIDResource);  // from the application's resources
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    BOOL DestroyMenu();
    operator HMENU() const { return m_hMenu; }  // NOLINT(google-explicit-constructor)

    CMenu* GetSubMenu(int nPos) const;
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    DWORD CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, const char* lpszNewItem = nullptr);
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

private:
    bool m_bOwned = true;
};
