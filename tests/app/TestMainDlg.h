// The real main window with a window on its commands: every WM_COMMAND is recorded, and the
// commands a test names are kept from their handlers (so a shortcut's arrival is checked without
// running, say, the Open dialog).
#pragma once

#include <set>
#include <vector>

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

    using CQuireBinderDlg::m_menuContext;
    using CQuireBinderDlg::m_nFocusRestoreTarget;
    using CQuireBinderDlg::m_nLastFocusedEdit;
    using CQuireBinderDlg::m_strDocName;
    using CQuireBinderDlg::m_wndContents;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
};
