/* kvcomm.dll: the upload wizard that carries a saved book to the Kelvra handheld.
   C-compatible; included by the program and by the library itself. */
#ifndef KVCOMM_KVCOMM_H
#define KVCOMM_KVCOMM_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The library reads this record by offset, so its layout is fixed: five 32-bit fields. */
typedef struct UploadFileInfo {
    DWORD size;      /* sizeof(UploadFileInfo), 20 */
    LPCSTR path;     /* full path of the book file, ANSI */
    LPCSTR name;     /* the file name alone: the name the book gets on the handheld */
    DWORD reserved1; /* 0 */
    DWORD reserved2; /* 0 */
} UploadFileInfo;

#ifdef __cplusplus
static_assert(sizeof(UploadFileInfo) == 20, "UploadFileInfo must be 20 bytes");
#else
typedef char UploadFileInfoIs20Bytes[sizeof(UploadFileInfo) == 20 ? 1 : -1];
#endif

/* Runs the modal upload wizard for `count` records (only 1 is supported) owned by `owner`.
   Returns nonzero when the book reached the handheld, 0 on cancel, failure or a bad record.
   The strings are only read during the call. */
int WINAPI KelvraUploadWizardA(UploadFileInfo* record, int count, HWND owner);

#ifdef __cplusplus
}
#endif

#endif
