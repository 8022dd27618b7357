#include "ChapterEditor.h"

#include <algorithm>
#include <cstring>

namespace {

struct StreamSource {
    const std::string* pText;
    size_t nPos;
};

DWORD CALLBACK ReadSource(DWORD_PTR dwCookie, LPBYTE pbBuff, LONG cb, LONG* pcb) {
    auto* pSource = reinterpret_cast<StreamSource*>(dwCookie);
    size_t nCount = std::min(size_t(cb), pSource->pText->size() - pSource->nPos);
    std::copy_n(pSource->pText->data() + pSource->nPos, nCount, pbBuff);
    pSource->nPos += nCount;
    *pcb = LONG(nCount);
    return 0;
}

bool KeyDown(int vk) {
    return (::GetKeyState(vk) & 0x8000) != 0;
}

}  // namespace

void CChapterEditor::SetChapterText(const std::string& text) {
    m_bUndoPending = false;
    m_strUndoText.clear();
    if (GetWindowTextLength() >= kLargeText) {
        Renew(text);
        NotifyChange();
    } else if (text.size() >= size_t(kLargeText)) {
        // Streamed in, the control does the same in less time than through WM_SETTEXT.
        DWORD dwMask = GetEventMask();
        SetEventMask(0);
        SetWindowText("");
        StreamSource source{&text, 0};
        EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, &ReadSource};
        StreamIn(SF_TEXT, stream);
        SendMessage(EM_EMPTYUNDOBUFFER);
        SetEventMask(dwMask);
        NotifyChange();
    } else {
        SetWindowText(text);
    }
    SetSel(0, 0);
    SetModify(FALSE);
}

bool CChapterEditor::LargeTextAllSelected() const {
    int nLength = GetWindowTextLength();
    if (nLength < kLargeText)
        return false;
    CHARRANGE range{};
    GetSel(range);
    return range.cpMin == 0 && (range.cpMax == -1 || range.cpMax >= nLength);
}

void CChapterEditor::ReplaceAll(const std::string& text, bool bUndoable) {
    std::string strOld;
    if (bUndoable)
        GetWindowText(strOld);
    Renew(text);
    long nEnd = GetWindowTextLength();
    SetSel(nEnd, nEnd);
    SetModify(TRUE);
    m_strUndoText = std::move(strOld);
    m_bUndoPending = bUndoable;
    NotifyChange();
}

void CChapterEditor::UndoReplaceAll() {
    std::string strText = std::move(m_strUndoText);
    m_strUndoText.clear();
    m_bUndoPending = false;
    Renew(strText);
    SetSel(0, -1);
    SetModify(TRUE);
    NotifyChange();
}

void CChapterEditor::Renew(const std::string& text) {
    HWND hOld = m_hWnd;
    HWND hParent = ::GetParent(hOld);
    RECT rc{};
    ::GetWindowRect(hOld, &rc);
    ::MapWindowPoints(nullptr, hParent, reinterpret_cast<POINT*>(&rc), 2);
    DWORD dwStyle = DWORD(::GetWindowLongA(hOld, GWL_STYLE));
    DWORD dwExStyle = DWORD(::GetWindowLongA(hOld, GWL_EXSTYLE));
    int nID = ::GetDlgCtrlID(hOld);
    HWND hPrevious = ::GetWindow(hOld, GW_HWNDPREV);
    WPARAM hFont = WPARAM(SendMessage(WM_GETFONT));
    DWORD dwMask = GetEventMask();
    LRESULT nLimit = SendMessage(EM_GETLIMITTEXT);
    bool bFocused = ::GetFocus() == hOld;

    UnsubclassWindow();
    ::DestroyWindow(hOld);
    HWND hNew = ::CreateWindowExA(dwExStyle, "RichEdit", "", dwStyle & ~WS_VISIBLE, rc.left, rc.top,
                                  rc.right - rc.left, rc.bottom - rc.top, hParent,
                                  reinterpret_cast<HMENU>(INT_PTR(nID)), ::GetModuleHandleA(nullptr), nullptr);
    SubclassWindow(hNew);
    ::SetWindowPos(hNew, hPrevious != nullptr ? hPrevious : HWND_TOP, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessage(WM_SETFONT, hFont, FALSE);
    SendMessage(EM_EXLIMITTEXT, 0, nLimit);
    if (!text.empty()) {
        StreamSource source{&text, 0};
        EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, &ReadSource};
        StreamIn(SF_TEXT, stream);
    }
    // What was streamed in is not an edit to undo.
    SendMessage(EM_EMPTYUNDOBUFFER);
    SetEventMask(dwMask);
    if (dwStyle & WS_VISIBLE)
        ::ShowWindow(hNew, SW_SHOWNA);
    if (bFocused)
        ::SetFocus(hNew);
}

// Whether the control itself has an edit to undo, one made after the last ReplaceAll.
bool CChapterEditor::ControlCanUndo() {
    return CRichEditCtrl::WindowProc(EM_CANUNDO, 0, 0) != 0;
}

void CChapterEditor::NotifyChange() {
    if (GetEventMask() & ENM_CHANGE)
        ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), EN_CHANGE),
                       reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CChapterEditor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    bool bReadOnly = (GetStyle() & ES_READONLY) != 0;
    switch (message) {
        case WM_KEYDOWN:
            if ((wParam == VK_DELETE || wParam == VK_BACK) && !bReadOnly && LargeTextAllSelected()) {
                ReplaceAll("", true);
                return 0;
            }
            if (wParam == 'Z' && KeyDown(VK_CONTROL) && !KeyDown(VK_MENU) && m_bUndoPending && !ControlCanUndo()) {
                UndoReplaceAll();
                return 0;
            }
            break;
        case WM_CHAR:
            // Backspace, Ctrl+ combinations and the like arrive as characters below a space.
            if (!bReadOnly && (wParam >= 0x20 || wParam == '\t' || wParam == '\r') && wParam != 0x7F &&
                LargeTextAllSelected()) {
                ReplaceAll(wParam == '\r' ? std::string("\r\n") : std::string(1, char(wParam)), true);
                return 0;
            }
            break;
        case WM_CLEAR:
            // Wine's control deletes the selection even when it is read-only.
            if (bReadOnly)
                return 0;
            if (LargeTextAllSelected()) {
                ReplaceAll("", true);
                return 0;
            }
            break;
        case WM_CUT:
            if (!bReadOnly && LargeTextAllSelected()) {
                SendMessage(WM_COPY);
                ReplaceAll("", true);
                return 0;
            }
            break;
        case EM_REPLACESEL:
            if (lParam != 0 && LargeTextAllSelected()) {
                ReplaceAll(reinterpret_cast<const char*>(lParam), wParam != 0);
                return 0;
            }
            break;
        case EM_CANUNDO:
            if (m_bUndoPending)
                return TRUE;
            break;
        case EM_UNDO:
        case WM_UNDO:
            if (m_bUndoPending && !ControlCanUndo()) {
                UndoReplaceAll();
                return TRUE;
            }
            break;
        case WM_SETTEXT:
            m_bUndoPending = false;
            m_strUndoText.clear();
            break;
        default:
            break;
    }
    return CRichEditCtrl::WindowProc(message, wParam, lParam);
}
