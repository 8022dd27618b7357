#include "BookCopier.h"

#include <algorithm>

namespace {

const CBookCopier::PlatformCalls* g_pCalls = nullptr;

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/'))
        return folder + name;
    return folder + "\\" + name;
}

}  // namespace

bool CBookCopier::IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const CBookCopier::PlatformCalls& CBookCopier::PlatformCalls::Active() {
    static const PlatformCalls system{&::WriteFile};
    return g_pCalls != nullptr ? *g_pCalls : system;
}

void CBookCopier::PlatformCalls::SetActive(const PlatformCalls* calls) {
    g_pCalls = calls;
}

CBookCopier::~CBookCopier() {
    Abort();
}

bool CBookCopier::Begin(const std::string& source, const std::string& folder, const std::string& name) {
    Abort();
    m_failure = Failure::None;
    m_dwError = 0;
    m_nDone = 0;
    m_nTotal = 0;
    m_strTarget = JoinPath(folder, name);

    m_hSource = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (m_hSource == INVALID_HANDLE_VALUE) {
        Fail(Failure::SourceUnreadable, GetLastError());
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hSource, &size)) {
        Fail(Failure::SourceUnreadable, GetLastError());
        return false;
    }
    m_nTotal = static_cast<unsigned long long>(size.QuadPart);

    if (!IsFolder(folder)) {
        Fail(Failure::FolderMissing, ERROR_PATH_NOT_FOUND);
        return false;
    }
    // Lengths first: a folder too deep for the book's path leaves nothing behind.
    if (m_strTarget.size() > kMaxPath) {
        Fail(Failure::PathTooLong, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    m_hTemp = CreateTemp(folder);
    if (m_hTemp == INVALID_HANDLE_VALUE) {
        FailWrite(GetLastError());
        return false;
    }

    m_buffer.resize(kChunkSize);
    m_status = Status::Copying;
    return true;
}

// The temporary file lives in the target's folder, so putting it in place is a rename on the same
// volume. Its name, "~kv" and random hex digits, is cut to keep its path within the limit wherever
// the target's path is; CREATE_NEW claims a free one.
HANDLE CBookCopier::CreateTemp(const std::string& folder) {
    std::string prefix = JoinPath(folder, "");
    size_t room = kMaxPath - std::min(prefix.size(), kMaxPath);
    std::string lead = room > 3 ? "~kv" : "";
    DWORD error = ERROR_FILENAME_EXCED_RANGE;
    for (DWORD attempt = 0; attempt < 100 && room > 0; ++attempt) {
        char digits[16];
        wsprintfA(digits, "%08lx",
                  (GetTickCount() ^ (GetCurrentThreadId() << 12)) * 2654435761u + attempt * 40503u);
        std::string path =
            prefix + lead + std::string(digits).substr(0, std::min<size_t>(8, room - lead.size()));
        if (path == m_strTarget)
            continue;
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            m_strTemp = path;
            return file;
        }
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

CBookCopier::Status CBookCopier::Step() {
    if (m_status != Status::Copying)
        return m_status;
    DWORD read = 0;
    if (!ReadFile(m_hSource, m_buffer.data(), kChunkSize, &read, nullptr))
        return Fail(Failure::SourceUnreadable, GetLastError());
    if (read == 0)
        return Commit();
    if (!WriteAll(m_buffer.data(), read))
        return m_status;
    m_nDone += read;
    return m_status;
}

// Writes until every byte is down. A full disk may first report success with fewer bytes
// written; the next call then fails with the real reason.
bool CBookCopier::WriteAll(const char* data, DWORD size) {
    const PlatformCalls& calls = PlatformCalls::Active();
    while (size > 0) {
        DWORD written = 0;
        if (!calls.pfnWriteFile(m_hTemp, data, size, &written, nullptr)) {
            FailWrite(GetLastError());
            return false;
        }
        if (written == 0) {
            FailWrite(ERROR_DISK_FULL);
            return false;
        }
        written = std::min(written, size);
        data += written;
        size -= written;
    }
    return true;
}

CBookCopier::Status CBookCopier::Commit() {
    if (!FlushFileBuffers(m_hTemp))
        return FailWrite(GetLastError());
    HANDLE temp = m_hTemp;
    m_hTemp = INVALID_HANDLE_VALUE;
    if (!CloseHandle(temp))
        return FailWrite(GetLastError());
    CloseFiles();

    // Windows refuses to replace a read-only file but Wine does not: check it here so both
    // behave alike.
    DWORD attributes = GetFileAttributesA(m_strTarget.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Fail(Failure::TargetReadOnly, ERROR_ACCESS_DENIED);
    if (!MoveFileExA(m_strTemp.c_str(), m_strTarget.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Fail(Failure::WriteFailed, GetLastError());
    m_strTemp.clear();
    m_status = Status::Done;
    return m_status;
}

void CBookCopier::Abort() {
    CloseFiles();
    if (!m_strTemp.empty()) {
        DeleteFileA(m_strTemp.c_str());
        m_strTemp.clear();
    }
    if (m_status == Status::Copying)
        m_status = Status::Failed;
}

CBookCopier::Status CBookCopier::Fail(Failure failure, DWORD error) {
    Abort();
    m_failure = failure;
    m_dwError = error;
    m_status = Status::Failed;
    return m_status;
}

CBookCopier::Status CBookCopier::FailWrite(DWORD error) {
    bool full = error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL;
    return Fail(full ? Failure::DiskFull : Failure::WriteFailed, error);
}

void CBookCopier::CloseFiles() {
    if (m_hSource != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hSource);
        m_hSource = INVALID_HANDLE_VALUE;
    }
    if (m_hTemp != INVALID_HANDLE_VALUE) {
        CloseHandle(m_hTemp);
        m_hTemp = INVALID_HANDLE_VALUE;
    }
}
