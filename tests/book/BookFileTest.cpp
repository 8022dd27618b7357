#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Book.h"
#include "TempDir.h"
#include "TestContainer.h"
#include "TestFiles.h"

namespace {

class BookFile : public ::testing::Test {
protected:
    CTempDir m_dir;
    std::unique_ptr<CBook> m_pBook = std::make_unique<CBook>();
    CBook& m_book = *m_pBook;
    std::string m_strPath = m_dir.Path("b.book");

    std::string Save() {
        EXPECT_TRUE(m_book.SaveToFile(m_strPath.c_str()));
        return ReadBytes(m_strPath);
    }

    bool Load(const std::string& bytes) {
        WriteBytes(m_strPath, bytes);
        return m_book.LoadFromFile(m_strPath.c_str());
    }

    bool LoadMembers(const std::vector<TestMember>& members) { return Load(EncodeContainer(members)); }

    std::vector<std::string> Titles() {
        std::vector<std::string> titles;
        for (int i = 0; i < m_book.ChapterCount(); ++i)
            titles.push_back(m_book.ChapterTitle(i));
        return titles;
    }

    std::vector<std::string> Texts() {
        std::vector<std::string> texts;
        for (int i = 0; i < m_book.ChapterCount(); ++i)
            texts.push_back(m_book.ChapterText(i));
        return texts;
    }

    void ExpectEmptyBook() {
        EXPECT_EQ("", m_book.Author());
        EXPECT_EQ("", m_book.Title());
        EXPECT_EQ(0, m_book.ChapterCount());
    }
};

const std::string kZeros8(8, '\0');
const std::string kZeros100(100, '\0');

TEST_F(BookFile, EmptyBookIs183Bytes) {
    std::string expected = FromHex("4B 76 00 03 00 41") +
                           FromHex(
                               "00 24 00 00 00 47 00 00 00 09  00 31 00 00 00 50 00 00 00 65"
                               "00 3D 00 00 00 B5 00 00 00 02") +
                           std::string("bookmark.bin\0options.bin\0title.txt\0", 35) + '\0' + kZeros8 + '\0' +
                           kZeros100 + FromHex("00 0A");
    ASSERT_EQ(183u, expected.size());
    EXPECT_EQ(expected, Save());

    m_book.SetAuthor("left over");
    EXPECT_TRUE(m_book.LoadFromFile(m_strPath.c_str()));
    ExpectEmptyBook();
}

TEST_F(BookFile, OneChapterBookIs229Bytes) {
    m_book.SetAuthor("A");
    m_book.SetTitle("T");
    m_book.SetChapterTitle(0, "C");
    m_book.SetChapterText(0, "xy");
    std::string expected =
        FromHex("4B 76 00 05 00 68") +
        FromHex(
            "00 38 00 00 00 6E 00 00 00 09  00 45 00 00 00 77 00 00 00 65  00 51 00 00 00 DC 00 00 00 04"
            "00 5B 00 00 00 E0 00 00 00 02  00 68 00 00 00 E2 00 00 00 03") +
        std::string(
            "bookmark.bin\0options.bin\0title.txt\0contents.txt\0"
            "1.txt\0",
            54) +
        '\0' + kZeros8 + '\0' + kZeros100 + FromHex("00 41 0A 54  00 43  00 78 79");
    ASSERT_EQ(229u, expected.size());
    EXPECT_EQ(expected, Save());
    EXPECT_EQ("A", m_book.Author());  // saving leaves the book as it was
    EXPECT_EQ(std::vector<std::string>{"xy"}, Texts());
}

TEST_F(BookFile, SavedBytesFollowTheLayoutForAnyContent) {
    std::mt19937 random(11);
    auto bytes = [&random](std::size_t most) {
        std::string text;
        for (std::size_t n = random() % (most + 1); n > 0; --n)
            text += static_cast<char>(random() % 256);
        return text;
    };
    for (int round = 0; round < 20; ++round) {
        m_book.Clear();
        std::vector<std::string> titles, texts;
        for (uint32_t i = 0, count = static_cast<uint32_t>(random() % 6); i < count; ++i) {
            titles.push_back(bytes(10));
            texts.push_back(bytes(2000));
            m_book.SetChapterTitle(i, titles.back());
            m_book.SetChapterText(i, texts.back());
        }
        std::string author = bytes(20), title = bytes(20);
        m_book.SetAuthor(author);
        m_book.SetTitle(title);
        EXPECT_EQ(EncodeContainer(BookMembers(author, title, titles, texts)), Save());
    }
}

TEST_F(BookFile, RoundTripKeepsEveryByteThatTheLayoutCanCarry) {
    std::mt19937 random(5);
    auto bytes = [&random](std::size_t most, const std::string& without) {
        std::string text;
        for (std::size_t n = random() % (most + 1); n > 0; --n) {
            char c = static_cast<char>(random() % 256);
            if (without.find(c) == std::string::npos)
                text += c;
        }
        return text;
    };
    for (int round = 0; round < 20; ++round) {
        m_book.Clear();
        std::string author = bytes(30, "\r\n"), title = bytes(30, "\r\n");
        std::vector<std::string> titles, texts;
        for (uint32_t i = 0, count = static_cast<uint32_t>(random() % 8); i < count; ++i) {
            titles.push_back(bytes(20, std::string("\r\n")));
            texts.push_back(bytes(3000, ""));
            m_book.SetChapterTitle(i, titles.back() + (i % 2 ? "\r" : ""));  // a CR in a title is dropped
            m_book.SetChapterText(i, texts.back());
        }
        m_book.SetAuthor(author);
        m_book.SetTitle(title);
        Save();
        m_book.Clear();
        ASSERT_TRUE(m_book.LoadFromFile(m_strPath.c_str()));
        EXPECT_EQ(author, m_book.Author());
        EXPECT_EQ(title, m_book.Title());
        EXPECT_EQ(titles, Titles());
        EXPECT_EQ(texts, Texts());
    }
}

TEST_F(BookFile, ChaptersAreOptionalAndSoIsTheOptionsMember) {
    m_book.SetAuthor("a");
    std::string saved = Save();
    EXPECT_EQ(std::string::npos, saved.find("contents.txt"));
    ASSERT_TRUE(m_book.LoadFromFile(m_strPath.c_str()));
    EXPECT_EQ(0, m_book.ChapterCount());

    EXPECT_TRUE(LoadMembers({{"title.txt", "au\nti"}, {"bookmark.bin", kZeros8}}));
    EXPECT_EQ("au", m_book.Author());
    EXPECT_EQ("ti", m_book.Title());
}

TEST_F(BookFile, ChapterWithEmptyTitleHasAnEmptyContentsMember) {
    m_book.SetChapterText(0, "text");
    std::string saved = Save();
    EXPECT_EQ(EncodeContainer(BookMembers("", "", {""}, {"text"})), saved);
    ASSERT_TRUE(m_book.LoadFromFile(m_strPath.c_str()));
    EXPECT_EQ(std::vector<std::string>{""}, Titles());
    EXPECT_EQ(std::vector<std::string>{"text"}, Texts());
}

TEST_F(BookFile, LineBreaksFollowTheRulesOfEachMember) {
    m_book.SetAuthor("Ann\rBo");
    m_book.SetTitle("Ti\r\ntle\n");
    m_book.SetChapterTitle(0, "One\r");
    m_book.SetChapterText(0, "crlf\r\nlf\nlone cr\rtrailing\r\n\n");
    Save();
    ASSERT_TRUE(m_book.LoadFromFile(m_strPath.c_str()));
    EXPECT_EQ("Ann", m_book.Author());
    EXPECT_EQ("BoTitle", m_book.Title());
    EXPECT_EQ(std::vector<std::string>{"One"}, Titles());
    EXPECT_EQ(std::vector<std::string>{"crlf\r\nlf\nlone cr\rtrailing\r\n\n"}, Texts());

    EXPECT_TRUE(LoadMembers({{"bookmark.bin", kZeros8}, {"title.txt", "au\r\nti"}}));
    EXPECT_EQ("au", m_book.Author());
    EXPECT_EQ("ti", m_book.Title());
    EXPECT_TRUE(LoadMembers({{"bookmark.bin", kZeros8}, {"title.txt", "only author"}}));
    EXPECT_EQ("only author", m_book.Author());
    EXPECT_EQ("", m_book.Title());
}

TEST_F(BookFile, LineFeedInAChapterTitleMakesTheFileInvalid) {
    m_book.SetAuthor("a");
    m_book.SetChapterTitle(0, "two\nlines");
    Save();
    EXPECT_FALSE(m_book.LoadFromFile(m_strPath.c_str()));
    ExpectEmptyBook();
}

TEST_F(BookFile, VerdictNeedsTitleBookmarkAndOneMemberPerContentsTitle) {
    const TestMember bookmark{"bookmark.bin", kZeros8}, title{"title.txt", "a\nt"};
    EXPECT_TRUE(LoadMembers({bookmark, title, {"contents.txt", "x\ny"}, {"1.txt", "1"}, {"2.txt", "2"}}));
    EXPECT_FALSE(LoadMembers({title, {"contents.txt", "x"}, {"1.txt", "1"}}));
    ExpectEmptyBook();
    EXPECT_FALSE(LoadMembers({bookmark, {"contents.txt", "x"}, {"1.txt", "1"}}));
    ExpectEmptyBook();
    EXPECT_FALSE(LoadMembers({bookmark, title, {"contents.txt", "x\ny"}, {"1.txt", "1"}}));
    ExpectEmptyBook();
    EXPECT_FALSE(LoadMembers({bookmark, title, {"1.txt", "1"}}));
    // A trailing LF names one more, empty, title: valid only with a member for it.
    EXPECT_FALSE(LoadMembers({bookmark, title, {"contents.txt", "x\n"}, {"1.txt", "1"}}));
    EXPECT_TRUE(LoadMembers({bookmark, title, {"contents.txt", "x\n"}, {"1.txt", "1"}, {"2.txt", "2"}}));
    EXPECT_EQ((std::vector<std::string>{"x", ""}), Titles());

    EXPECT_FALSE(m_book.LoadFromFile(m_dir.Path("missing.book").c_str()));
    ExpectEmptyBook();
}

TEST_F(BookFile, MembersApplyInAnyOrderAndTextsAppend) {
    EXPECT_TRUE(LoadMembers({{"2.txt", "two"},
                             {"1.txt", "one"},
                             {"title.txt", "a\nt"},
                             {"contents.txt", "A\nB"},
                             {"bookmark.bin", kZeros8}}));
    EXPECT_EQ((std::vector<std::string>{"A", "B"}), Titles());
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), Texts());

    EXPECT_TRUE(LoadMembers({{"bookmark.bin", kZeros8},
                             {"title.txt", "a\nt"},
                             {"contents.txt", "A\nB"},
                             {"1.txt", "x"},
                             {"1.txt", "y"}}));
    EXPECT_EQ((std::vector<std::string>{"xy", ""}), Texts());
}

TEST_F(BookFile, ChapterNumbersCreateTheChaptersBetween) {
    EXPECT_TRUE(LoadMembers({{"bookmark.bin", kZeros8},
                             {"title.txt", "a\nt"},
                             {"contents.txt", "A\nB"},
                             {"1.txt", "one"},
                             {"5.txt", "five"}}));
    EXPECT_EQ((std::vector<std::string>{"A", "B", "", "", ""}), Titles());
    EXPECT_EQ((std::vector<std::string>{"one", "", "", "", "five"}), Texts());
}

TEST_F(BookFile, ChapterNameIsReadUpToItsLastDot) {
    const TestMember bookmark{"bookmark.bin", kZeros8}, title{"title.txt", "a\nt"};
    EXPECT_TRUE(LoadMembers({bookmark,
                             title,
                             {"contents.txt", "A\nB\nC"},
                             {"3.rtf", "r"},
                             {"3.x.txt", "x"},
                             {" +2z.txt", "two"}}));
    EXPECT_EQ((std::vector<std::string>{"", "two", "rx"}), Texts());

    // Without a dot, or without a positive number, a member is no chapter and is not counted.
    for (const char* name : {"nodot", "file.dat", ".txt", "0.txt", "-2.txt", "+.txt", "-0.txt"}) {
        EXPECT_TRUE(LoadMembers({bookmark, title, {"contents.txt", "A"}, {"1.txt", "one"}, {name, "?"}}))
            << name;
        EXPECT_EQ(std::vector<std::string>{"one"}, Texts()) << name;
    }
}

TEST_F(BookFile, SavesUpTo1895ChaptersAndLeavesTheFileAloneBeyond) {
    for (uint32_t i = 0; i < 1895; ++i)
        m_book.SetChapterText(i, "t");
    std::string saved = Save();
    EXPECT_EQ(FromHex("88 AA"), saved.substr(4, 2));  // 10 x 1899 + 15996
    ASSERT_TRUE(m_book.LoadFromFile(m_strPath.c_str()));
    EXPECT_EQ(1895, m_book.ChapterCount());

    m_book.SetChapterText(1895, "t");
    EXPECT_FALSE(m_book.SaveToFile(m_strPath.c_str()));
    EXPECT_EQ(saved, ReadBytes(m_strPath));
    EXPECT_FALSE(m_book.SaveToFile(m_dir.Path("new.book").c_str()));
    EXPECT_EQ(std::vector<std::string>{"b.book"}, m_dir.Names());

    // Nothing stays queued from the refused save.
    m_book.Clear();
    EXPECT_EQ(183u, Save().size());
}

}  // namespace
