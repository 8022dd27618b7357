#include <gtest/gtest.h>

#include "QuireBinderApp.h"

// The program's application class, prepared as at start-up; each test runs its own main window.
CQuireBinderApp theApp;

int main(int argc, char** argv) {
    char noArguments[] = "";
    AfxWinInit(::GetModuleHandleA(nullptr), noArguments);
    theApp.PrepareStartUp();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
