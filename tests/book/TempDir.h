#pragma once

#include <string>
#include <vector>

// A fresh directory for one test, removed with everything in it afterwards.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Root() const { return m_strPath; }
    std::string Path(const std::string& name) const;
    // Names of the files in the directory, sorted.
    std::vector<std::string> Names() const;

private:
    std::string m_strPath;
};
