// The small modal "Chapter Title" dialog in which a chapter title is typed or edited. It proposes
// "New Chapter" for an empty title and hands back a title that is one line, never ends in white
// space and is never empty.
#pragma once

#include <string>

#include "CDialog.h"
#include "CEdit.h"
#include "resource.h"

class CChapterTitleDialog : public CDialog {
public:
    enum { IDD = IDD_CHAPTER_TITLE };

    static constexpr int kMaxTypedChars = 100;

    explicit CChapterTitleDialog(CWnd* pParent = nullptr);

    // The rules OK applies: line feeds, carriage returns and tabs become spaces, white space at the
    // end goes, white space at the start stays.
    static std::string NormalizeTitle(std::string title);

    // In: the title to show, empty for a new chapter. Out, after IDOK: the normalised title.
    std::string m_strTitle;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    CEdit m_editTitle;
};
