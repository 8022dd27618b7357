// Drops files on a window of another process, as the shell does when files are dragged onto it:
//   drop_helper HWND X Y FILE...   WM_DROPFILES at X, Y of the window's client area
// The drop's block is written into the target process, where the window's handler reads it.
// Exit status 0 when the message was posted.
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
    if (argc < 5)
        return 2;
    HWND hTarget = reinterpret_cast<HWND>(std::strtoul(argv[1], nullptr, 0));
    std::string block(sizeof(DROPFILES), '\0');
    for (int i = 4; i < argc; ++i)
        block.append(argv[i], std::strlen(argv[i]) + 1);
    block += '\0';
    DROPFILES header = {};
    header.pFiles = sizeof(DROPFILES);
    header.pt.x = std::atoi(argv[2]);
    header.pt.y = std::atoi(argv[3]);
    std::memcpy(&block[0], &header, sizeof header);

    DWORD nProcess = 0;
    ::GetWindowThreadProcessId(hTarget, &nProcess);
    HANDLE hProcess = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, nProcess);
    if (hProcess == nullptr)
        return 1;
    void* pRemote = ::VirtualAllocEx(hProcess, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    bool bWritten = pRemote != nullptr &&
                    ::WriteProcessMemory(hProcess, pRemote, block.data(), block.size(), nullptr);
    ::CloseHandle(hProcess);
    if (!bWritten || !::PostMessageA(hTarget, WM_DROPFILES, reinterpret_cast<WPARAM>(pRemote), 0))
        return 1;
    return 0;
}
