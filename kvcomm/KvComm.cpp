// The library's one export.
#include "kvcomm.h"

#include "UploadWizard.h"

#include <cstring>
#include <string>

namespace {

// Longer than any path the ANSI file functions accept: a string without a terminator
// within it is not a string the caller meant.
const size_t kMaxString = 32768;

bool CopyString(LPCSTR text, std::string& out) {
    if (!text)
        return false;
    size_t length = strnlen(text, kMaxString);
    if (length == kMaxString)
        return false;
    out.assign(text, length);
    return true;
}

}  // namespace

extern "C" int WINAPI KelvraUploadWizardA(UploadFileInfo* record, int count, HWND owner) {
    try {
        // The strings are copied before anything is shown, so nothing the caller owns is
        // read once the call has returned, or held while the wizard runs.
        std::string path;
        std::string name;
        if (count != 1 || !record || record->size != sizeof(UploadFileInfo) ||
            !CopyString(record->path, path) || !CopyString(record->name, name) || path.empty() ||
            name.empty())
            return 0;
        if (owner && !IsWindow(owner))
            owner = nullptr;
        CUploadWizard wizard(path, name);
        return wizard.Run(owner) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}
