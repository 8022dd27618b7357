// Changes the clipboard from a process of its own, as another program would, for the tests of the
// main window's clipboard viewer.
//   clipboard_helper set TEXT    puts TEXT on the clipboard as CF_TEXT
//   clipboard_helper set-utf8 TEXT  puts TEXT, given as UTF-8, on the clipboard as CF_UNICODETEXT
//   clipboard_helper empty       empties the clipboard
// Exit code 0 on success, 1 on a failed clipboard call, 2 on bad arguments.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

// The clipboard takes data only from an owner window.
HWND CreateOwnerWindow() {
    return ::CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

bool OpenWithRetries(HWND hOwner) {
    // Another process may hold the clipboard for a moment.
    for (int i = 0; i < 200; ++i) {
        if (::OpenClipboard(hOwner))
            return true;
        ::Sleep(10);
    }
    return false;
}

// `text` with its terminating zero, as CF_TEXT or (`bUnicode`, from UTF-8) as CF_UNICODETEXT.
bool SetText(HWND hOwner, const std::string& text, bool bUnicode) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(size_t(::MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], int(wide.size()))));
    const void* pData = bUnicode ? static_cast<const void*>(wide.c_str()) : text.c_str();
    size_t nBytes = bUnicode ? wide.size() * sizeof(wchar_t) : text.size() + 1;
    HGLOBAL hText = ::GlobalAlloc(GMEM_MOVEABLE, nBytes);
    if (hText == nullptr)
        return false;
    std::memcpy(::GlobalLock(hText), pData, nBytes);
    ::GlobalUnlock(hText);
    if (!OpenWithRetries(hOwner)) {
        ::GlobalFree(hText);
        return false;
    }
    bool ok = ::EmptyClipboard() && ::SetClipboardData(bUnicode ? CF_UNICODETEXT : CF_TEXT, hText) != nullptr;
    ::CloseClipboard();
    return ok;
}

bool Empty(HWND hOwner) {
    if (!OpenWithRetries(hOwner))
        return false;
    bool ok = ::EmptyClipboard() != FALSE;
    ::CloseClipboard();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    HWND hOwner = CreateOwnerWindow();
    if (argc == 3 && std::strcmp(argv[1], "set") == 0)
        return SetText(hOwner, argv[2], false) ? 0 : 1;
    if (argc == 3 && std::strcmp(argv[1], "set-utf8") == 0)
        return SetText(hOwner, argv[2], true) ? 0 : 1;
    if (argc == 2 && std::strcmp(argv[1], "empty") == 0)
        return Empty(hOwner) ? 0 : 1;
    return 2;
}
