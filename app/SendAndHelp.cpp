// Main window: Save and Send, which hands the saved book to the device library's upload wizard,
// and Help, which opens the help file beside the executable.
#include "QuireBinderDlg.h"

#include <cstring>

#include "HtmlHelpLoader.h"
#include "SendAndHelp.h"

namespace {

constexpr const char* kHelpFileName = "\\QuireBinder.chm";
constexpr UINT kHelpDisplayTopic = 0;  // the file's default topic, since the path names none
constexpr const char* kMissingHelp =
    "You don't have QuireBinder.chm or HTML Help Viewer!\n\n"
    "Please download Help Viewer from URL:\n\n"
    "http://kelvra.example/helpviewer/";

const UploadWizardCalls* g_pUploadWizardCalls = nullptr;

}  // namespace

const UploadWizardCalls& UploadWizardCalls::Active() {
    static const UploadWizardCalls library{&KelvraUploadWizardA};
    return g_pUploadWizardCalls != nullptr ? *g_pUploadWizardCalls : library;
}

void UploadWizardCalls::SetActive(const UploadWizardCalls* pCalls) {
    g_pUploadWizardCalls = pCalls;
}

void CQuireBinderDlg::OnSaveAndSend() {
    if (!SaveBook(TRUE))
        return;  // SaveBook has said whatever there was to say

    // The record's strings belong to this call alone, whatever the window does meanwhile.
    const std::string strName = m_strDocName;
    const std::string strPath = m_strDocDir + "\\" + strName;
    UploadFileInfo record;
    std::memset(&record, 0, sizeof(record));
    record.size = sizeof(record);
    record.path = strPath.c_str();
    record.name = strName.c_str();
    // The wizard reports its own outcome; the book is saved either way.
    UploadWizardCalls::Active().pfnUploadWizard(&record, 1, m_hWnd);
}

void CQuireBinderDlg::OnHelp() {
    const std::string strHelpPath = m_strAppDir + kHelpFileName;
    if (CHtmlHelpLoader::Active().HtmlHelp(m_hWnd, strHelpPath.c_str(), kHelpDisplayTopic, 0) == nullptr)
        AfxMessageBox(kMissingHelp, MB_OK | MB_ICONEXCLAMATION);
}
