// The word wrap of the table of contents as a pure function, with made-up character widths.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "ContentsListBox.h"

namespace {

using Record = CContentsListBox::LineRecord;

// Every character one pixel wide, unless a width is given for it.
struct Widths {
    std::vector<int> table;
    mutable long long nCalls = 0;

    explicit Widths(int nDefault = 1) : table(256, nDefault) {}
    CContentsListBox::CharWidthFn Fn() const {
        return [this](unsigned char c) {
            ++nCalls;
            return table[c];
        };
    }
};

// The lines of a wrapped title, as text.
std::vector<std::string> Wrap(const std::string& title, int nWidth, const Widths& widths = Widths()) {
    Record record{};
    int nLines = CContentsListBox::WrapTitle(title, nWidth, widths.Fn(), record);
    EXPECT_EQ(record[0], nLines);
    std::vector<std::string> lines;
    size_t nStart = 0;
    for (int k = 1; k <= nLines; ++k) {
        lines.push_back(title.substr(nStart, size_t(record[size_t(k)])));
        nStart += size_t(record[size_t(k)]);
    }
    return lines;
}

using Lines = std::vector<std::string>;

TEST(WrapTest, EmptyTitleIsOneEmptyLine) {
    EXPECT_EQ(Wrap("", 50), Lines{""});
    EXPECT_EQ(Wrap("", -3), Lines{""});
    EXPECT_EQ(Wrap("", 0), Lines{""});
}

TEST(WrapTest, TitleThatFitsIsOneLine) {
    EXPECT_EQ(Wrap("Chapter One", 11), Lines{"Chapter One"});  // exactly the width
    EXPECT_EQ(Wrap("Chapter One", 500), Lines{"Chapter One"});
}

TEST(WrapTest, NegativeWidthPutsTheWholeTitleOnOneLineWithoutMeasuring) {
    Widths widths;
    std::string title(300, 'x');
    EXPECT_EQ(Wrap(title, -1, widths), Lines{title});
    EXPECT_EQ(Wrap("a b c", -4, widths), Lines{"a b c"});
    EXPECT_EQ(widths.nCalls, 0);
}

TEST(WrapTest, LongWordBreaksAtTheFirstCharacterThatDoesNotFit) {
    EXPECT_EQ(Wrap("abcdefghij", 3), (Lines{"abc", "def", "ghi", "j"}));
    Widths widths;
    widths.table['M'] = 5;
    // a(1) b(2) M(7) does not fit in 6: the word breaks before M, and again before d.
    EXPECT_EQ(Wrap("abMcd", 6, widths), (Lines{"ab", "Mc", "d"}));
}

TEST(WrapTest, SecondWordWrapsAfterTheSpace) {
    EXPECT_EQ(Wrap("ab cd", 4), (Lines{"ab ", "cd"}));
    EXPECT_EQ(Wrap("Alpha Omega", 8), (Lines{"Alpha ", "Omega"}));
    // The first word stays whole on its line even when the next one would partly fit.
    EXPECT_EQ(Wrap("one two three", 9), (Lines{"one two ", "three"}));
}

TEST(WrapTest, SpacesOverhangAndStayOnTheirLine) {
    EXPECT_EQ(Wrap("ab    cd", 2), (Lines{"ab    ", "cd"}));
    EXPECT_EQ(Wrap("ab   ", 2), Lines{"ab   "});  // trailing spaces never open a line
}

TEST(WrapTest, LeadingSpacesFormTheirOwnLineWhenTheWordDoesNotFit) {
    EXPECT_EQ(Wrap("  abc", 2), (Lines{"  ", "ab", "c"}));
    EXPECT_EQ(Wrap("  abc", 5), Lines{"  abc"});
}

TEST(WrapTest, TabsAndOtherBytesAreMeasuredLikePrintableCharacters) {
    Widths widths;
    widths.table['\t'] = 4;
    widths.table[0xE9] = 3;
    EXPECT_EQ(Wrap("a\tb", 5, widths), (Lines{"a\t", "b"}));  // the tab is no break
    EXPECT_EQ(Wrap("\xE9\xE9x", 6, widths), (Lines{"\xE9\xE9", "x"}));
}

TEST(WrapTest, MoreThanTenLinesAreCutAtTen) {
    std::string title;
    for (int i = 0; i < 15; ++i)
        title += "ab ";
    Record record{};
    EXPECT_EQ(CContentsListBox::WrapTitle(title, 3, Widths().Fn(), record), 10);
    EXPECT_EQ(record[0], 10);
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(record[size_t(k)], 3) << "line " << k;
}

TEST(WrapTest, ListNarrowerThanOneCharacterStillAdvancesAndStopsAtTenLines) {
    EXPECT_EQ(Wrap("abc", 0), (Lines{"a", "b", "c"}));
    Widths wide(8);
    EXPECT_EQ(Wrap("Chapter", 1, wide), (Lines{"C", "h", "a", "p", "t", "e", "r"}));
    EXPECT_EQ(Wrap("  x", 0), (Lines{"  ", "x"}));
    EXPECT_EQ(Wrap(std::string(500, 'z'), 0).size(), 10u);
}

TEST(WrapTest, WrapLineReportsWhetherTextIsLeft) {
    CContentsListBox::WrappedLine line = CContentsListBox::WrapLine("ab cd", 4, Widths().Fn());
    EXPECT_EQ(line.nLength, 3);
    EXPECT_FALSE(line.bLast);
    line = CContentsListBox::WrapLine("cd", 4, Widths().Fn());
    EXPECT_EQ(line.nLength, 2);
    EXPECT_TRUE(line.bLast);
    line = CContentsListBox::WrapLine("x", 0, Widths().Fn());
    EXPECT_EQ(line.nLength, 1);
    EXPECT_TRUE(line.bLast);
}

// Each character is measured at most twice (once on the line it did not fit, once on the next),
// so wrapping stays linear however the title is made.
TEST(WrapTest, MeasuresEachCharacterAtMostTwice) {
    struct Case {
        std::string title;
        int nWidth;
    };
    std::string words;
    for (int i = 0; i < 24; ++i)
        words += "word ";
    std::string spaces = "x" + std::string(5000, ' ') + "y";
    for (const Case& c : {Case{words, 30}, Case{words, 7}, Case{std::string(120, 'q'), 12}, Case{spaces, 3},
                          Case{std::string(200000, 'k'), INT_MAX}}) {
        Widths widths;
        Record record{};
        CContentsListBox::WrapTitle(c.title, c.nWidth, widths.Fn(), record);
        EXPECT_LE(widths.nCalls, 2 * static_cast<long long>(c.title.size())) << "width " << c.nWidth;
    }
}

}  // namespace
