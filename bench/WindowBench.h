// Big books through the real main window under Wine: opening a book until its list is filled and
// its first chapter shown, one keystroke in a 1 MiB chapter, showing a 1 MiB chapter after
// another, deleting or replacing the whole of one, and adding 40 chapters from files. Each figure is printed beside a
// baseline measured in the same run, and the ratio between them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "Chapter.h"
#include "TimingSeries.h"

class CContentsListBox;
class CQuireBinderDlg;

class CWindowBench {
public:
    struct Options {
        std::vector<int> sizes = {100, 500, 1000, 1895};  // chapters of the books opened
        int nReps = 7;                                    // opens of each book
        int nRounds = 3;                                  // keystroke rounds, in both chapters
        int nKeys = 10;                                   // timed keystrokes per chapter and round
        size_t nBigChapter = 1024 * 1024 - 1024;          // leaves room under the editor's limit
        std::string strOnly;                              // "open,bigtext": those parts only; empty: all
    };

    // The books go to `folder`. Run is called from inside the window's modal loop, once it shows.
    CWindowBench(CQuireBinderDlg& dlg, const Options& options, std::string folder);

    // Runs both benchmarks and prints their figures; false when something did not work.
    bool Run();

private:
    // The parts of one keystroke's handling, each on its own, and the whole.
    struct KeystrokeTimes {
        CTimingSeries editor;  // the editor alone, while it notifies no change
        CTimingSeries size;    // UpdateBookSize called on its own, until painted
        CTimingSeries whole;   // the keystroke
        CTimingSeries count;   // counting the chapter's words, which a large chapter waits with until typing pauses
    };

    struct PlainTimes {
        CTimingSeries setText;
        CTimingSeries remove;
    };

    void BenchOpen();
    void BenchKeystroke();
    void BenchBigText();
    void BenchChapterFiles();
    void BenchFindNext();

    void Fail(const std::string& what);
    // Handles messages as the window's modal loop does until none are left, painting included.
    void PumpUntilIdle();
    void WriteBook(const std::string& path, const std::vector<CChapter>& chapters, int nCount);
    std::string BookPath(int nChapters) const;
    CContentsListBox& Contents() const;
    // The editor is made anew when a large text leaves it: look it up each time.
    HWND Editor() const;

    // The window back to a new book, untimed, so that every timed open starts from the same state.
    void ResetWindow();
    void CheckOpened(int nChapters);
    // A plain list box beside the main window with the contents list's size and font.
    HWND CreatePlainList();
    void FillPlainList(HWND hPlain, int nItems, bool bRedraw);

    void ChooseChapter(int nIndex);
    void PressKey(WORD vk, bool bControl = false);
    // Selects the editor's whole text, with the focus in the editor.
    void SelectAll();
    // A plain rich edit control of the editor's size and font beside the window, holding `text`.
    HWND CreatePlainEditor(const std::string& text);
    // On a plain control holding `first`: WM_SETTEXT of `second` over it and back, then the
    // control's own deletion of the whole selected text.
    PlainTimes PlainEditorBaselines(const std::string& first, const std::string& second);
    void Keystroke(CTimingSeries& series);
    void CheckedKeystroke(bool bNotifies);
    void TypeInto(int nIndex, LONG nCaret, KeystrokeTimes& times);

    CQuireBinderDlg& m_dlg;
    Options m_options;
    std::string m_folder;
    std::vector<CChapter> m_chapters;
    HWND m_hList = nullptr;
    HWND m_hStatus = nullptr;
    bool m_bFailed = false;
};
