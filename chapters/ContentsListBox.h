// The table of contents: an owner-drawn list box with variable item heights that shows each
// chapter title word-wrapped to the list's width. Each title is wrapped once, when its item is
// inserted; the line breaks are kept in a line table beside the items and replayed when painting.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "CListBox.h"

class CContentsListBox : public CListBox {
public:
    static constexpr int kMaxLines = 10;
    static constexpr COLORREF kWhite = 0xFFFFFF;

    // Position 0: the number of lines n (1 to kMaxLines once measured); 1 to n: the length in
    // bytes of each line, line k + 1 starting where line k ends.
    using LineRecord = std::array<int32_t, kMaxLines + 1>;
    // The advance of one character in pixels.
    using CharWidthFn = std::function<int(unsigned char)>;

    struct WrappedLine {
        int nLength;  // bytes of the text that form the line
        bool bLast;   // the line takes the rest of the text
    };

    // One greedy word-wrapped line of at most nWidth pixels from the start of text. Spaces count
    // in the width but may overhang; a word wider than the line is broken where it stops fitting.
    // A negative width puts the whole text on one line.
    static WrappedLine WrapLine(std::string_view text, int nWidth, const CharWidthFn& fnCharWidth);
    // Wraps a whole title into rRecord, at most kMaxLines lines; returns the number of lines.
    static int WrapTitle(std::string_view title,
                         int nWidth,
                         const CharWidthFn& fnCharWidth,
                         LineRecord& rRecord);

    // Set by every insertion, removal and move; the owner reads and clears it.
    bool m_bChanged = false;

    // Inserts the title at nIndex (the item count appends) with crColor as its background.
    void InsertItem(const char* lpszTitle, COLORREF crColor, int nIndex);
    void RemoveItem(int nIndex);
    // Moves the item one place and selects it, without a selection-change notification.
    // Positions outside the list are ignored.
    void MoveItemUp(int nIndex);
    void MoveItemDown(int nIndex);
    // Empties the list and its line table; the changed flag stays as it is. A visible list then
    // shows the items inserted next all at once, when the thread goes back to its messages.
    void ResetItems();
    // Before many insertions: a visible list then shows them all at once, when the thread goes
    // back to its messages, instead of redrawing itself at each one.
    void SuspendRedraw();

    // The line record of an item; null beyond the table.
    const LineRecord* GetLineRecord(int nIndex) const;
    int GetLineRecordCount() const { return int(m_lineTable.size()); }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Posted to the list by SuspendRedraw; its arrival ends the suspension.
    static constexpr UINT kResumeRedraw = WM_APP + 0x51;

    void ResumeRedraw();
    void MoveItem(int nFrom, int nTo);
    // Sends the insertion and reports a refusal; returns the new item's position or LB_ERR.
    int InsertTitle(int nIndex, const char* lpszTitle, COLORREF crColor);

    struct FontMetrics {
        HGDIOBJ hFont = nullptr;
        int widths[256] = {};
        int nTextHeight = 0;
        bool bValid = false;
    };
    const FontMetrics& MeasuringMetrics();

    std::vector<LineRecord> m_lineTable;
    FontMetrics m_metrics;
    // The title being inserted, while the list measures it.
    const char* m_pInsertingTitle = nullptr;
    bool m_bRedrawSuspended = false;
};
