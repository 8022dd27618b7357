// The copy of the book on screen that the program keeps while the book has unsaved changes, so that
// a crash does not cost them: a ".book" file in the user's local application data, written through
// the book's safe save, with a note of where the book belongs. Each running program has a file of
// its own, named by its process and start, and holds a named mutex of the same name while it runs:
// a file whose mutex is gone was left by a program that did not close normally.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CRecoveryFile {
public:
    // What the window shows. The texts are borrowed and must stay unchanged while Write runs.
    struct Book {
        std::string author;
        std::string title;
        std::vector<std::string> chapterTitles;
        std::vector<const std::string*> chapterTexts;
    };
    // Where the book belongs and when the user last changed it.
    struct Note {
        std::string docDir;
        std::string docName;
        bool untitled = true;
        FILETIME changed = {0, 0};
    };

    // An empty folder: no file is ever written.
    explicit CRecoveryFile(std::string folder);
    ~CRecoveryFile();
    CRecoveryFile(const CRecoveryFile&) = delete;
    CRecoveryFile& operator=(const CRecoveryFile&) = delete;

    const std::string& Path() const { return m_strPath; }
    // Replaces this program's file with the book; false when it could not be written, and the
    // file written before (if any) is then as it was. Nobody is told: the user's work goes on.
    bool Write(const Book& book, const Note& note);
    void Remove();
    // The files of programs that did not close normally, in name order.
    std::vector<std::string> LeftBehind() const;
    // Makes a file left behind this program's own.
    bool Adopt(const std::string& path);

    // The note of a file; false when the file is not a whole book with a note.
    static bool ReadNote(const std::string& path, Note& note);
    // The local application data folder's place for these files; empty when there is none.
    static std::string DefaultFolder();

private:
    std::string m_strFolder;
    std::string m_strPath;
    HANDLE m_hRunning = nullptr;
};
