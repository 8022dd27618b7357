#include "CFileException.h"

namespace {

std::string SystemReason(DWORD lOsError) {
    char* pszMessage = nullptr;
    DWORD nLength = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        lOsError, 0, reinterpret_cast<char*>(&pszMessage), 0, nullptr);
    std::string reason;
    if (nLength != 0 && pszMessage != nullptr)
        reason.assign(pszMessage, nLength);
    ::LocalFree(pszMessage);
    while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' '))
        reason.pop_back();
    if (reason.empty())
        reason = "System error " + std::to_string(lOsError) + ".";
    return reason;
}

}  // namespace

CFileException::CFileException(const std::string& strFileName,
                               const std::string& strOperation,
                               DWORD lOsError)
    : std::runtime_error("\"" + strFileName + "\" could not be " + strOperation + ".\n\n" +
                         SystemReason(lOsError)),
      m_strFileName(strFileName),
      m_lOsError(lOsError) {}
