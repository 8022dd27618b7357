// The controls' tests run inside a framework application, as the controls do in the program:
// the application's title captions its message boxes and its module holds the resources.
#include <gtest/gtest.h>

#include "Framework.h"

namespace {

CWinApp theApp;

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    AfxWinInit(::GetModuleHandleA(nullptr), const_cast<char*>(""));
    return RUN_ALL_TESTS();
}
