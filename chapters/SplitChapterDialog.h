// "Split into Chapters": cuts the chapter on show into several by a rule, showing beforehand the
// chapters it would make, with their titles and sizes, as the rule is chosen or typed.
#pragma once

#include <string>
#include <vector>

#include "CDialog.h"
#include "Chapter.h"
#include "ChapterSplitter.h"
#include "resource.h"

class CSplitChapterDialog : public CDialog {
public:
    enum { IDD = IDD_SPLIT_CHAPTER };

    CSplitChapterDialog(const std::string& text, const std::string& title, CWnd* pParent = nullptr);

    // After IDOK: the chapters that take the chapter's place, in order.
    std::vector<CChapter> m_chapters;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnOK() override;

private:
    // Reads the rule from the controls, splits the text and shows the result.
    void UpdatePreview();

    const std::string& m_strText;
    std::string m_strTitle;
    SSplitResult m_result;
};
