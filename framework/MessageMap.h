// Message maps: a static table per class, one entry per handled message, chained to the base
// class's table. The window procedure looks a message up from the most derived class upward and
// calls the first matching entry.
//
//   // In the class body (last, it leaves the access at protected):
//   DECLARE_MESSAGE_MAP()
//
//   // In the .cpp file; handlers are named as pointers to members, &CMyDlg::OnNew:
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_SIZE()                                     // void OnSize(UINT nType, int cx, int cy)
//       ON_COMMAND(ID_NEW, &CMyDlg::OnNew)               // void OnNew()
//       ON_LBN_SELCHANGE(IDC_LIST, &CMyDlg::OnSelChange) // void OnSelChange()
//   END_MESSAGE_MAP()
//
// Each entry stores a small non-capturing lambda that unpacks the message parameters and calls the
// handler, so handler signatures are checked by the compiler. A handler returning void yields the
// result of the Default() call it made (0 if it made none).
#pragma once

#include <windows.h>

#include "CDC.h"
#include "CMenu.h"
#include "CPoint.h"

class CCmdTarget;

using AfxMsgHandler = void (*)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message; 0 ends the table
    UINT nCode;     // notification code for WM_COMMAND, WM_NOTIFY and reflected WM_COMMAND
    UINT nID;       // control or command id for WM_COMMAND and WM_NOTIFY
    AfxMsgHandler pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root class
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Messages a parent reflects back to the child control that sent them arrive at the child as
// WM_REFLECT_BASE + message. All WM_CTLCOLOR* requests arrive as one, AFX_WM_CTLCOLOR_REFLECT,
// with the CTLCOLOR_* type of the request in place of lParam.
constexpr UINT WM_REFLECT_BASE = 0xBC00;
constexpr UINT AFX_WM_CTLCOLOR_REFLECT = WM_REFLECT_BASE + 0x0019;

// The result of the last Default() call made while handling the current message (0 if none).
LRESULT AfxGetDefaultResult();

// The macros are laid out by hand.
// clang-format off
#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                          \
    {                                                                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY messageEntries_[] = {

#define END_MESSAGE_MAP()                                                                                    \
    {0, 0, 0, nullptr}};                                                                                     \
    static const AFX_MSGMAP messageMap_ = {&TheBaseClass::GetThisMessageMap, messageEntries_};               \
    return &messageMap_;                                                                                     \
    }

// One entry whose handler body sees pThis_, wParam_, lParam_ and pResult_.
#define AFX_MSG_ENTRY(message, code, id, ...)                                                                \
    {(message), UINT(code), UINT(id),                                                                        \
     [](CCmdTarget* pTarget_, WPARAM wParam_, LPARAM lParam_, LRESULT* pResult_) {                           \
         ThisClass* pThis_ = static_cast<ThisClass*>(pTarget_);                                              \
         (void)pThis_, (void)wParam_, (void)lParam_, (void)pResult_;                                         \
         __VA_ARGS__;                                                                                        \
     }},

#define AFX_LPARAM_X(l) int(short(LOWORD(l)))
#define AFX_LPARAM_Y(l) int(short(HIWORD(l)))

// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                                                       \
    AFX_MSG_ENTRY(message, 0, 0, *pResult_ = (pThis_->*(memberFxn))(wParam_, lParam_))

// void memberFxn(): menu items, accelerators and button clicks with this id.
#define ON_COMMAND(id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, 0, id, (pThis_->*(memberFxn))())

// void memberFxn(UINT nID): commands that share one handler, which tells them apart by id.
#define ON_COMMAND_ID(id, memberFxn) AFX_MSG_ENTRY(WM_COMMAND, 0, id, (pThis_->*(memberFxn))(UINT(id)))

// void memberFxn(): the notification code from the control with this id.
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                               \
    AFX_MSG_ENTRY(WM_COMMAND, wNotifyCode, id, (pThis_->*(memberFxn))())
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)

// void memberFxn(NMHDR* pNotifyStruct, LRESULT* pResult); *pResult starts at 0.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                \
    AFX_MSG_ENTRY(WM_NOTIFY, wNotifyCode, id,                                                                \
                  (pThis_->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam_), pResult_))

// In a control's map: void memberFxn(), for a WM_COMMAND notification the parent reflected back.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                           \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_COMMAND, wNotifyCode, 0, (pThis_->*(memberFxn))())

// In a control's map: HBRUSH CtlColor(CDC* pDC, UINT nCtlColor). A null brush lets the parent decide.
#define ON_WM_CTLCOLOR_REFLECT()                                                                             \
    AFX_MSG_ENTRY(AFX_WM_CTLCOLOR_REFLECT, 0, 0, CDC dc_(reinterpret_cast<HDC>(wParam_));                    \
                  *pResult_ = reinterpret_cast<LRESULT>(pThis_->CtlColor(&dc_, UINT(lParam_))))

// Typed entries; each handler has the signature shown and is found by name in the class.
// void OnPaint()
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, 0, 0, pThis_->OnPaint(); *pResult_ = AfxGetDefaultResult())
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE()                                                                                         \
    AFX_MSG_ENTRY(WM_SIZE, 0, 0, pThis_->OnSize(UINT(wParam_), int(LOWORD(lParam_)), int(HIWORD(lParam_)));  \
                  *pResult_ = AfxGetDefaultResult())
// void OnSizing(UINT fwSide, LPRECT pRect)
#define ON_WM_SIZING()                                                                                       \
    AFX_MSG_ENTRY(WM_SIZING, 0, 0, pThis_->OnSizing(UINT(wParam_), reinterpret_cast<LPRECT>(lParam_));       \
                  *pResult_ = AfxGetDefaultResult())
// void OnClose()
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, 0, 0, pThis_->OnClose(); *pResult_ = AfxGetDefaultResult())
// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND()                                                                                   \
    AFX_MSG_ENTRY(WM_SYSCOMMAND, 0, 0, pThis_->OnSysCommand(UINT(wParam_), lParam_);                         \
                  *pResult_ = AfxGetDefaultResult())
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON()                                                                                \
    AFX_MSG_ENTRY(WM_QUERYDRAGICON, 0, 0, *pResult_ = reinterpret_cast<LRESULT>(pThis_->OnQueryDragIcon()))
// void OnInitMenu(CMenu* pMenu)
#define ON_WM_INITMENU()                                                                                     \
    AFX_MSG_ENTRY(WM_INITMENU, 0, 0,                                                                         \
                  pThis_->OnInitMenu(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam_)));                   \
                  *pResult_ = AfxGetDefaultResult())
// void OnDrawClipboard()
#define ON_WM_DRAWCLIPBOARD()                                                                                \
    AFX_MSG_ENTRY(WM_DRAWCLIPBOARD, 0, 0, pThis_->OnDrawClipboard(); *pResult_ = AfxGetDefaultResult())
// void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter)
#define ON_WM_CHANGECBCHAIN()                                                                                \
    AFX_MSG_ENTRY(WM_CHANGECBCHAIN, 0, 0,                                                                    \
                  pThis_->OnChangeCbChain(reinterpret_cast<HWND>(wParam_), reinterpret_cast<HWND>(lParam_)); \
                  *pResult_ = AfxGetDefaultResult())
// void OnDestroy()
#define ON_WM_DESTROY()                                                                                      \
    AFX_MSG_ENTRY(WM_DESTROY, 0, 0, pThis_->OnDestroy(); *pResult_ = AfxGetDefaultResult())
// void OnMouseMove(UINT nFlags, CPoint point)
#define ON_WM_MOUSEMOVE()                                                                                    \
    AFX_MSG_ENTRY(WM_MOUSEMOVE, 0, 0,                                                                        \
                  pThis_->OnMouseMove(UINT(wParam_), CPoint(AFX_LPARAM_X(lParam_), AFX_LPARAM_Y(lParam_)));  \
                  *pResult_ = AfxGetDefaultResult())
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER()                                                                                        \
    AFX_MSG_ENTRY(WM_TIMER, 0, 0, pThis_->OnTimer(UINT_PTR(wParam_)); *pResult_ = AfxGetDefaultResult())
// void OnKillFocus(CWnd* pNewWnd); pNewWnd may be null and is valid only during the call.
#define ON_WM_KILLFOCUS()                                                                                    \
    AFX_MSG_ENTRY(WM_KILLFOCUS, 0, 0,                                                                        \
                  pThis_->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam_)));                    \
                  *pResult_ = AfxGetDefaultResult())
// void OnCaptureChanged(CWnd* pWnd); pWnd may be null and is valid only during the call.
#define ON_WM_CAPTURECHANGED()                                                                               \
    AFX_MSG_ENTRY(WM_CAPTURECHANGED, 0, 0,                                                                   \
                  pThis_->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam_)));               \
                  *pResult_ = AfxGetDefaultResult())
// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
#define ON_WM_SETCURSOR()                                                                                    \
    AFX_MSG_ENTRY(WM_SETCURSOR, 0, 0,                                                                        \
                  *pResult_ = pThis_->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam_)),         \
                                                  UINT(LOWORD(lParam_)), UINT(HIWORD(lParam_))))
// clang-format on
