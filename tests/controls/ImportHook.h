// Replaces one imported function in this executable's import table while the object lives, so
// a test can watch calls the code under test makes to the system (and still forward them).
#pragma once

#include <windows.h>

class CImportHook {
public:
    // lpszDll as the import table names it, case-insensitively (e.g. "user32.dll").
    CImportHook(const char* lpszDll, const char* lpszFunction, void* pReplacement);
    ~CImportHook();
    CImportHook(const CImportHook&) = delete;
    CImportHook& operator=(const CImportHook&) = delete;

    bool IsInstalled() const { return m_pSlot != nullptr; }
    // The function the slot held before.
    void* Original() const { return m_pOriginal; }

private:
    static void Write(void** pSlot, void* pValue);

    void** m_pSlot = nullptr;
    void* m_pOriginal = nullptr;
};
