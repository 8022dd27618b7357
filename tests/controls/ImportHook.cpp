#include "ImportHook.h"

#include <cstring>

CImportHook::CImportHook(const char* lpszDll, const char* lpszFunction, void* pReplacement) {
    auto* pBase = reinterpret_cast<BYTE*>(::GetModuleHandleA(nullptr));
    auto* pDos = reinterpret_cast<IMAGE_DOS_HEADER*>(pBase);
    auto* pNt = reinterpret_cast<IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (dir.VirtualAddress == 0)
        return;
    for (auto* pDesc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + dir.VirtualAddress);
         pDesc->Name != 0; ++pDesc) {
        if (::lstrcmpiA(reinterpret_cast<const char*>(pBase + pDesc->Name), lpszDll) != 0 ||
            pDesc->OriginalFirstThunk == 0)
            continue;
        auto* pNames = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->OriginalFirstThunk);
        auto* pSlots = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDesc->FirstThunk);
        for (; pNames->u1.AddressOfData != 0; ++pNames, ++pSlots) {
            if (IMAGE_SNAP_BY_ORDINAL(pNames->u1.Ordinal))
                continue;
            auto* pName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(pBase + pNames->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(pName->Name), lpszFunction) != 0)
                continue;
            m_pSlot = reinterpret_cast<void**>(&pSlots->u1.Function);
            m_pOriginal = *m_pSlot;
            Write(m_pSlot, pReplacement);
            return;
        }
    }
}

CImportHook::~CImportHook() {
    if (m_pSlot != nullptr)
        Write(m_pSlot, m_pOriginal);
}

void CImportHook::Write(void** pSlot, void* pValue) {
    DWORD oldProtect = 0;
    ::VirtualProtect(pSlot, sizeof(void*), PAGE_READWRITE, &oldProtect);
    *pSlot = pValue;
    ::VirtualProtect(pSlot, sizeof(void*), oldProtect, &oldProtect);
}
