// Copies a book into the handheld's storage folder a chunk at a time, so the wizard can
// show progress and stay responsive. The copy goes to a temporary file beside the target
// and takes the target's place only when every byte is written, so a failure never leaves
// a broken book on the handheld.
#ifndef KVCOMM_BOOKCOPIER_H
#define KVCOMM_BOOKCOPIER_H

#include <windows.h>

#include <string>
#include <vector>

class CBookCopier {
public:
    enum class Status { Copying, Done, Failed };
    enum class Failure {
        None,
        SourceUnreadable,
        FolderMissing,
        PathTooLong,
        DiskFull,
        TargetReadOnly,
        WriteFailed
    };

    // The calls of the copy that tests replace, so that a disk can fill up or fail at any write;
    // by default they are the system's own.
    struct PlatformCalls {
        BOOL(WINAPI* pfnWriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);

        static const PlatformCalls& Active();
        // Null restores the system's calls.
        static void SetActive(const PlatformCalls* calls);
    };

    static bool IsFolder(const std::string& path);

    static constexpr DWORD kChunkSize = 64 * 1024;
    // The longest path the ANSI file functions take (MAX_PATH less the terminator).
    static constexpr size_t kMaxPath = MAX_PATH - 1;

    CBookCopier() = default;
    ~CBookCopier();
    CBookCopier(const CBookCopier&) = delete;
    CBookCopier& operator=(const CBookCopier&) = delete;

    // Opens the book and creates the temporary file in `folder`; the copy is to be named `name`.
    bool Begin(const std::string& source, const std::string& folder, const std::string& name);
    // Copies the next chunk; after the last one puts the copy in place.
    Status Step();
    // Stops a copy under way and removes the temporary file.
    void Abort();

    Failure GetFailure() const { return m_failure; }
    DWORD GetError() const { return m_dwError; }
    const std::string& GetTargetPath() const { return m_strTarget; }
    unsigned long long GetBytesDone() const { return m_nDone; }
    unsigned long long GetBytesTotal() const { return m_nTotal; }

private:
    Status Fail(Failure failure, DWORD error);
    Status FailWrite(DWORD error);
    bool WriteAll(const char* data, DWORD size);
    HANDLE CreateTemp(const std::string& folder);
    Status Commit();
    void CloseFiles();

    HANDLE m_hSource = INVALID_HANDLE_VALUE;
    HANDLE m_hTemp = INVALID_HANDLE_VALUE;
    std::string m_strTemp;
    std::string m_strTarget;
    std::vector<char> m_buffer;
    unsigned long long m_nDone = 0;
    unsigned long long m_nTotal = 0;
    Status m_status = Status::Failed;
    Failure m_failure = Failure::None;
    DWORD m_dwError = 0;
};

#endif
