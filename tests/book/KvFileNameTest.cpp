#include <gtest/gtest.h>

#include <string>

#include "KvFileName.h"

namespace {

TEST(KvFileName, AcceptsShortNamesOfTheAllowedCharacters) {
    for (const char* name : {"Chapter1.book", "notes-.book", "(1)_notes.book", "_", "()", "a", "A-_+.()9",
                             "C:\\Some Folder\\notes.book", "dir\\sub\\x.book"}) {
        EXPECT_TRUE(IsValidKelvraFileName(name)) << name;
    }
}

TEST(KvFileName, RefusesBadCharactersAndBadEnds) {
    for (const char* name : {"", "My Book.book", "-notes.book", "+notes.book", ".notes.book", "notes.book.",
                             "notes.book-", "notes.book+", "caf\xe9.book", "a/b.book", "tab\t.book",
                             "C:\\Some Folder\\", "C:\\dir\\bad name.book", "a\\-x.book"}) {
        EXPECT_FALSE(IsValidKelvraFileName(name)) << name;
    }
}

TEST(KvFileName, LimitsTheNameNotThePathTo31Bytes) {
    std::string name31 = std::string(26, 'n') + ".book";
    std::string name32 = std::string(27, 'n') + ".book";
    EXPECT_TRUE(IsValidKelvraFileName(name31.c_str()));
    EXPECT_FALSE(IsValidKelvraFileName(name32.c_str()));
    std::string longPath = "C:\\" + std::string(200, 'd') + "\\" + name31;
    EXPECT_TRUE(IsValidKelvraFileName(longPath.c_str()));
}

}  // namespace
