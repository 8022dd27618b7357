// How the HTML Help control is found: the registry's server path first, then "hhctrl.ocx" by name,
// the entry point by ordinal 14; found once, and never searched for again after a failure.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeHtmlHelpControl.h"
#include "HtmlHelpLoader.h"

namespace {

const HWND kCaller = reinterpret_cast<HWND>(0x1234);

HWND Call(CHtmlHelpLoader& loader) {
    return loader.HtmlHelp(kCaller, "C:\\Program\\QuireBinder.chm", 0, 0);
}

TEST(HtmlHelpLoader, RegisteredControlIsLoadedOnceAndCalledWithTheArgumentsUnchanged) {
    CFakeHtmlHelpControl system;
    CHtmlHelpLoader loader(CFakeHtmlHelpControl::Calls());
    EXPECT_EQ(Call(loader), CFakeHtmlHelpControl::kHelpWindow);
    EXPECT_EQ(loader.HtmlHelp(nullptr, "x.chm", 7, 99), CFakeHtmlHelpControl::kHelpWindow);

    EXPECT_EQ(system.m_registryKeys,
              std::vector<std::string>{"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32"});
    EXPECT_EQ(system.m_loads, std::vector<std::string>{"C:\\windows\\system32\\hhctrl.ocx"});
    ASSERT_EQ(system.m_lookups.size(), 1u);
    EXPECT_EQ(system.m_lookups[0].first, CFakeHtmlHelpControl::kRegisteredControl);
    EXPECT_EQ(system.m_lookups[0].second, 14u);  // by ordinal, not by name
    ASSERT_EQ(system.m_calls.size(), 2u);
    EXPECT_EQ(system.m_calls[0].hwndCaller, kCaller);
    EXPECT_EQ(system.m_calls[0].file, "C:\\Program\\QuireBinder.chm");
    EXPECT_EQ(system.m_calls[0].uCommand, 0u);
    EXPECT_EQ(system.m_calls[0].dwData, 0u);
    EXPECT_EQ(system.m_calls[1].hwndCaller, nullptr);
    EXPECT_EQ(system.m_calls[1].file, "x.chm");
    EXPECT_EQ(system.m_calls[1].uCommand, 7u);
    EXPECT_EQ(system.m_calls[1].dwData, 99u);
}

// Without a usable registry entry the control is loaded by its name.
TEST(HtmlHelpLoader, FallsBackToTheControlsName) {
    struct Case {
        const char* what;
        LONG nRegistryResult;
        const char* value;
        std::vector<std::string> loads;
    };
    const std::vector<Case> cases = {
        {"no key", ERROR_FILE_NOT_FOUND, "", {"hhctrl.ocx"}},
        {"empty value", ERROR_SUCCESS, "", {"hhctrl.ocx"}},
        {"path that does not load",
         ERROR_SUCCESS,
         "C:\\gone\\hhctrl.ocx",
         {"C:\\gone\\hhctrl.ocx", "hhctrl.ocx"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CFakeHtmlHelpControl system;
        system.m_nRegistryResult = c.nRegistryResult;
        system.m_registryValue = c.value;
        system.m_hRegistered = nullptr;
        CHtmlHelpLoader loader(CFakeHtmlHelpControl::Calls());
        EXPECT_EQ(Call(loader), CFakeHtmlHelpControl::kHelpWindow);
        EXPECT_EQ(system.m_loads, c.loads);
        ASSERT_EQ(system.m_lookups.size(), 1u);
        EXPECT_EQ(system.m_lookups[0].first, CFakeHtmlHelpControl::kNamedControl);
    }
}

// A null result from the viewer (no such file) is passed on, and the next call tries again.
TEST(HtmlHelpLoader, NothingShownIsNotAFailureToLoad) {
    CFakeHtmlHelpControl system;
    system.m_hResult = nullptr;
    CHtmlHelpLoader loader(CFakeHtmlHelpControl::Calls());
    EXPECT_EQ(Call(loader), nullptr);
    EXPECT_EQ(Call(loader), nullptr);
    EXPECT_EQ(system.m_calls.size(), 2u);
    EXPECT_EQ(system.m_loads.size(), 1u);
}

// No control at all, or one without the entry point: null now and for good, with no new search.
TEST(HtmlHelpLoader, FailureIsFinal) {
    for (bool bControlMissing : {true, false}) {
        SCOPED_TRACE(bControlMissing ? "no control" : "no entry point");
        CFakeHtmlHelpControl system;
        if (bControlMissing)
            system.m_hRegistered = system.m_hNamed = nullptr;
        else
            system.m_bHasEntryPoint = false;
        CHtmlHelpLoader loader(CFakeHtmlHelpControl::Calls());
        EXPECT_EQ(Call(loader), nullptr);
        size_t nLoads = system.m_loads.size();
        size_t nLookups = system.m_lookups.size();
        EXPECT_EQ(Call(loader), nullptr);
        EXPECT_EQ(Call(loader), nullptr);
        EXPECT_EQ(system.m_registryKeys.size(), 1u);
        EXPECT_EQ(system.m_loads.size(), nLoads);
        EXPECT_EQ(system.m_lookups.size(), nLookups);
        EXPECT_TRUE(system.m_calls.empty());
    }
}

}  // namespace
