#include "HtmHandlerScope.h"

#include <shlwapi.h>

#include <cstring>

bool CHtmHandlerScope::HtmKeyExists() {
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".htm", 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(hKey);
    return true;
}

CHtmHandlerScope::CHtmHandlerScope(const char* lpszCommand) : m_bHtmExisted(HtmKeyExists()) {
    if (m_bHtmExisted) {
        char value[MAX_PATH] = {};
        DWORD cbValue = sizeof(value) - 1;
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".htm", 0, KEY_QUERY_VALUE, &hKey) == ERROR_SUCCESS) {
            m_bHadDefault = ::RegQueryValueExA(hKey, nullptr, nullptr, nullptr,
                                               reinterpret_cast<BYTE*>(value), &cbValue) == ERROR_SUCCESS;
            ::RegCloseKey(hKey);
        }
        m_strDefault = value;
    }
    SetDefault(".htm", kFileType);
    SetDefault(kFileType, "Test page");
    if (lpszCommand != nullptr)
        SetDefault((std::string(kFileType) + "\\shell\\open\\command").c_str(), lpszCommand);
}

CHtmHandlerScope::~CHtmHandlerScope() {
    ::SHDeleteKeyA(HKEY_CLASSES_ROOT, kFileType);
    if (!m_bHtmExisted) {
        ::SHDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
    } else if (m_bHadDefault) {
        SetDefault(".htm", m_strDefault.c_str());
    } else {
        HKEY hKey = nullptr;
        if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, ".htm", 0, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
            ::RegDeleteValueA(hKey, nullptr);
            ::RegCloseKey(hKey);
        }
    }
}

void CHtmHandlerScope::SetDefault(const char* lpszKey, const char* lpszValue) {
    HKEY hKey = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, lpszKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hKey,
                          nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(hKey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue),
                     DWORD(std::strlen(lpszValue)) + 1);
    ::RegCloseKey(hKey);
}
