// The modal upload wizard: shows the book, lets the user pick the folder that stands for
// the handheld's storage and copies the book there with a progress bar.
#ifndef KVCOMM_UPLOADWIZARD_H
#define KVCOMM_UPLOADWIZARD_H

#include "BookCopier.h"

#include <windows.h>

#include <string>

class CUploadWizard {
public:
    CUploadWizard(std::string bookPath, std::string deviceName);
    CUploadWizard(const CUploadWizard&) = delete;
    CUploadWizard& operator=(const CUploadWizard&) = delete;

    // Checks the book and its name, then runs the wizard; true when the book reached the handheld.
    bool Run(HWND owner);

private:
    enum class State { Ready, Copying, Sent };

    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog();
    void OnSend();
    void OnBrowse();
    void OnCancel();
    void OnCopyTimer();
    void OnFolderChanged();
    void CentreOnOwner();
    // A name the handheld accepts for the book, clear of the files already in `folder`.
    std::string ProposeName(const std::string& folder) const;

    void SetState(State state);
    void ShowProgress();
    void ReportCopyFailure();
    std::string GetFolder() const;
    HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }

    std::string m_strBookPath;
    std::string m_strBookName;    // the name the book has on this computer
    std::string m_strDeviceName;  // the name it gets on the handheld
    bool m_bProposed = false;     // the book's own name breaks the handheld's rule
    std::string m_strProposal;    // the name the wizard proposed last
    unsigned long long m_nBookSize = 0;
    std::string m_strFolder;  // the folder of the copy under way
    CBookCopier m_copier;
    State m_state = State::Ready;
    HWND m_hWnd = nullptr;
};

#endif
