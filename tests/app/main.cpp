#include <gtest/gtest.h>

#include <string>

#include "QuireBinderApp.h"

// The program's application class, prepared as at start-up; each test runs its own main window.
CQuireBinderApp theApp;

namespace {

// Books opened by one test would show in the next one's File menu: every test starts without.
class ForgetRecentBooks : public testing::EmptyTestEventListener {
    void OnTestStart(const testing::TestInfo&) override {
        for (int i = 1; i <= 8; ++i)
            theApp.WriteProfileString("Recent Books", ("Book" + std::to_string(i)).c_str(), nullptr);
    }
};

}  // namespace

int main(int argc, char** argv) {
    char noArguments[] = "";
    AfxWinInit(::GetModuleHandleA(nullptr), noArguments);
    theApp.PrepareStartUp();
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new ForgetRecentBooks);
    return RUN_ALL_TESTS();
}
