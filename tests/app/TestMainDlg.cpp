#include "TestMainDlg.h"

const std::vector<ButtonSpec> kButtonTips = {
    {IDC_NEW_CHAPTER, "Add New Chapter"},
    {IDC_DELETE_CHAPTER, "Delete Chapter"},
    {IDC_RENAME_CHAPTER, "Rename Chapter"},
    {IDC_IMPORT_TEXT, "Add Text from File..."},
    {IDC_MOVE_UP, "Move Chapter Up"},
    {IDC_MOVE_DOWN, "Move Chapter Down"},
    {IDC_PASTE_TEXT, "Paste Text from Clipboard"},
    {IDC_NEW_BOOK, "Create New Book (Ctrl+N)"},
    {IDC_OPEN_BOOK, "Open Book (Ctrl+O)"},
    {IDC_SAVE_BOOK, "Save Book (Ctrl+S)"},
    {IDC_SEND_BOOK, "Save and Send to Kelvra computer"},
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
