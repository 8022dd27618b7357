// A file operation failed. what() names the file and the reason, ready for a message box.
#pragma once

#include <stdexcept>
#include <string>

#include <windows.h>

class CFileException : public std::runtime_error {
public:
    // lOsError: the system error code (GetLastError) of the failed call.
    CFileException(const std::string& strFileName, const std::string& strOperation, DWORD lOsError);

    std::string m_strFileName;
    DWORD m_lOsError;
};
