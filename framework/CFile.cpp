#include "CFile.h"

#include "CFileException.h"

CFile::CFile(const char* lpszFileName, UINT nOpenFlags) {
    if (!Open(lpszFileName, nOpenFlags))
        throw CFileException(lpszFileName != nullptr ? lpszFileName : "", "opened", ::GetLastError());
}

CFile::~CFile() {
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
}

BOOL CFile::Open(const char* lpszFileName, UINT nOpenFlags) {
    Close();
    if (lpszFileName == nullptr) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Reading only; other readers are always welcome, writers only with shareDenyNone.
    DWORD dwShare = FILE_SHARE_READ | ((nOpenFlags & shareDenyNone) ? FILE_SHARE_WRITE : 0);
    HANDLE hFile = ::CreateFileA(lpszFileName, GENERIC_READ, dwShare, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hFile = hFile;
    m_strFileName = lpszFileName;
    return TRUE;
}

ULONGLONG CFile::GetLength() const {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        throw CFileException(m_strFileName, "measured", ::GetLastError());
    return ULONGLONG(size.QuadPart);
}

UINT CFile::Read(void* lpBuf, UINT nCount) {
    DWORD nRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr))
        throw CFileException(m_strFileName, "read", ::GetLastError());
    return UINT(nRead);
}

void CFile::Close() {
    if (m_hFile != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
}
