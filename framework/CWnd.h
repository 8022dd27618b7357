// A thin, non-owning wrapper around a window handle, plus the link from handle to object for the
// windows the framework subclasses (SubclassWindow, SubclassDlgItem, DDX_Control, CreateEx, dialogs).
//
// Messages of a linked window go through the framework's one window procedure, which calls
// WindowProc: WM_COMMAND and WM_NOTIFY go first to the child control that sent them (reflection,
// OnChildNotify), then to OnCommand / OnNotify and the message map; WM_DRAWITEM, WM_MEASUREITEM
// and WM_CTLCOLOR* are offered to the child control first; everything else is looked up in the
// message map; what nobody handles goes to DefWindowProc (the window's previous procedure).
// That window procedure is the only place that catches exceptions: one leaving a handler is shown
// in the application's message box (error icon) and the message counts as handled with result 0.
//
// The wrapper never destroys its window (windows die with their parent or by DestroyWindow());
// destroying the object unsubclasses the window. Windows the framework does not know are handed
// out as temporary wrappers (FromHandle, GetDlgItem, GetParent, GetFocus, handler arguments): they
// are valid while the current message is handled and are deleted when the outermost modal loop
// goes idle. Keep the handle, or the id, never the temporary pointer.
#pragma once

#include <memory>
#include <string>

#include <windows.h>
#include <commctrl.h>

#include "CCmdTarget.h"
#include "CRect.h"

class CToolTipCtrl;

class CWnd : public CCmdTarget {
public:
    HWND m_hWnd = nullptr;

    CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    ~CWnd() override;

    // Handle and object.
    static CWnd* FromHandle(HWND hWnd);           // linked object or a temporary wrapper; null for null
    static CWnd* FromHandlePermanent(HWND hWnd);  // linked object or null
    static void DeleteTempMap();                  // called by the framework when idle
    // The owner for a modal window: pParent's nearest ancestor that is not a child window; without
    // a parent, the main window's open modal popup (or the main window); null without either.
    static HWND GetSafeOwner(CWnd* pParent = nullptr);
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }  // NOLINT(google-explicit-constructor)

    // Routes the window's messages through this object. PreSubclassWindow runs first, with m_hWnd set.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    // Gives the window its previous procedure back; returns the handle.
    HWND UnsubclassWindow();

    // Creates a window of an existing class (a control) and subclasses it.
    BOOL CreateEx(DWORD dwExStyle,
                  const char* lpszClassName,
                  const char* lpszWindowName,
                  DWORD dwStyle,
                  const RECT& rect,
                  CWnd* pParentWnd,
                  UINT nID);
    BOOL DestroyWindow();

    // Message processing.
    // Called for every message the modal loop fetches whose window is this one or a descendant,
    // innermost window first; true consumes the message. The default relays mouse messages to the
    // tooltip control when tooltips are enabled.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to every linked window from its own window up through its ancestors
    // (GetParent, so owners too), innermost first. True if one consumed it.
    static BOOL WalkPreTranslateTree(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's previous window procedure (for dialogs the dialog manager).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default processing of the message being handled, with its original parameters.
    LRESULT Default();
    // WM_COMMAND: reflection to the sending control, then the message map. True when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // WM_NOTIFY: reflection to the sending control, then ON_NOTIFY entries. True when handled.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // A message the parent reflects to this control (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
    // WM_MEASUREITEM, WM_CTLCOLOR*). The default looks for a reflected entry (ON_CONTROL_REFLECT,
    // ON_WM_CTLCOLOR_REFLECT). True when handled; the parent then does nothing more.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual void PreSubclassWindow();

    // Tooltips. EnableToolTips(TRUE) creates a tooltip control for this window; mouse messages of
    // the window and its children are relayed to it. On every mouse move the framework calls
    // OnToolHitTest with the point in client coordinates and a zeroed TOOLINFOA (cbSize set).
    // Return the tool's id, or -1 for none. An override may put a text allocated with malloc()
    // into lpszText; the framework shows it and frees it with free(). A null or empty text shows
    // no tip. The default returns the id of the visible child window under the point (or -1) and
    // fills hwnd, uId (the child's handle), uFlags = TTF_IDISHWND and rect (the child's rectangle).
    // A TTF_IDISHWND result is registered as a tool of that child window itself, enabled or not;
    // any other as the rectangle rect of hwnd.
    BOOL EnableToolTips(BOOL bEnable = TRUE);
    virtual INT_PTR OnToolHitTest(POINT point, TOOLINFOA* pTI) const;

    // Text.
    void SetWindowText(const char* lpszString);
    void SetWindowText(const std::string& str) { SetWindowText(str.c_str()); }
    void GetWindowText(std::string& rString) const;
    int GetWindowText(char* lpszStringBuf, int nMaxCount) const;
    int GetWindowTextLength() const;

    // State.
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;
    BOOL ShowWindow(int nCmdShow);
    BOOL IsZoomed() const;
    BOOL IsIconic() const;
    DWORD GetStyle() const;
    CWnd* SetFocus();  // returns the window that had the focus (temporary or linked), or null
    static CWnd* GetFocus();

    // Painting.
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(const RECT* lpRect, BOOL bErase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(const RECT* lpRectUpdate = nullptr,
                      HRGN hrgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

    // Geometry.
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(const RECT* lpRect, BOOL bRepaint = TRUE);
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;

    // Messages and timers.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);

    // Relatives. The results are linked objects or temporaries (see above), null when absent.
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;

    // Menus and icons.
    CMenu* GetSystemMenu(BOOL bRevert) const;  // temporary
    BOOL SetMenu(CMenu* pMenu);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);

    // A message box owned by this window; a null caption means the application's title.
    int MessageBox(const char* lpszText, const char* lpszCaption = nullptr, UINT nType = MB_OK) const;

protected:
    // Default handlers of the typed message-map entries: each does the default processing.
    void OnPaint();
    void OnSize(UINT nType, int cx, int cy);
    void OnSizing(UINT fwSide, LPRECT pRect);
    void OnClose();
    void OnSysCommand(UINT nID, LPARAM lParam);
    HCURSOR OnQueryDragIcon();
    void OnInitMenu(CMenu* pMenu);
    void OnDrawClipboard();
    void OnChangeCbChain(HWND hWndRemove, HWND hWndAfter);
    void OnDestroy();
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnTimer(UINT_PTR nIDEvent);
    void OnKillFocus(CWnd* pNewWnd);
    void OnCaptureChanged(CWnd* pWnd);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    // Offers a message to the linked child window hWndChild (OnChildNotify). True when handled.
    static BOOL ReflectChildNotify(HWND hWndChild,
                                   UINT message,
                                   WPARAM wParam,
                                   LPARAM lParam,
                                   LRESULT* pResult);

    // The one dialog procedure: it links the next dialog created after SetPendingLink(this)
    // to its object at the dialog's first message, and routes its messages through the window
    // procedure from then on.
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void SetPendingLink(CWnd* pWnd);

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CallWindowProcSafely(CWnd* pWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // The child with the id that WM_MEASUREITEM names.
    HWND MeasuredChild(int nID) const;
    void RelayToolTipEvent(const MSG* pMsg);
    void AddHitTool(INT_PTR nHit, const TOOLINFOA& ti, const char* pszText);
    void RemoveLastTool();

    std::unique_ptr<CToolTipCtrl> m_pToolTip;
    INT_PTR m_nLastHit = -1;
    HWND m_hLastToolWnd = nullptr;  // the child that is the current tool, or
    UINT_PTR m_lastToolId = 0;      // the id of the current rectangle tool (0: none)
};
