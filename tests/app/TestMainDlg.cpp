#include "TestMainDlg.h"

std::vector<UINT> CTestMainDlg::MenuCommandIds() const {
    std::vector<UINT> ids;
    for (const Command& command : m_commands) {
        if (command.lParam == 0)
            ids.push_back(LOWORD(command.wParam));
    }
    return ids;
}

BOOL CTestMainDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    m_commands.push_back(Command{wParam, lParam});
    if (m_swallowed.count(LOWORD(wParam)) != 0)
        return TRUE;
    return CQuireBinderDlg::OnCommand(wParam, lParam);
}
