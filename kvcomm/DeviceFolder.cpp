#include "DeviceFolder.h"

#include "KvCommResource.h"
#include "KvText.h"

#include <shlobj.h>

std::string CDeviceFolder::Initial() {
    std::string folder = Remembered();
    return folder.empty() ? Default() : folder;
}

std::string CDeviceFolder::Default() {
    char documents[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)))
        return std::string();
    std::string folder = documents;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder + CKvText::Load(IDS_KV_DEFAULT_FOLDER);
}

std::string CDeviceFolder::Remembered() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::string();
    char data[MAX_PATH + 1] = "";
    DWORD type = 0;
    DWORD size = MAX_PATH;
    LONG result = RegQueryValueExA(key, kRegistryValue, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    // A stored string need not end in a NUL; the spare byte of the buffer always does.
    if (result != ERROR_SUCCESS || type != REG_SZ || size > MAX_PATH)
        return std::string();
    data[size] = '\0';
    return data;
}

bool CDeviceFolder::Remember(const std::string& folder) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRegistryKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG result =
        RegSetValueExA(key, kRegistryValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>(folder.size()) + 1);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
