// The real main window with the steps of the window tests: commands sent the way the buttons, the
// menu and the list send them, typing, and reading back what the window shows. Every WM_COMMAND is
// recorded, and the commands a test names are kept from their handlers (so a shortcut's arrival is
// checked without running, say, the Open dialog).
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ModalAnswerer.h"
#include "QuireBinderDlg.h"

// The eleven icon buttons of the main window with their tips.
struct ButtonSpec {
    int id;
    const char* tip;
};
extern const std::vector<ButtonSpec> kButtonTips;

class CTestMainDlg : public CQuireBinderDlg {
public:
    struct Command {
        WPARAM wParam;
        LPARAM lParam;
    };

    std::vector<Command> m_commands;
    std::set<UINT> m_swallowed;  // command ids recorded but not handled

    // Ids of the recorded commands that came from a menu or an accelerator (no control).
    std::vector<UINT> MenuCommandIds() const;

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
    // Replaces the whole text of the edit control as typing over a selection does, so the control
    // reports a change; unlike typing key by key, line breaks and tabs arrive as given.
    void Retype(int nID, const std::string& text);
    // A right-button click in the editor; returns the menu that showed (null: none), closed again.
    HMENU RightClickEditor();

    std::string Text(int nID) const;
    std::vector<std::string> ListTitles() const;
    int Selected() const;
    bool Enabled(int nID) const;
    // The main menu item's state after the menu opened (WM_INITMENU).
    bool MenuItemEnabled(UINT nCommand);
    // The caption, and the book's name in it (the last one shown, once the window has ended).
    std::string Caption() const;
    std::string DocName() const;
    // The edit control the Edit commands act on; null when none.
    HWND EditTarget();
    // What the book holds now, without growing it.
    static std::vector<std::string> BookTexts();

    // What the window keeps to itself, which some tests must see or set.
    // The chapter the editor's text belongs to: titles and texts on show can be alike.
    int ShownChapter() const { return m_nCurrentChapter; }
    // The folder Save writes to, and whether Save asks for a name: the caption shows only the name.
    const std::string& DocDir() const { return m_strDocDir; }
    bool IsUntitled() const { return m_bUntitled; }
    // The clipboard chain's link is never shown; the tests of the chain check it against the viewers.
    HWND NextClipboardViewer() const { return m_hWndNextViewer; }
    // No edit control used yet: the window is so only before its first focus, which a test cannot wait for.
    void ForgetEditTarget() { m_nLastFocusedEdit = 0; }
    // Whether the copy against a crash counts as written, and how long the last one took to write.
    bool RecoveryWritten() const { return m_bRecoveryWritten; }
    DWORD AutosaveMs() const { return m_dwAutosaveMs; }

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::string m_strLastCaption;
};

// Writes the bytes to a file in the temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::string& bytes);

// Add Text from File with `path` chosen in the open dialog, then the windows in `then`.
void ImportFile(CTestMainDlg& w,
                ModalAnswerer& answerer,
                const std::string& path,
                std::vector<ModalAnswerer::Expectation> then = {},
                bool bMenu = false);

// Puts each (format, bytes) pair on the clipboard, or empties it for none.
void SetClipboard(HWND hOwner, const std::vector<std::pair<UINT, std::string>>& items);

// Runs a helper program beside the test with the arguments, pumping messages while it runs.
// Returns its exit code.
DWORD RunHelperProgram(const std::string& exe, const std::string& args);
