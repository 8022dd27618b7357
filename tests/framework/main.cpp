#include <gtest/gtest.h>

#include "CWinApp.h"

int main(int argc, char** argv) {
    char noArguments[] = "";
    AfxWinInit(::GetModuleHandleA(nullptr), noArguments);
    AfxInitRichEdit();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
