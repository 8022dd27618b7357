#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Book.h"

namespace {

class BookModel : public ::testing::Test {
protected:
    // Each test gets a book of its own; the member table makes it too large for the stack.
    std::unique_ptr<CBook> m_pBook = std::make_unique<CBook>();
    CBook& m_book = *m_pBook;

    // Chapters written as "title:text" and joined by commas.
    std::string Chapters() {
        std::string all;
        for (int i = 0; i < m_book.ChapterCount(); ++i)
            all += (i > 0 ? "," : "") + m_book.ChapterTitle(i) + ":" + m_book.ChapterText(i);
        return all;
    }

    void MakeChapters(int count) {
        for (int i = 0; i < count; ++i) {
            m_book.SetChapterTitle(i, std::string(1, static_cast<char>('A' + i)));
            m_book.SetChapterText(i, std::string(1, static_cast<char>('a' + i)));
        }
    }
};

TEST(GlobalBook, ExistsEmptyBeforeAnyUse) {
    EXPECT_EQ(0, theBook.ChapterCount());
    EXPECT_EQ("", theBook.Author());
    EXPECT_EQ("", theBook.Title());
}

TEST_F(BookModel, EnsureChapterAppendsEmptyChaptersOnlyUpToTheIndex) {
    EXPECT_TRUE(m_book.EnsureChapter(0));
    EXPECT_EQ(":", Chapters());
    EXPECT_TRUE(m_book.EnsureChapter(0));
    EXPECT_EQ(1, m_book.ChapterCount());
    m_book.SetChapterText(0, "x");
    EXPECT_TRUE(m_book.EnsureChapter(5));
    EXPECT_EQ(":x,:,:,:,:,:", Chapters());
}

TEST_F(BookModel, WritingOrReadingBeyondTheEndGrowsTheBook) {
    m_book.SetChapterTitle(0, "T");
    m_book.SetChapterText(3, "abc");
    EXPECT_EQ("T:,:,:,:abc", Chapters());
    EXPECT_EQ("", m_book.ChapterText(5));
    EXPECT_EQ(6, m_book.ChapterCount());
    m_book.SetChapterTitle(7, "Z");
    EXPECT_EQ(8, m_book.ChapterCount());
    EXPECT_EQ("Z", m_book.ChapterTitle(7));
}

TEST_F(BookModel, ChapterTitleNeverGrowsTheBook) {
    MakeChapters(1);
    EXPECT_EQ("", m_book.ChapterTitle(1));
    EXPECT_EQ("", m_book.ChapterTitle(0xFFFFFFFFu));
    EXPECT_EQ(1, m_book.ChapterCount());
}

TEST_F(BookModel, IndexesBeyondTheChapterBoundFailWithoutTouchingTheBook) {
    MakeChapters(2);
    EXPECT_FALSE(m_book.EnsureChapter(CBook::kMaxChapters));
    EXPECT_FALSE(m_book.EnsureChapter(0xFFFFFFFFu));  // a negative index passed through
    m_book.SetChapterText(0xFFFFFFFFu, "x");
    m_book.SetChapterTitle(40000, "x");
    EXPECT_EQ("", m_book.ChapterText(0xFFFFFFFFu));
    EXPECT_EQ("A:a,B:b", Chapters());

    EXPECT_TRUE(m_book.EnsureChapter(CBook::kMaxChapters - 1));
    EXPECT_EQ(CBook::kMaxChapters, m_book.ChapterCount());
}

TEST_F(BookModel, InsertChapterAddsExactlyOneEmptyChapter) {
    m_book.InsertChapter(0);
    EXPECT_EQ(":", Chapters());

    m_book.Clear();
    MakeChapters(2);
    m_book.InsertChapter(0);
    EXPECT_EQ(":,A:a,B:b", Chapters());
    m_book.InsertChapter(3);
    EXPECT_EQ(":,A:a,B:b,:", Chapters());
    m_book.InsertChapter(2);
    EXPECT_EQ(":,A:a,:,B:b,:", Chapters());

    // Indexes the callers never pass still add one chapter and keep the others in order.
    m_book.InsertChapter(-1);
    m_book.InsertChapter(100);
    EXPECT_EQ(":,A:a,:,B:b,:,:,:", Chapters());
}

TEST_F(BookModel, DeleteChapterRemovesOneAndIgnoresIndexesOutOfRange) {
    m_book.DeleteChapter(0);
    EXPECT_EQ(0, m_book.ChapterCount());

    MakeChapters(3);
    m_book.DeleteChapter(3);
    m_book.DeleteChapter(static_cast<uint32_t>(-1));
    EXPECT_EQ("A:a,B:b,C:c", Chapters());
    m_book.DeleteChapter(1);
    EXPECT_EQ("A:a,C:c", Chapters());

    m_book.SetAuthor("au");
    m_book.SetTitle("ti");
    m_book.DeleteChapter(0);
    m_book.DeleteChapter(0);
    EXPECT_EQ(0, m_book.ChapterCount());
    EXPECT_EQ("au", m_book.Author());
    EXPECT_EQ("ti", m_book.Title());
}

TEST_F(BookModel, MovesExchangeNeighboursWithTitleAndTextTogether) {
    m_book.MoveChapterDown(0);
    m_book.MoveChapterUp(0);
    EXPECT_EQ(0, m_book.ChapterCount());

    MakeChapters(3);
    m_book.MoveChapterUp(0);
    m_book.MoveChapterUp(-1);
    m_book.MoveChapterUp(3);
    m_book.MoveChapterDown(2);
    m_book.MoveChapterDown(-1);
    EXPECT_EQ("A:a,B:b,C:c", Chapters());

    m_book.MoveChapterUp(1);
    EXPECT_EQ("B:b,A:a,C:c", Chapters());
    m_book.MoveChapterDown(1);
    EXPECT_EQ("B:b,C:c,A:a", Chapters());
    m_book.MoveChapterUp(2);
    EXPECT_EQ("B:b,A:a,C:c", Chapters());
}

TEST_F(BookModel, ContentSizeCountsEveryStringButTheLeftOutText) {
    m_book.SetAuthor("au");
    m_book.SetTitle("t");
    m_book.SetChapterTitle(0, "c1");
    m_book.SetChapterText(0, "abc");
    m_book.SetChapterText(1, "d");
    EXPECT_EQ(9u, m_book.ContentSize(-1));
    EXPECT_EQ(6u, m_book.ContentSize(0));
    EXPECT_EQ(8u, m_book.ContentSize(1));
    EXPECT_EQ(9u, m_book.ContentSize(2));
    EXPECT_EQ(2, m_book.ChapterCount());
}

TEST_F(BookModel, ClearEmptiesEverything) {
    m_book.SetAuthor("au");
    m_book.SetTitle("ti");
    MakeChapters(3);
    m_book.Clear();
    EXPECT_EQ("", m_book.Author());
    EXPECT_EQ("", m_book.Title());
    EXPECT_EQ(0, m_book.ChapterCount());
    EXPECT_EQ(0u, m_book.ContentSize(-1));
}

TEST_F(BookModel, StringsKeepEveryByte) {
    const std::string bytes("a\0b\r\n\xff", 6);
    m_book.SetAuthor(bytes);
    m_book.SetTitle(bytes);
    m_book.SetChapterTitle(0, bytes);
    m_book.SetChapterText(0, bytes);
    EXPECT_EQ(bytes, m_book.Author());
    EXPECT_EQ(bytes, m_book.Title());
    EXPECT_EQ(bytes, m_book.ChapterTitle(0));
    EXPECT_EQ(bytes, m_book.ChapterText(0));
}

}  // namespace

namespace {

TEST(TextCounts, WordsAreRunsBetweenWhiteSpaceAndLineBreaksAreNoCharacters) {
    struct Case {
        std::string text;
        uint64_t nWords, nChars;
    };
    const Case cases[] = {
        {"", 0, 0},
        {"   \r\n\t", 0, 4},
        {"one", 1, 3},
        {" two  words ", 2, 12},
        {"line\r\nbreaks\nsplit\rwords", 4, 20},
        {std::string("zero\0byte", 9), 1, 9},
        {"caf\xE9 na\xEFve", 2, 10},
        {"\fform\vfeed\x85\xA0", 2, 12},
    };
    for (const Case& c : cases) {
        STextCounts counts = CountText(c.text);
        EXPECT_EQ(counts.nWords, c.nWords) << c.text;
        EXPECT_EQ(counts.nChars, c.nChars) << c.text;
    }
    EXPECT_EQ(FormatCount(0), "0");
    EXPECT_EQ(FormatCount(999), "999");
    EXPECT_EQ(FormatCount(1204), "1,204");
    EXPECT_EQ(FormatCount(84310123), "84,310,123");
    EXPECT_EQ(FormatWords(1), "1 word");
}

TEST_F(BookModel, CountsFollowTheTextsAndLeaveOneChapterOut) {
    m_book.SetChapterText(0, "a b");
    m_book.SetChapterText(1, "c");
    m_book.SetChapterText(2, "d e f");
    EXPECT_EQ(m_book.TextCounts(-1).nWords, 6u);
    EXPECT_EQ(m_book.TextCounts(2).nWords, 3u);
    m_book.SetChapterText(1, "c c c");
    m_book.MoveChapterUp(2);
    m_book.DeleteChapter(0);
    EXPECT_EQ(m_book.ChapterCounts(0).nWords, 3u);
    EXPECT_EQ(m_book.TextCounts(-1).nWords, 6u);
    EXPECT_EQ(m_book.TextCounts(0).nChars, 5u);
}

}  // namespace
