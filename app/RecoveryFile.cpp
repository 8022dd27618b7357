#include "RecoveryFile.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "Book.h"
#include "ContainerReader.h"
#include "MemberHandler.h"
#include "resource.h"

namespace {

constexpr const char* kNoteMember = "recovery.txt";  // a name the book's reader passes over
constexpr const char* kFilePrefix = "recovery-";
constexpr const char* kFileSuffix = ".book";
constexpr const char* kMutexPrefix = "KelvraQuireBinderRecovery-";

class CRecoveryWriter : public CContainerWriter {
public:
    bool Write(const std::string& path, const CRecoveryFile::Book& book, const std::string& note) {
        return QueueAndWrite(path.c_str(), [&] {
            std::string contents;
            for (size_t i = 0; i < book.chapterTitles.size(); ++i)
                contents += (i > 0 ? "\n" : "") + book.chapterTitles[i];
            bool ok =
                CBook::QueueHead(*this, book.author, book.title, book.chapterTitles.empty() ? nullptr : &contents);
            for (size_t i = 0; i < book.chapterTexts.size() && ok; ++i) {
                const std::string& text = *book.chapterTexts[i];
                ok = AddBorrowedMember((std::to_string(i + 1) + ".txt").c_str(), text.data(), uint32_t(text.size()));
            }
            return ok && AddMember(kNoteMember, note.data(), uint32_t(note.size()));
        });
    }
};

class CNoteReader : public CMemberHandler {
public:
    void OnMemberName(const std::string& name) override {
        m_bNote = name == kNoteMember;
        m_bTitle = m_bTitle || name == "title.txt";
    }
    std::string* DataTarget() override { return m_bNote ? &m_strNote : nullptr; }
    void OnMemberData(std::string&) override { m_bNoteRead = m_bNote || m_bNoteRead; }
    void OnCutShort() override { m_bCutShort = true; }

    std::string m_strNote;
    bool m_bNote = false;
    bool m_bNoteRead = false;
    bool m_bTitle = false;
    bool m_bCutShort = false;
};

}  // namespace

CRecoveryFile::CRecoveryFile(std::string folder) : m_strFolder(std::move(folder)) {
    if (m_strFolder.empty())
        return;
    char szToken[32];
    std::snprintf(szToken, sizeof(szToken), "%lx-%lx", ::GetCurrentProcessId(), ::GetTickCount());
    m_strPath = m_strFolder + "\\" + kFilePrefix + szToken + kFileSuffix;
    m_hRunning = ::CreateMutexA(nullptr, FALSE, (std::string(kMutexPrefix) + szToken).c_str());
}

CRecoveryFile::~CRecoveryFile() {
    if (m_hRunning != nullptr)
        ::CloseHandle(m_hRunning);
}

bool CRecoveryFile::Write(const Book& book, const Note& note) {
    // Without its mutex the file would look left behind to another program started meanwhile.
    if (m_strPath.empty() || m_hRunning == nullptr || book.chapterTitles.size() != book.chapterTexts.size())
        return false;
    for (size_t nSlash = m_strFolder.find('\\', 3); nSlash != std::string::npos; nSlash = m_strFolder.find('\\', nSlash + 1))
        ::CreateDirectoryA(m_strFolder.substr(0, nSlash).c_str(), nullptr);
    ::CreateDirectoryA(m_strFolder.c_str(), nullptr);
    char szTime[48];
    std::snprintf(szTime, sizeof(szTime), "%lu %lu", note.changed.dwHighDateTime, note.changed.dwLowDateTime);
    std::string strNote = note.docDir + "\n" + note.docName + "\n" + (note.untitled ? "1" : "0") + "\n" + szTime + "\n";
    std::unique_ptr<CRecoveryWriter> pWriter(new (std::nothrow) CRecoveryWriter);
    return pWriter != nullptr && pWriter->Write(m_strPath, book, strNote);
}

void CRecoveryFile::Remove() {
    if (!m_strPath.empty())
        ::DeleteFileA(m_strPath.c_str());
}

std::vector<std::string> CRecoveryFile::LeftBehind() const {
    std::vector<std::string> paths;
    if (m_strFolder.empty())
        return paths;
    WIN32_FIND_DATAA found;
    HANDLE hFind = ::FindFirstFileA((m_strFolder + "\\" + kFilePrefix + "*" + kFileSuffix).c_str(), &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return paths;
    const size_t nPrefix = std::strlen(kFilePrefix);
    const size_t nSuffix = std::strlen(kFileSuffix);
    do {
        std::string name = found.cFileName;
        std::string path = m_strFolder + "\\" + name;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name.size() <= nPrefix + nSuffix || path == m_strPath)
            continue;
        std::string token = name.substr(nPrefix, name.size() - nPrefix - nSuffix);
        HANDLE hRunning = ::OpenMutexA(SYNCHRONIZE, FALSE, (kMutexPrefix + token).c_str());
        if (hRunning != nullptr)
            ::CloseHandle(hRunning);  // its program still runs
        else
            paths.push_back(path);
    } while (::FindNextFileA(hFind, &found));
    ::FindClose(hFind);
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool CRecoveryFile::Adopt(const std::string& path) {
    return !m_strPath.empty() && ::MoveFileExA(path.c_str(), m_strPath.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
}

bool CRecoveryFile::ReadNote(const std::string& path, Note& note) {
    CNoteReader reader;
    CContainerReader walk(CFileSystem::Active());
    if (!walk.Walk(path.c_str(), reader) || !walk.Problem().empty() || reader.m_bCutShort || !reader.m_bTitle ||
        !reader.m_bNoteRead)
        return false;
    std::vector<std::string> lines;
    size_t nStart = 0;
    for (size_t nEnd; (nEnd = reader.m_strNote.find('\n', nStart)) != std::string::npos; nStart = nEnd + 1)
        lines.push_back(reader.m_strNote.substr(nStart, nEnd - nStart));
    if (lines.size() != 4 || lines[1].empty() || (lines[2] != "0" && lines[2] != "1"))
        return false;
    unsigned long nHigh = 0;
    unsigned long nLow = 0;
    if (std::sscanf(lines[3].c_str(), "%lu %lu", &nHigh, &nLow) != 2)
        return false;
    note.docDir = lines[0];
    note.docName = lines[1];
    note.untitled = lines[2] == "1";
    note.changed.dwHighDateTime = DWORD(nHigh);
    note.changed.dwLowDateTime = DWORD(nLow);
    return true;
}

std::string CRecoveryFile::DefaultFolder() {
    char szFolder[MAX_PATH] = {};
    DWORD nLength = ::GetEnvironmentVariableA("LOCALAPPDATA", szFolder, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH) {
        if (::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, szFolder) != S_OK)
            return std::string();
    }
    return std::string(szFolder) + "\\" QB_PRODUCT_NAME "\\Recovery";
}
