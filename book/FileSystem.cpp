#include "FileSystem.h"

#include "StdFileSystem.h"

namespace {

CFileSystem& Standard() {
    static CStdFileSystem standard;
    return standard;
}

CFileSystem* g_active = nullptr;

}  // namespace

CFileSystem& CFileSystem::Active() {
    return g_active ? *g_active : Standard();
}

void CFileSystem::SetActive(CFileSystem* fileSystem) {
    g_active = fileSystem;
}
