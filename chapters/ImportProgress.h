#pragma once

// The small window that shows how far a batch of files has come, with Cancel. It appears only when
// the batch is long enough to be waited for: more than a few files, and still going after a moment.
// While it is up the owner is disabled and the messages waiting are run at each step, so that the
// window repaints and hears Cancel.
#include <windows.h>

#include <cstddef>
#include <string>

class CImportProgress {
public:
    static constexpr const char* kClassName = "QuireBinderProgress";
    static constexpr const char* kCaption = "Add Chapters from Files";
    static constexpr std::size_t kShownFrom = 6;  // files
    static constexpr DWORD kShownAfter = 200;     // milliseconds

    CImportProgress(HWND hOwner, std::size_t nTotal);
    ~CImportProgress();
    CImportProgress(const CImportProgress&) = delete;
    CImportProgress& operator=(const CImportProgress&) = delete;

    // Before file nDone (counting from 0) of the total, named `name`: false once Cancel was pressed.
    bool Step(std::size_t nDone, const std::string& name);

private:
    void Show();
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

    HWND m_hOwner;
    HWND m_hWnd = nullptr;
    std::size_t m_nTotal;
    DWORD m_nStart;
    bool m_bCancelled = false;
};
