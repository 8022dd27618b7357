// Main window: chapters made from files, a chapter split at the cursor, two chapters merged.
#include "QuireBinderDlg.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>
#include <utility>

#include "Book.h"
#include "ChapterSplitter.h"
#include "ChapterTitleDialog.h"
#include "FileText.h"
#include "ImportProgress.h"
#include "IncomingText.h"
#include "NaturalOrder.h"
#include "SplitChapterDialog.h"

namespace {

constexpr const char* kChapterFilesFilter = "Text Files (*.txt; *.rtf)|*.txt;*.rtf|All Files (*.*)|*.*||";
// The most lines the list of files not added shows; a last line counts the rest.
constexpr std::size_t kMostListed = 25;

// The file's name without its last extension, as the chapter title dialog would take it.
std::string TitleOfFile(const std::string& path) {
    std::string name = FileText::FileName(path);
    std::string::size_type dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return CChapterSplitter::TitleOfLine(name.data(), name.data() + name.size());
}

// A file left out, and why (empty: the message says why for all of them).
struct SNotAdded {
    std::string name;
    std::string why;
};

// The lost characters of many files, each character once with all its occurrences.
void MergeLosses(SConvertedText& all, const SConvertedText& more) {
    for (const SLostCharacter& lost : more.lost) {
        auto it = std::find_if(all.lost.begin(), all.lost.end(),
                               [&](const SLostCharacter& seen) { return seen.ch == lost.ch; });
        if (it == all.lost.end())
            all.lost.push_back(lost);
        else
            it->nCount += lost.nCount;
    }
}

std::string ListOf(const std::vector<SNotAdded>& files) {
    std::string list;
    for (std::size_t i = 0; i < files.size() && i < kMostListed; ++i)
        list += "\n" + files[i].name + (files[i].why.empty() ? "" : ": " + files[i].why);
    if (files.size() > kMostListed)
        list += "\n... and " + std::to_string(files.size() - kMostListed) + " more";
    return list;
}

// Runs the chapter title dialog with `title` proposed; the accelerators rest meanwhile.
bool AskTitle(bool& bTitleDialogOpen, std::string& title) {
    CChapterTitleDialog dlg;
    dlg.m_strTitle = title;
    bTitleDialogOpen = true;
    INT_PTR nResult = dlg.DoModal();
    bTitleDialogOpen = false;
    if (nResult != IDOK)
        return false;
    title = dlg.m_strTitle;
    return true;
}

}  // namespace

void CQuireBinderDlg::ChangeChapters(const char* lpszCommand, int nFirst, int nRemove,
                                     const std::vector<CChapter>& chapters, int nShow) {
    int nSelectedBefore = m_wndContents.GetCurSel();
    // Stores the editor's text into the book first: it belongs to the chapter on show.
    SChapterRun run = BeginChapterRun(nFirst, nRemove);
    for (int i = 0; i < nRemove; ++i) {
        theBook.DeleteChapter(uint32_t(nFirst));
        m_wndContents.RemoveItem(nFirst);
    }
    if (chapters.size() > 1)
        m_wndContents.SuspendRedraw();
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        int nAt = nFirst + int(i);
        m_wndContents.InsertItem(chapters[i].m_strTitle.c_str(), CContentsListBox::kWhite, nAt);
        theBook.InsertChapter(nAt);
        theBook.SetChapterTitle(uint32_t(nAt), chapters[i].m_strTitle);
        theBook.SetChapterText(uint32_t(nAt), chapters[i].m_strText);
    }
    m_wndContents.m_bChanged = true;  // also when nothing was removed or inserted
    int nCount = m_wndContents.GetCount();
    nShow = std::min(nShow, nCount - 1);
    m_nCurrentChapter = nShow;
    m_wndContents.SetCurSel(nShow);
    m_wndContents.Invalidate(TRUE);
    m_wndEditor.EnableWindow(nShow >= 0);
    ShowChapterText(nShow);
    if (nShow >= 0)
        ShowChapterTitle(nShow);
    else
        m_wndChapterLabel.SetWindowText("");
    UpdateChapterButtons();
    UpdateBookSize();
    EndChapterRun(run, int(chapters.size()));
    RecordChapterCommand(lpszCommand, {std::move(run)}, nSelectedBefore);
}

void CQuireBinderDlg::OnAddChaptersFromFiles() {
    CFileDialog dlg(TRUE, "txt", nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT,
                    kChapterFilesFilter, this);
    if (dlg.DoModal() != IDOK) {
        RestoreFocus();
        return;
    }
    int nSelected = m_wndContents.GetCurSel();
    AddChapterFiles(dlg.GetPathNames(), nSelected != LB_ERR ? nSelected + 1 : m_wndContents.GetCount());
}

void CQuireBinderDlg::AddChapterFiles(std::vector<std::string> paths, int nAt) {
    // Whatever order the dialog or the drop gave: ch2 before ch10.
    std::stable_sort(paths.begin(), paths.end(), [](const std::string& one, const std::string& other) {
        return CompareNaturally(FileText::FileName(one), FileText::FileName(other)) < 0;
    });
    int nCount = m_wndContents.GetCount();
    if (nCount + int(paths.size()) > CBook::kMaxSavedChapters) {
        std::string text = (paths.size() == 1 ? "This file would make " : "These " + std::to_string(paths.size()) +
                                                                              " files would make ") +
                           std::to_string(nCount + int(paths.size())) + " chapters; a book can hold at most " +
                           std::to_string(int(CBook::kMaxSavedChapters)) + ".";
        MessageBox(text.c_str(), QB_PRODUCT_NAME, MB_OK | MB_ICONEXCLAMATION);
        return;
    }

    std::vector<CChapter> chapters;
    std::vector<SNotAdded> notAdded, cut;
    SConvertedText losses;
    {
        CImportProgress progress(m_hWnd, paths.size());
        for (std::size_t i = 0; i < paths.size(); ++i) {
            std::string name = FileText::FileName(paths[i]);
            if (!progress.Step(i, name))
                break;  // the chapters read so far are added, each of them whole
            SConvertedText text;
            std::string why;
            FileText::EResult result = FileText::EResult::Refused;
            try {
                result = FileText::Read(*this, paths[i], text, why);
            } catch (const std::exception& error) {
                why = error.what();
                std::replace(why.begin(), why.end(), '\n', ' ');
            }
            switch (result) {
                case FileText::EResult::Text:
                    break;
                case FileText::EResult::Empty:
                    why = "empty file";
                    break;
                case FileText::EResult::LowMemory:
                    why = "Low Memory";
                    break;
                case FileText::EResult::OtherType:
                    why = "neither a text file (.txt) nor an RTF file (.rtf)";
                    break;
                case FileText::EResult::Refused:
                    break;
            }
            if (result != FileText::EResult::Text) {
                notAdded.push_back({name, why});
                continue;
            }
            // As the editor would take it from Add Text from File: up to a zero byte, within its limit.
            std::string& bytes = text.text;
            if (const void* pZero = std::memchr(bytes.data(), '\0', bytes.size()))
                bytes.resize(std::size_t(static_cast<const char*>(pZero) - bytes.data()));
            if (bytes.size() > std::size_t(kEditorTextLimit)) {
                std::size_t nKept = std::size_t(kEditorTextLimit);
                if (bytes[nKept - 1] == '\r' && bytes[nKept] == '\n')
                    --nKept;
                bytes.resize(nKept);
                cut.push_back({name, ""});
            }
            MergeLosses(losses, text);
            CChapter chapter;
            chapter.m_strTitle = TitleOfFile(paths[i]);
            chapter.m_strText.swap(bytes);
            chapters.push_back(std::move(chapter));
        }
    }
    // What the book cannot hold, once for the whole batch; Cancel adds none of the files.
    if (!chapters.empty() && ConfirmTextLoss(m_hWnd, losses))
        ChangeChapters("Add Chapters from Files", nAt, 0, chapters, nAt);
    if (!notAdded.empty() || !cut.empty()) {
        std::string text;
        if (!notAdded.empty())
            text = (notAdded.size() == 1 ? "This file was not added:\n" : "These files were not added:\n") +
                   ListOf(notAdded);
        if (!cut.empty())
            text += std::string(text.empty() ? "" : "\n\n") + "Only the first " +
                    std::to_string(kEditorTextLimit) + " characters of these files fit into a chapter:\n" +
                    ListOf(cut);
        MessageBox(text.c_str(), QB_PRODUCT_NAME, MB_OK | MB_ICONWARNING);
    }
    m_wndContents.SetFocus();
}

void CQuireBinderDlg::OnSplitAtCursor() {
    int nSelected = m_wndContents.GetCurSel();
    if (nSelected == LB_ERR || m_bEditorPreview)
        return;
    if (m_wndContents.GetCount() >= CBook::kMaxSavedChapters) {
        ShowChapterLimit(0);
        return;
    }
    std::string strText;
    m_wndEditor.GetWindowText(strText);
    CHARRANGE selection = {0, 0};
    m_wndEditor.GetSel(selection);
    // The caret counts characters; the text before it, read back, says where it is in the bytes.
    std::string strBefore = m_wndEditor.GetTextRange(0, selection.cpMin);
    std::size_t nSplit = strText.compare(0, strBefore.size(), strBefore) == 0
                             ? strBefore.size()
                             : std::min(strText.size(), std::size_t(std::max(0L, long(selection.cpMin))));
    // The first line with words after the caret is proposed as the new chapter's title.
    std::string strTitle;
    for (std::size_t nBegin = nSplit; strTitle.empty() && nBegin < strText.size();) {
        std::size_t nEnd = strText.find_first_of("\r\n", nBegin);
        if (nEnd == std::string::npos)
            nEnd = strText.size();
        strTitle = CChapterSplitter::TitleOfLine(strText.data() + nBegin, strText.data() + nEnd);
        nBegin = nEnd + 1;
    }
    if (!AskTitle(m_bTitleDialogOpen, strTitle))
        return;
    std::vector<CChapter> chapters(2);
    m_wndContents.GetText(nSelected, chapters[0].m_strTitle);
    chapters[0].m_strText = strText.substr(0, nSplit);
    chapters[1].m_strTitle = strTitle;
    chapters[1].m_strText = strText.substr(nSplit);
    ChangeChapters("Split Chapter at Cursor", nSelected, 1, chapters, nSelected + 1);
    m_wndEditor.SetFocus();
}

void CQuireBinderDlg::OnMergeWithNext() {
    int nSelected = m_wndContents.GetCurSel();
    if (nSelected == LB_ERR || nSelected + 1 >= m_wndContents.GetCount())
        return;
    std::vector<CChapter> chapters(1);
    std::string strNext;
    m_wndContents.GetText(nSelected, chapters[0].m_strTitle);
    m_wndContents.GetText(nSelected + 1, strNext);
    std::string strQuestion = "Merge \"" + chapters[0].m_strTitle + "\" with the next chapter, \"" + strNext +
                              "\"?\n\nThe text of \"" + strNext + "\" goes to the end of \"" +
                              chapters[0].m_strTitle + "\", and its title goes.";
    if (MessageBox(strQuestion.c_str(), QB_PRODUCT_NAME, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return;
    KeepEditorText();
    // The exact inverse of a split at the cursor: the two texts, nothing between them.
    chapters[0].m_strText = theBook.ChapterText(uint32_t(nSelected)) + theBook.ChapterText(uint32_t(nSelected + 1));
    ChangeChapters("Merge with Next Chapter", nSelected, 2, chapters, nSelected);
    m_wndContents.SetFocus();
}

// Works on the book's text of the chapter, so that a chapter shown read-only splits too.
void CQuireBinderDlg::OnSplitIntoChapters() {
    int nSelected = m_wndContents.GetCurSel();
    if (nSelected == LB_ERR)
        return;
    KeepEditorText();
    std::string strTitle;
    m_wndContents.GetText(nSelected, strTitle);
    std::string strText = theBook.ChapterText(uint32_t(nSelected));
    CSplitChapterDialog dlg(strText, strTitle, this);
    if (dlg.DoModal() != IDOK)
        return;
    if (m_wndContents.GetCount() - 1 + int(dlg.m_chapters.size()) > CBook::kMaxSavedChapters) {
        ShowChapterLimit(0);
        return;
    }
    ChangeChapters("Split into Chapters", nSelected, 1, dlg.m_chapters, nSelected);
    m_wndContents.SetFocus();
}

LRESULT CQuireBinderDlg::OnDropFiles(WPARAM wParam, LPARAM) {
    HDROP hDrop = reinterpret_cast<HDROP>(wParam);
    POINT point = {0, 0};
    ::DragQueryPoint(hDrop, &point);
    std::vector<std::string> books, texts, others;
    UINT nFiles = ::DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < nFiles; ++i) {
        std::string path(::DragQueryFileA(hDrop, i, nullptr, 0) + 1, '\0');
        path.resize(::DragQueryFileA(hDrop, i, &path[0], UINT(path.size())));
        std::string ext = FileText::Extension(path);
        (ext == "book" ? books : ext == "txt" || ext == "rtf" ? texts : others).push_back(path);
    }
    ::DragFinish(hDrop);
    // A book opens only on its own: with other files, it is not clear what was meant.
    if (books.size() == 1 && texts.empty() && others.empty()) {
        if (QuerySave())
            OpenBook(books[0].c_str());
        else
            RestoreFocus();
        return 0;
    }
    others.insert(others.end(), books.begin(), books.end());
    if (!others.empty()) {
        std::vector<SNotAdded> refused;
        for (const std::string& path : others)
            refused.push_back({FileText::FileName(path), ""});
        std::string text = std::string(others.size() == 1 ? "This file cannot be added:" : "These files cannot be added:") +
                           ListOf(refused) + "\n\nDrop text (.txt) or RTF (.rtf) files to add them as chapters, or one book (.book) to open it.";
        MessageBox(text.c_str(), QB_PRODUCT_NAME, MB_OK | MB_ICONEXCLAMATION);
    }
    if (texts.empty())
        return 0;

    ::ClientToScreen(m_hWnd, &point);
    RECT editor;
    m_wndEditor.GetWindowRect(&editor);
    if (texts.size() == 1 && ::PtInRect(&editor, point) && m_btnImportText.IsWindowEnabled()) {
        InsertTextFile(texts[0]);
        m_wndEditor.SetFocus();
        return 0;
    }
    // On the list: before the item under the pointer, or after the last one; elsewhere after the
    // selected chapter, as Add Chapters from Files does.
    int nSelected = m_wndContents.GetCurSel();
    int nAt = nSelected != LB_ERR ? nSelected + 1 : m_wndContents.GetCount();
    RECT list;
    m_wndContents.GetWindowRect(&list);
    if (::PtInRect(&list, point)) {
        POINT inList = point;
        ::ScreenToClient(m_wndContents.m_hWnd, &inList);
        DWORD nItem = DWORD(m_wndContents.SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(inList.x, inList.y)));
        RECT item = {0, 0, 0, 0};
        nAt = m_wndContents.GetCount();
        if (HIWORD(nItem) == 0 &&
            m_wndContents.SendMessage(LB_GETITEMRECT, LOWORD(nItem), reinterpret_cast<LPARAM>(&item)) != LB_ERR &&
            inList.y < item.bottom)
            nAt = int(LOWORD(nItem));
    }
    AddChapterFiles(texts, nAt);
    return 0;
}
