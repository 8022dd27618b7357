// text_bench [--smoke] [--reps=N]: the conversion of an imported text file in the window program,
// under Wine: a 1 MiB UTF-8 file with accents, quotes, a star, Polish and Japanese on every line,
// read and converted into the system's code page the way Add Text from File does before the
// list of losses and the insertion. The goal is under 100 ms.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "IncomingText.h"
#include "TimingSeries.h"

namespace {

std::string ReadWholeFile(const std::string& path) {
    std::string bytes;
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(::GetFileSize(hFile, nullptr));
    DWORD nRead = 0;
    ::ReadFile(hFile, &bytes[0], DWORD(bytes.size()), &nRead, nullptr);
    bytes.resize(nRead);
    ::CloseHandle(hFile);
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    bool bSmoke = false;
    int nReps = 15;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0)
            bSmoke = true, nReps = 1;
        else if (std::strncmp(argv[i], "--reps=", 7) == 0)
            nReps = std::max(1, std::atoi(argv[i] + 7));
    }
    const std::string line =
        "\xC3\x87" "a co\xC3\xBBte 5 \xE2\x82\xAC \xE2\x80\x94 na\xC3\xAFve \xE2\x80\x9Cquotes\xE2\x80\x9D "
        "\xE2\x98\x85 \xC5\x82\xC3\xB3\x64\xC5\xBA \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E and plain words\n";
    size_t nSize = bSmoke ? 4096 : 1024 * 1024;
    std::string text;
    while (text.size() + line.size() <= nSize)
        text += line;
    text.append(nSize - text.size(), 'x');

    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    std::string path = std::string(szTemp) + "qb-text-bench-" + std::to_string(::GetCurrentProcessId()) + ".txt";
    HANDLE hFile = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD nWritten = 0;
    ::WriteFile(hFile, text.data(), DWORD(text.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);

    CTimingSeries convert;
    size_t nOut = 0, nLost = 0;
    for (int i = 0; i < nReps; ++i) {
        convert.Measure([&] {
            SConvertedText converted = ConvertIncomingText(ReadWholeFile(path));
            nOut = converted.text.size();
            nLost = converted.LostCount();
        });
    }
    ::DeleteFileA(path.c_str());
    std::printf("read and convert %zu bytes of UTF-8 (code page %u): %s ms (median, min-max of %d); "
                "%zu bytes out, %zu characters listed\n",
                text.size(), ::GetACP(), convert.Describe().c_str(), nReps, nOut, nLost);
    return nOut != 0 && nLost != 0 ? 0 : 1;
}
