// The call with which Save and Send leaves the program. Tests put their own in its place, so that
// they see the record and nothing is sent; by default it is kvcomm.dll's.
#pragma once

#include "kvcomm.h"

struct UploadWizardCalls {
    int(WINAPI* pfnUploadWizard)(UploadFileInfo* pRecord, int nCount, HWND hOwner);

    static const UploadWizardCalls& Active();
    // Null puts KelvraUploadWizardA back.
    static void SetActive(const UploadWizardCalls* pCalls);
};
