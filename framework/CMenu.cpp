#include "CMenu.h"

#include <memory>
#include <unordered_map>
#include <utility>

#include "CWinApp.h"
#include "CWnd.h"

namespace {

std::unordered_map<HMENU, std::unique_ptr<CMenu>>& TempMenus() {
    static auto* temps = new std::unordered_map<HMENU, std::unique_ptr<CMenu>>;
    return *temps;
}

}  // namespace

CMenu::~CMenu() {
    // A menu shown by a window is destroyed with the window; do not destroy it twice.
    if (m_bOwned && m_hMenu != nullptr && ::IsMenu(m_hMenu))
        ::DestroyMenu(m_hMenu);
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    if (hMenu == nullptr)
        return nullptr;
    std::unique_ptr<CMenu>& temp = TempMenus()[hMenu];
    if (!temp) {
        temp = std::make_unique<CMenu>();
        temp->m_hMenu = hMenu;
        temp->m_bOwned = false;
    }
    return temp.get();
}

void CMenu::DeleteTempMap() {
    TempMenus().clear();
}

BOOL CMenu::LoadMenu(UINT nIDResource) {
    return Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (m_bOwned)
        DestroyMenu();
    m_hMenu = hMenu;
    m_bOwned = true;
    return hMenu != nullptr;
}

HMENU CMenu::Detach() {
    return std::exchange(m_hMenu, nullptr);
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr)
        return FALSE;
    return ::DestroyMenu(std::exchange(m_hMenu, nullptr));
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, const char* lpszNewItem) {
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd != nullptr ? pWnd->m_hWnd : nullptr, lpRect);
}
