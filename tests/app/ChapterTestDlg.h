// The real main window with the steps of the chapter tests: commands sent the way the buttons,
// the menu and the list send them, typing, and reading back what the window shows.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "ModalAnswerer.h"
#include "TestMainDlg.h"

class CChapterTestDlg : public CTestMainDlg {
public:
    using CQuireBinderDlg::m_hWndNextViewer;
    using CQuireBinderDlg::m_nCurrentChapter;

    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    HWND Editor() const { return Item(IDC_EDITOR); }
    HWND List() const { return Item(IDC_CONTENTS); }

    // A button's click as the button sends it; a menu command as the menu sends it.
    void Click(int nButton);
    void Menu(UINT nCommand);
    // New Chapter with the title dialog answered: the box gets `title`, then OK.
    void AddChapter(const std::string& title);
    // Clicks the list item, which selects it and notifies the window as a user's click does.
    void ChooseChapter(int nIndex);
    // Focuses the control and types the text into it, character by character.
    void Type(int nID, const std::string& text);
    // The same with the caret at the end of the control's text first.
    void Append(int nID, const std::string& text);

    std::string Text(int nID) const;
    std::vector<std::string> ListTitles() const;
    int Selected() const;
    bool Enabled(int nID) const;
    // The main menu item's state after the menu opened (WM_INITMENU).
    bool MenuItemEnabled(UINT nCommand);
    // What the book holds now, without growing it.
    static std::vector<std::string> BookTexts();
};

// Writes the bytes to a file in the temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);

// Add Text from File with `path` chosen in the open dialog, then the windows in `then`.
void ImportFile(CChapterTestDlg& w,
                ModalAnswerer& answerer,
                const std::string& path,
                std::vector<ModalAnswerer::Expectation> then = {},
                bool bMenu = false);

// Puts each (format, bytes) pair on the clipboard, or empties it for none.
void SetClipboard(HWND hOwner, const std::vector<std::pair<UINT, std::string>>& items);

// Runs a helper program beside the test with the arguments, pumping messages while it runs.
// Returns its exit code.
DWORD RunHelperProgram(const std::string& exe, const std::string& args);
