// The call with which Save and Send leaves the program. Tests put their own in its place, so that
// they see the record and nothing is sent; by default it is kvcomm.dll's.
#pragma once

#include "kvcomm.h"

using UploadWizardFn = int(WINAPI*)(UploadFileInfo* pRecord, int nCount, HWND hOwner);

// nullptr puts KelvraUploadWizardA back; returns the one in use before.
UploadWizardFn SetUploadWizard(UploadWizardFn pfnWizard);
