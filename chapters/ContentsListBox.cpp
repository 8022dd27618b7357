#include "ContentsListBox.h"

#include <algorithm>
#include <string>
#include <utility>

#include "CClientDC.h"
#include "resource.h"

namespace {


bool IsInsertError(int nResult) {
    return nResult == LB_ERR || nResult == LB_ERRSPACE;
}

// Replays the stored line breaks; painting never wraps again. Without a record (which the
// insertion always makes) the title is drawn as one line.
void DrawLines(CDC& dc,
               const std::string& title,
               const RECT& rcItem,
               const CContentsListBox::LineRecord* pRecord) {
    TEXTMETRICA tm{};
    dc.GetTextMetrics(&tm);
    int nLines = pRecord != nullptr ? std::clamp(int((*pRecord)[0]), 0, CContentsListBox::kMaxLines) : 1;
    size_t nStart = 0;
    for (int k = 0; k < nLines; ++k) {
        size_t nLength = pRecord != nullptr ? size_t(std::max(0, int((*pRecord)[k + 1]))) : title.size();
        nLength = std::min(nLength, title.size() - nStart);
        RECT rcLine = {rcItem.left + 2, rcItem.top + 2 + k * int(tm.tmHeight), rcItem.right, rcItem.bottom};
        dc.DrawText(title.data() + nStart, int(nLength), &rcLine, DT_WORDBREAK);
        nStart += nLength;
    }
}

}  // namespace

CContentsListBox::WrappedLine CContentsListBox::WrapLine(std::string_view text,
                                                         int nWidth,
                                                         const CharWidthFn& fnCharWidth) {
    const int nSize = int(text.size());
    if (nWidth < 0)
        return {nSize, true};
    int nSum = 0;
    int nBreak = 0;  // where the word being scanned begins
    bool bAfterSpace = false;
    for (int j = 0;; ++j) {
        bool bEnd = j >= nSize || text[size_t(j)] == '\0';
        char c = bEnd ? '\0' : text[size_t(j)];
        if (bEnd || c == ' ') {
            nBreak = j;
            bAfterSpace = true;
        } else if (bAfterSpace) {
            nBreak = j;
            bAfterSpace = false;
        }
        if (bEnd)
            return {j, true};
        nSum += fnCharWidth(static_cast<unsigned char>(c));
        if (nSum <= nWidth || c == ' ')
            continue;
        if (nBreak > 0)
            return {nBreak, false};
        // A single word wider than the line breaks before the character that does not fit. In a
        // list narrower than one character that would be an empty line that never advances, so
        // a line always takes at least one character.
        int nLength = std::max(j, 1);
        return {nLength, nLength >= nSize};
    }
}

int CContentsListBox::WrapTitle(std::string_view title,
                                int nWidth,
                                const CharWidthFn& fnCharWidth,
                                LineRecord& rRecord) {
    int nLines = 0;
    bool bTextLeft = true;
    while (bTextLeft && nLines < kMaxLines) {
        WrappedLine line = WrapLine(title, nWidth, fnCharWidth);
        rRecord[size_t(++nLines)] = line.nLength;
        title.remove_prefix(size_t(line.nLength));
        bTextLeft = !line.bLast;
    }
    rRecord[0] = nLines;
    return nLines;
}

void CContentsListBox::InsertItem(const char* lpszTitle, COLORREF crColor, int nIndex) {
    m_bChanged = true;
    // The list box measures the new item inside LB_INSERTSTRING, into this record, so it must
    // exist first. -1 appends in the list box, and so it does here.
    size_t nRecord = nIndex < 0 || size_t(nIndex) > m_lineTable.size() ? m_lineTable.size() : size_t(nIndex);
    m_lineTable.insert(m_lineTable.begin() + ptrdiff_t(nRecord), LineRecord{});
    if (InsertTitle(nIndex, lpszTitle, crColor) == LB_ERR)
        m_lineTable.erase(m_lineTable.begin() + ptrdiff_t(nRecord));  // keep the table in step
}

int CContentsListBox::InsertTitle(int nIndex, const char* lpszTitle, COLORREF crColor) {
    // The list measures the item inside the insertion: it need not ask the list for the title.
    m_pInsertingTitle = lpszTitle;
    int nResult = InsertString(nIndex, lpszTitle);
    m_pInsertingTitle = nullptr;
    if (IsInsertError(nResult)) {
        MessageBox("Low Memory", QB_PRODUCT_NAME, MB_OK | MB_ICONERROR);
        return LB_ERR;
    }
    SetItemData(nResult, crColor);
    return nResult;
}

void CContentsListBox::RemoveItem(int nIndex) {
    ResumeRedraw();
    m_bChanged = true;
    if (nIndex >= 0 && size_t(nIndex) < m_lineTable.size())
        m_lineTable.erase(m_lineTable.begin() + nIndex);
    // The list box ignores a position it does not have.
    DeleteString(UINT(nIndex));
    // Later items move up: repaint them all at their new places.
    InvalidateRect(nullptr, TRUE);
}

void CContentsListBox::MoveItemUp(int nIndex) {
    MoveItem(nIndex, nIndex - 1);
}

void CContentsListBox::MoveItemDown(int nIndex) {
    MoveItem(nIndex, nIndex + 1);
}

void CContentsListBox::MoveItem(int nFrom, int nTo) {
    ResumeRedraw();
    int nCount = std::min(GetCount(), int(m_lineTable.size()));
    if (nFrom < 0 || nTo < 0 || nFrom >= nCount || nTo >= nCount)
        return;
    m_bChanged = true;
    // The neighbour keeps its record; the moved item is measured again into its new one.
    std::swap(m_lineTable[size_t(nFrom)], m_lineTable[size_t(nTo)]);
    std::string title;
    GetText(nFrom, title);
    DeleteString(UINT(nFrom));
    if (InsertTitle(nTo, title.c_str(), kWhite) == LB_ERR) {
        m_lineTable.erase(m_lineTable.begin() + nTo);
        return;
    }
    // LB_SETCURSEL notifies nobody, so the owner's selection handler does not run.
    SetCurSel(nTo);
}

void CContentsListBox::ResetItems() {
    SuspendRedraw();
    ResetContent();
    m_lineTable.clear();
}

// Under Wine a visible list box redraws its scroll bar on every insertion, some 2 ms each: refilling
// the list with a book of 1895 chapters took 4 s. After a reset the list stops redrawing until
// the thread next reads its messages, which is when the inserted items would be painted anyway.
// Removing or moving an item ends the suspension first, so that they scroll as they always do.
void CContentsListBox::SuspendRedraw() {
    if (m_bRedrawSuspended || !IsWindowVisible() || !PostMessage(kResumeRedraw))
        return;
    SendMessage(WM_SETREDRAW, FALSE);
    m_bRedrawSuspended = true;
}

void CContentsListBox::ResumeRedraw() {
    if (!m_bRedrawSuspended)
        return;
    m_bRedrawSuspended = false;
    SendMessage(WM_SETREDRAW, TRUE);
    // The scroll bar was not kept up to date either: repaint the frame with the items.
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

LRESULT CContentsListBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kResumeRedraw) {
        ResumeRedraw();
        return 0;
    }
    if (message == WM_NCDESTROY)
        m_bRedrawSuspended = false;  // the next window this object is attached to starts afresh
    // A new font, or a font handle that may now stand for another font, is measured again.
    if (message == WM_SETFONT || message == WM_NCDESTROY)
        m_metrics.bValid = false;
    return CListBox::WindowProc(message, wParam, lParam);
}

const CContentsListBox::LineRecord* CContentsListBox::GetLineRecord(int nIndex) const {
    if (nIndex < 0 || size_t(nIndex) >= m_lineTable.size())
        return nullptr;
    return &m_lineTable[size_t(nIndex)];
}

// The advances of every byte value and the text height, asked of the font once and kept until the
// list gets another font: a book of thousands of chapters is measured title after title.
const CContentsListBox::FontMetrics& CContentsListBox::MeasuringMetrics() {
    HGDIOBJ hFont = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (m_metrics.bValid && m_metrics.hFont == hFont)
        return m_metrics;
    CClientDC dc(this);
    HGDIOBJ hOldFont = hFont != nullptr ? dc.SelectObject(hFont) : nullptr;
    TEXTMETRICA tm{};
    dc.GetTextMetrics(&tm);
    if (!dc.GetCharWidth(0, 255, m_metrics.widths))
        std::fill(std::begin(m_metrics.widths), std::end(m_metrics.widths), int(tm.tmAveCharWidth));
    if (hOldFont != nullptr)
        dc.SelectObject(hOldFont);
    m_metrics.nTextHeight = int(tm.tmHeight);
    m_metrics.hFont = hFont;
    m_metrics.bValid = true;
    return m_metrics;
}

void CContentsListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
    int nIndex = int(lpMeasureItemStruct->itemID);
    if (nIndex < 0 || size_t(nIndex) > m_lineTable.size())
        return;  // keeps the default height
    if (size_t(nIndex) == m_lineTable.size())
        m_lineTable.emplace_back();
    std::string title;
    if (m_pInsertingTitle != nullptr)
        title = m_pInsertingTitle;
    else
        GetText(nIndex, title);
    RECT rcItem{};
    if (GetItemRect(nIndex, &rcItem) == LB_ERR)
        GetClientRect(&rcItem);

    const FontMetrics& metrics = MeasuringMetrics();
    int nLines = WrapTitle(
        title, int(rcItem.right - rcItem.left) - 4, [&metrics](unsigned char c) { return metrics.widths[c]; },
        m_lineTable[size_t(nIndex)]);
    lpMeasureItemStruct->itemHeight = UINT(nLines * metrics.nTextHeight + 4);
}

void CContentsListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
    int nIndex = int(lpDrawItemStruct->itemID);
    if (nIndex < 0)
        return;  // an empty list receiving the focus
    std::string title;
    GetText(nIndex, title);
    const LineRecord* pRecord = GetLineRecord(nIndex);
    const RECT& rcItem = lpDrawItemStruct->rcItem;
    COLORREF crItem = COLORREF(lpDrawItemStruct->itemData);
    CDC dc(lpDrawItemStruct->hDC);

    bool bDrawEntire = (lpDrawItemStruct->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) != 0;
    if (bDrawEntire && (lpDrawItemStruct->itemState & ODS_SELECTED)) {
        COLORREF crHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
        dc.FillSolidRect(&rcItem, crHighlight);
        COLORREF crOldText = dc.SetTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
        COLORREF crOldBk = dc.SetBkColor(crHighlight);
        DrawLines(dc, title, rcItem, pRecord);
        dc.SetTextColor(crOldText);
        dc.SetBkColor(crOldBk);
    } else if (bDrawEntire) {
        dc.FillSolidRect(&rcItem, crItem);
        dc.SetBkColor(crItem);
        DrawLines(dc, title, rcItem, pRecord);
        dc.FrameRect(&rcItem, ::GetSysColorBrush(COLOR_3DLIGHT));
    } else if (lpDrawItemStruct->itemAction & ODA_FOCUS) {
        dc.DrawFocusRect(&rcItem);
    }
}
