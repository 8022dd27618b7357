#include "TestMainDlg.h"

const std::vector<ButtonSpec> kButtonTips = {
    {1004, "Add New Chapter"},
    {1005, "Delete Chapter"},
    {1006, "Rename Chapter"},
    {1009, "Add Text from File..."},
    {1017, "Move Chapter Up"},
    {1018, "Move Chapter Down"},
    {1024, "Paste Text from Clipboard"},
    {1013, "Create New Book (Ctrl+N)"},
    {1014, "Open Book (Ctrl+O)"},
    {1016, "Save Book (Ctrl+S)"},
    {1019, "Save and Send to Kelvra computer"},
};

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
