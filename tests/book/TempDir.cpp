#include "TempDir.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "TestFiles.h"

namespace fs = std::filesystem;

CTempDir::CTempDir() {
    static std::atomic<unsigned> counter(0);
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() /
                             ("qbtest-" + std::to_string(random()) + "-" + std::to_string(++counter));
        if (fs::create_directory(candidate)) {
            m_strPath = candidate.string();
            return;
        }
    }
    throw std::runtime_error("no temporary directory");
}

CTempDir::~CTempDir() {
    std::error_code error;
    fs::permissions(m_strPath, fs::perms::owner_all, fs::perm_options::add, error);
    // Read-only files and folders at any depth, which a test may have made, must go too.
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(m_strPath, error))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(m_strPath, error);
}

std::string CTempDir::Path(const std::string& name) const {
    return (fs::path(m_strPath) / name).string();
}

std::vector<std::string> CTempDir::Names() const {
    return FolderNames(m_strPath);
}
