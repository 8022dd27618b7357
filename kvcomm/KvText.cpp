#include "KvText.h"

#include "KvCommResource.h"

// The linker's own name for this module's image: the DLL's resources are found through it.
extern "C" IMAGE_DOS_HEADER __ImageBase;  // NOLINT(bugprone-reserved-identifier)

HINSTANCE CKvText::Module() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

std::string CKvText::Load(UINT id) {
    // With a zero length LoadStringA does not hand out a pointer (only the wide version
    // does), so read into a buffer that is grown until the text fits.
    std::string text(256, '\0');
    for (;;) {
        int n = LoadStringA(Module(), id, &text[0], static_cast<int>(text.size()));
        if (n <= 0)
            return std::string();
        if (static_cast<size_t>(n) < text.size() - 1) {
            text.resize(static_cast<size_t>(n));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

std::string CKvText::Format(UINT id, std::initializer_list<std::string> args) {
    const std::string pattern = Load(id);
    std::string out;
    auto arg = args.begin();
    size_t pos = 0;
    for (;;) {
        size_t mark = pattern.find("%s", pos);
        if (mark == std::string::npos || arg == args.end())
            break;
        out.append(pattern, pos, mark - pos);
        out += *arg++;
        pos = mark + 2;
    }
    out.append(pattern, pos, std::string::npos);
    return out;
}

std::string CKvText::SystemError(DWORD error) {
    char* buffer = nullptr;
    DWORD n = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<LPSTR>(&buffer), 0, nullptr);
    std::string text;
    if (n != 0 && buffer)
        text.assign(buffer, n);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "Error " + std::to_string(error) + ".";
    return text;
}

void CKvText::Report(HWND owner, const std::string& text) {
    MessageBoxA(owner, text.c_str(), Load(IDS_KV_CAPTION).c_str(), MB_OK | MB_ICONEXCLAMATION);
}
