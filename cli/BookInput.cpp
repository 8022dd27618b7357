#include "BookInput.h"

#include <cerrno>
#include <memory>

#include "Files.h"
#include "Report.h"

namespace {

typedef std::unique_ptr<std::FILE, int (*)(std::FILE*)> FilePtr;

}  // namespace

CBookInput::~CBookInput() {
    if (m_bScratch)
        RemoveFile(m_strPath);
}

int CBookInput::Open(const std::string& name) {
    if (name == "-") {
        m_strName = "standard input";
        UseBinaryMode(stdin);
        return CopyToScratch(stdin);
    }
    m_strName = name;
    FileStatus status = StatusOf(name);
    if (status.kind == FileKind::kMissing)
        return FailOn(name, ErrorText(status.error));
    if (status.kind == FileKind::kDirectory)
        return FailOn(name, ErrorText(EISDIR));
    if (status.kind == FileKind::kRegular) {
        m_strPath = name;
        return 0;
    }
    FilePtr file(OpenFile(name, "rb"), std::fclose);
    return file ? CopyToScratch(file.get()) : FailOn(name, ErrorText(errno));
}

int CBookInput::CopyToScratch(std::FILE* from) {
    FilePtr scratch(CreateScratchFile(m_strPath), std::fclose);
    if (!scratch)
        return FailOn(m_strName, "cannot make a temporary copy: " + ErrorText(errno));
    m_bScratch = true;
    char buffer[64 * 1024];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, from)) > 0) {
        if (std::fwrite(buffer, 1, count, scratch.get()) != count)
            return FailOn(m_strName, "cannot make a temporary copy: " + ErrorText(errno));
    }
    if (std::ferror(from))
        return FailOn(m_strName, ErrorText(errno));
    if (std::fclose(scratch.release()) != 0)
        return FailOn(m_strName, "cannot make a temporary copy: " + ErrorText(errno));
    return 0;
}
