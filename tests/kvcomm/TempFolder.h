// A fresh folder under the temporary directory, removed with everything in it at the end.
#ifndef TESTS_KVCOMM_TEMPFOLDER_H
#define TESTS_KVCOMM_TEMPFOLDER_H

#include <string>
#include <vector>

class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string operator/(const std::string& name) const { return m_strPath + "\\" + name; }

    static void MakeFolder(const std::string& path);
    static void WriteFile(const std::string& path, const std::string& bytes);
    static std::string ReadFile(const std::string& path);
    static bool Exists(const std::string& path);
    // Names of the entries of `folder`, sorted.
    static std::vector<std::string> List(const std::string& folder);
    // Deterministic bytes that differ from one position to the next.
    static std::string Bytes(size_t size, unsigned seed = 1);

private:
    static void Remove(const std::string& path);

    std::string m_strPath;
};

#endif
