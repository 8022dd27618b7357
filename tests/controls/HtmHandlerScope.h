// Makes HKEY_CLASSES_ROOT name a ".htm" handler of the test's own while the object lives, and
// puts the prefix's registry back as it was afterwards.
#pragma once

#include <windows.h>

#include <string>

class CHtmHandlerScope {
public:
    static constexpr const char* kFileType = "QuireBinderTest.htmlfile";

    static bool HtmKeyExists();

    // ".htm" names kFileType, whose "shell\open\command" is lpszCommand; with nullptr the type
    // exists but has no open command.
    explicit CHtmHandlerScope(const char* lpszCommand);
    ~CHtmHandlerScope();
    CHtmHandlerScope(const CHtmHandlerScope&) = delete;
    CHtmHandlerScope& operator=(const CHtmHandlerScope&) = delete;

private:
    static void SetDefault(const char* lpszKey, const char* lpszValue);

    bool m_bHtmExisted;
    bool m_bHadDefault = false;
    std::string m_strDefault;
};
