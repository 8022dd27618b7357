// A file opened for reading. Failures throw CFileException naming the file and the reason; an
// exception that leaves a message handler is reported by the framework's window procedure.
#pragma once

#include <string>

#include <windows.h>

class CFile {
public:
    enum OpenFlags : UINT {
        modeRead = 0x0000,
        shareDenyWrite = 0x0020,
        shareDenyNone = 0x0040,
        typeBinary = 0x8000,
    };

    HANDLE m_hFile = INVALID_HANDLE_VALUE;

    CFile() = default;
    // Opens for reading; throws CFileException on failure. Only read access is supported.
    CFile(const char* lpszFileName, UINT nOpenFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    ~CFile();  // closes, never throws

    // Opens for reading; false on failure (the file stays closed).
    BOOL Open(const char* lpszFileName, UINT nOpenFlags);
    // Throws CFileException on failure.
    ULONGLONG GetLength() const;
    // Reads up to nCount bytes; returns the number read (0 at the end). Throws on failure.
    UINT Read(void* lpBuf, UINT nCount);
    void Close();

private:
    std::string m_strFileName;
};
