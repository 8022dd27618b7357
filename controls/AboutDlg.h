// The About box: the program's icon, name and version, and the maker's web address as a link.
#pragma once

#include "Framework.h"
#include "HyperlinkLabel.h"
#include "resource.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };

    CAboutDlg();
    ~CAboutDlg() override;

    CHyperlinkLabel m_Link;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};
