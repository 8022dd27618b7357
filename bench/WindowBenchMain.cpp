// window_bench [--smoke] [--reps=N] [--keys=N] [--only=PARTS]: the main window's benchmarks under
// Wine (see CWindowBench). --smoke opens tiny books once, only to show that the benchmark still
// runs; --only runs the parts named (open, keystroke, bigtext, files, find), comma-separated.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "ModalAnswerer.h"
#include "QuireBinderApp.h"
#include "QuireBinderDlg.h"
#include "WindowBench.h"

CQuireBinderApp theApp;

namespace {

CWindowBench::Options ReadOptions(int argc, char** argv, bool& bSmoke) {
    CWindowBench::Options options;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--smoke") {
            bSmoke = true;
            options.sizes = {10, 30};
            options.nReps = 1;
            options.nRounds = 1;
            options.nKeys = 2;
            options.nBigChapter = 64 * 1024;
        } else if (arg.rfind("--reps=", 0) == 0) {
            options.nReps = std::max(1, std::atoi(arg.c_str() + 7));
        } else if (arg.rfind("--only=", 0) == 0) {
            options.strOnly = arg.substr(7);
        } else if (arg.rfind("--keys=", 0) == 0) {
            options.nKeys = std::max(1, std::atoi(arg.c_str() + 7));
        } else {
            std::fprintf(stderr,
                         "usage: window_bench [--smoke] [--reps=N] [--keys=N] "
                         "[--only=open,keystroke,bigtext,files,find]\n");
            std::exit(2);
        }
    }
    return options;
}

// A folder of its own in the temporary directory, for the books.
std::string MakeFolder() {
    char szTemp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, szTemp);
    std::string folder = std::string(szTemp) + "qb-window-bench-" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((folder + "\\*.book").c_str(), &found);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            ::DeleteFileA((folder + "\\" + found.cFileName).c_str());
        } while (::FindNextFileA(hFind, &found));
        ::FindClose(hFind);
    }
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    bool bSmoke = false;
    CWindowBench::Options options = ReadOptions(argc, argv, bSmoke);
    char noArguments[] = "";
    AfxWinInit(::GetModuleHandleA(nullptr), noArguments);
    theApp.PrepareStartUp();
    std::string folder = MakeFolder();
    std::printf("window bench under Wine%s; books in %s\n", bSmoke ? " (smoke run)" : "", folder.c_str());

    bool bOk = false;
    {
        CQuireBinderDlg dlg;
        theApp.m_pMainWnd = &dlg;
        // The benchmark runs inside the window's modal loop, as the program's handlers do.
        ModalAnswerer answerer(bSmoke ? 60000 : 3600000);
        answerer.Expect(ModalAnswerer::OnMainWindow([&](HWND) {
            bOk = CWindowBench(dlg, options, folder).Run();
            dlg.EndDialog(IDOK);
        }));
        dlg.DoModal();
        theApp.m_pMainWnd = nullptr;
    }
    RemoveFolder(folder);
    // The answerer reports a window nobody expected (a message box, say) as a test failure.
    return bOk && !testing::UnitTest::GetInstance()->Failed() ? 0 : 1;
}
