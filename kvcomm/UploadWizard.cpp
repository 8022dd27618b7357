#include "UploadWizard.h"

#include "DeviceFolder.h"
#include "KvCommResource.h"
#include "KvFileName.h"
#include "KvText.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>

namespace {

const UINT_PTR kCopyTimer = 1;
// Chunks are copied on a timer, which the message loop serves only when no input is
// waiting, and for at most this long per tick, so Cancel stays responsive.
const DWORD kCopySliceMs = 40;
const int kProgressRange = 1000;

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string SizeText(unsigned long long size) {
    if (size < 1024)
        return CKvText::Format(IDS_KV_SIZE_BYTES, {std::to_string(size)});
    return CKvText::Format(IDS_KV_SIZE_KB, {std::to_string((size + 1023) / 1024), std::to_string(size)});
}

const char kSelectionProp[] = "KvBrowseFolder";
const char kTriesProp[] = "KvBrowseTries";
const UINT_PTR kSelectTimer = 1;
const int kSelectTries = 8;

void SelectFolder(HWND browser, LPARAM folder) {
    SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, folder);
}

// Wine at times leaves the browser's tree without any selection after the first try; another try
// a moment later takes. A selection the user made ends the retries.
void CALLBACK RetrySelection(HWND browser, UINT, UINT_PTR timer, DWORD) {
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    auto tries = reinterpret_cast<INT_PTR>(GetPropA(browser, kTriesProp)) + 1;
    if (!tree || TreeView_GetSelection(tree) || tries > kSelectTries) {
        KillTimer(browser, timer);
        RemovePropA(browser, kSelectionProp);
        RemovePropA(browser, kTriesProp);
        return;
    }
    SetPropA(browser, kTriesProp, reinterpret_cast<HANDLE>(tries));
    SelectFolder(browser, reinterpret_cast<LPARAM>(GetPropA(browser, kSelectionProp)));
}

int CALLBACK BrowseCallback(HWND hwnd, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED && data) {
        SelectFolder(hwnd, data);
        SetPropA(hwnd, kSelectionProp, reinterpret_cast<HANDLE>(data));
        SetTimer(hwnd, kSelectTimer, 250, RetrySelection);
    }
    return 0;
}

// The name becomes a file name inside the storage folder: a path would lead out of it.
bool IsDeviceName(const std::string& name) {
    return name.find('\\') == std::string::npos && IsValidKelvraFileName(name.c_str());
}

}  // namespace

CUploadWizard::CUploadWizard(std::string bookPath, std::string deviceName)
    : m_strBookPath(std::move(bookPath)), m_strBookName(std::move(deviceName)) {}

bool CUploadWizard::Run(HWND owner) {
    m_strDeviceName = m_strBookName;
    m_bProposed = !IsDeviceName(m_strBookName);
    if (m_bProposed)
        m_strDeviceName = m_strProposal = ProposeName(CDeviceFolder::Initial());
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(m_strBookPath.c_str(), GetFileExInfoStandard, &data)) {
        CKvText::Report(owner, CKvText::Format(IDS_KV_BOOK_UNREADABLE,
                                               {m_strBookPath, CKvText::SystemError(GetLastError())}));
        return false;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        CKvText::Report(owner, CKvText::Format(IDS_KV_BOOK_UNREADABLE,
                                               {m_strBookPath, CKvText::SystemError(ERROR_ACCESS_DENIED)}));
        return false;
    }
    m_nBookSize = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    INT_PTR result = DialogBoxParamA(CKvText::Module(), MAKEINTRESOURCEA(IDD_KV_WIZARD), owner, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    return result == IDOK;
}

// The one entry from the dialog manager: links the window to its wizard and keeps
// exceptions from unwinding through the system's code.
INT_PTR CALLBACK CUploadWizard::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CUploadWizard* wizard;
    if (message == WM_INITDIALOG) {
        wizard = reinterpret_cast<CUploadWizard*>(lParam);
        wizard->m_hWnd = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
    } else {
        wizard = reinterpret_cast<CUploadWizard*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!wizard)
        return FALSE;
    try {
        return wizard->OnMessage(message, wParam, lParam);
    } catch (...) {
        KillTimer(hwnd, kCopyTimer);
        wizard->m_copier.Abort();
        EndDialog(hwnd, IDCANCEL);
        return TRUE;
    }
}

INT_PTR CUploadWizard::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE;  // focus was set on the Send button
        case WM_TIMER:
            if (wParam == kCopyTimer)
                OnCopyTimer();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_KV_FOLDER && HIWORD(wParam) == EN_CHANGE) {
                OnFolderChanged();
                return TRUE;
            }
            if (HIWORD(wParam) != BN_CLICKED)
                return FALSE;
            switch (LOWORD(wParam)) {
                case IDOK:
                    OnSend();
                    return TRUE;
                case IDCANCEL:
                    OnCancel();
                    return TRUE;
                case IDC_KV_BROWSE:
                    OnBrowse();
                    return TRUE;
            }
            return FALSE;
    }
    return FALSE;
}

void CUploadWizard::OnInitDialog() {
    SetWindowTextA(m_hWnd, CKvText::Load(IDS_KV_CAPTION).c_str());
    SendMessageA(Item(IDC_KV_BOOKNAME), EM_LIMITTEXT, MAX_PATH - 1, 0);
    SetDlgItemTextA(m_hWnd, IDC_KV_BOOKNAME, m_strDeviceName.c_str());
    if (m_bProposed) {
        const char* problem = KelvraFileNameProblem(m_strBookName.c_str());
        std::string reason = problem ? problem : CKvText::Load(IDS_KV_NAME_IS_PATH);
        SetDlgItemTextA(m_hWnd, IDC_KV_NAMENOTE,
                        CKvText::Format(IDS_KV_NAME_PROPOSED, {m_strBookName, reason}).c_str());
    }
    SetDlgItemTextA(m_hWnd, IDC_KV_BOOKSIZE, SizeText(m_nBookSize).c_str());
    SendMessageA(Item(IDC_KV_FOLDER), EM_LIMITTEXT, MAX_PATH - 1, 0);
    SetDlgItemTextA(m_hWnd, IDC_KV_FOLDER, CDeviceFolder::Initial().c_str());
    SendMessageA(Item(IDC_KV_PROGRESS), PBM_SETRANGE32, 0, kProgressRange);
    SetState(State::Ready);
    CentreOnOwner();
    SetFocus(Item(IDOK));
}

// Over the window that owns the wizard, not the middle of the screen, and within the work area of
// the owner's monitor.
void CUploadWizard::CentreOnOwner() {
    HWND owner = GetWindow(m_hWnd, GW_OWNER);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoA(MonitorFromWindow(owner ? owner : m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = monitor.rcWork;
    RECT around = area;
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    RECT self;
    GetWindowRect(m_hWnd, &self);
    int width = self.right - self.left;
    int height = self.bottom - self.top;
    int x =
        std::max<int>(area.left, std::min<int>((around.left + around.right - width) / 2, area.right - width));
    int y = std::max<int>(area.top,
                          std::min<int>((around.top + around.bottom - height) / 2, area.bottom - height));
    SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::string CUploadWizard::ProposeName(const std::string& folder) const {
    return ProposeKelvraFileName(m_strBookName.c_str(), [&](const std::string& name) {
        return !folder.empty() &&
               GetFileAttributesA((folder + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
    });
}

// Another folder may hold other files: a proposal the user left as it was is made anew for it.
void CUploadWizard::OnFolderChanged() {
    if (!m_bProposed || m_state != State::Ready)
        return;
    char name[MAX_PATH] = "";
    GetDlgItemTextA(m_hWnd, IDC_KV_BOOKNAME, name, MAX_PATH);
    if (m_strProposal != name)
        return;
    m_strProposal = ProposeName(GetFolder());
    SetDlgItemTextA(m_hWnd, IDC_KV_BOOKNAME, m_strProposal.c_str());
}

void CUploadWizard::OnSend() {
    if (m_state == State::Sent) {
        EndDialog(m_hWnd, IDOK);
        return;
    }
    if (m_state != State::Ready)
        return;
    // The name typed is held to the same rule as the book's own.
    char name[MAX_PATH] = "";
    GetDlgItemTextA(m_hWnd, IDC_KV_BOOKNAME, name, MAX_PATH);
    if (!IsDeviceName(name)) {
        CKvText::Report(m_hWnd, CKvText::Format(IDS_KV_NAME_REFUSED, {name}));
        SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_KV_BOOKNAME)), TRUE);
        return;
    }
    m_strDeviceName = name;
    std::string folder = GetFolder();
    if (folder.empty()) {
        CKvText::Report(m_hWnd, CKvText::Load(IDS_KV_FOLDER_EMPTY));
        return;
    }
    // The default folder is the wizard's own and is made on first use; any other folder
    // stands for a handheld that must be there.
    if (!CBookCopier::IsFolder(folder) && lstrcmpiA(folder.c_str(), CDeviceFolder::Default().c_str()) == 0)
        CreateDirectoryA(folder.c_str(), nullptr);
    m_strFolder = folder;
    if (!m_copier.Begin(m_strBookPath, folder, m_strDeviceName)) {
        ReportCopyFailure();
        return;
    }
    SetState(State::Copying);
    SetTimer(m_hWnd, kCopyTimer, USER_TIMER_MINIMUM, nullptr);
}

void CUploadWizard::OnCopyTimer() {
    if (m_state != State::Copying)
        return;
    DWORD start = GetTickCount();
    CBookCopier::Status status;
    do {
        status = m_copier.Step();
    } while (status == CBookCopier::Status::Copying && GetTickCount() - start < kCopySliceMs);
    ShowProgress();
    if (status == CBookCopier::Status::Copying)
        return;
    KillTimer(m_hWnd, kCopyTimer);
    if (status == CBookCopier::Status::Done) {
        CDeviceFolder::Remember(m_strFolder);
        SetState(State::Sent);
        return;
    }
    SetState(State::Ready);
    ReportCopyFailure();
}

void CUploadWizard::OnCancel() {
    KillTimer(m_hWnd, kCopyTimer);
    m_copier.Abort();
    // Closing after the copy is not a cancel: the book is on the handheld.
    EndDialog(m_hWnd, m_state == State::Sent ? IDOK : IDCANCEL);
}

void CUploadWizard::OnBrowse() {
    std::string folder = GetFolder();
    std::string title = CKvText::Load(IDS_KV_BROWSE_TITLE);
    char path[MAX_PATH] = "";
    // The folder browser needs COM on this thread; the caller may not have started it.
    HRESULT com = CoInitialize(nullptr);
    BROWSEINFOA info = {};
    info.hwndOwner = m_hWnd;
    info.pszDisplayName = path;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = folder.empty() ? 0 : reinterpret_cast<LPARAM>(folder.c_str());
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (item) {
        if (SHGetPathFromIDListA(item, path))
            SetDlgItemTextA(m_hWnd, IDC_KV_FOLDER, path);
        CoTaskMemFree(item);
    }
    if (SUCCEEDED(com))
        CoUninitialize();
}

void CUploadWizard::SetState(State state) {
    m_state = state;
    bool ready = state == State::Ready;
    EnableWindow(Item(IDC_KV_FOLDER), ready);
    EnableWindow(Item(IDC_KV_BOOKNAME), ready);
    EnableWindow(Item(IDC_KV_BROWSE), ready);
    EnableWindow(Item(IDOK), state != State::Copying);
    EnableWindow(Item(IDCANCEL), state != State::Sent);
    switch (state) {
        case State::Ready:
            SendMessageA(Item(IDC_KV_PROGRESS), PBM_SETPOS, 0, 0);
            SetDlgItemTextA(m_hWnd, IDC_KV_STATUS, CKvText::Load(IDS_KV_READY).c_str());
            break;
        case State::Copying:
            SetDlgItemTextA(m_hWnd, IDC_KV_STATUS,
                            CKvText::Format(IDS_KV_SENDING, {m_strDeviceName}).c_str());
            break;
        case State::Sent:
            SendMessageA(Item(IDC_KV_PROGRESS), PBM_SETPOS, kProgressRange, 0);
            SetDlgItemTextA(m_hWnd, IDC_KV_STATUS, CKvText::Format(IDS_KV_SENT, {m_strDeviceName}).c_str());
            SetDlgItemTextA(m_hWnd, IDOK, CKvText::Load(IDS_KV_FINISH).c_str());
            SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDOK)), TRUE);
            break;
    }
}

void CUploadWizard::ShowProgress() {
    unsigned long long total = m_copier.GetBytesTotal();
    unsigned long long done = m_copier.GetBytesDone();
    int position = kProgressRange;
    if (total > 0 && done < total)
        position = static_cast<int>(done * kProgressRange / total);
    SendMessageA(Item(IDC_KV_PROGRESS), PBM_SETPOS, position, 0);
}

void CUploadWizard::ReportCopyFailure() {
    std::string text;
    DWORD error = m_copier.GetError();
    switch (m_copier.GetFailure()) {
        case CBookCopier::Failure::SourceUnreadable:
            text = CKvText::Format(IDS_KV_BOOK_UNREADABLE, {m_strBookPath, CKvText::SystemError(error)});
            break;
        case CBookCopier::Failure::FolderMissing:
            text = CKvText::Format(IDS_KV_FOLDER_MISSING, {m_strFolder});
            break;
        case CBookCopier::Failure::PathTooLong:
            text = CKvText::Format(IDS_KV_PATH_TOO_LONG, {m_strFolder});
            break;
        case CBookCopier::Failure::DiskFull:
            text = CKvText::Format(IDS_KV_DISK_FULL, {m_strDeviceName});
            break;
        case CBookCopier::Failure::TargetReadOnly:
            text = CKvText::Format(IDS_KV_READ_ONLY, {m_strDeviceName});
            break;
        case CBookCopier::Failure::WriteFailed:
        case CBookCopier::Failure::None:
            text =
                CKvText::Format(IDS_KV_WRITE_FAILED, {m_copier.GetTargetPath(), CKvText::SystemError(error)});
            break;
    }
    CKvText::Report(m_hWnd, text);
}

std::string CUploadWizard::GetFolder() const {
    HWND edit = Item(IDC_KV_FOLDER);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(edit, &text[0], static_cast<int>(text.size()))));
    return Trimmed(text);
}
