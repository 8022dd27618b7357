// Cutting a text into chapters, the expressions that may pick the lines, and the natural order
// of chapter file names.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "ChapterSplitter.h"
#include "LinearRegex.h"
#include "NaturalOrder.h"
#include "TextCorpus.h"

namespace {

// "title|text" for each piece, joined by " / ".
std::string Pieces(const std::string& text, const SSplitRule& rule, const std::string& title = "Orig") {
    CChapterSplitter splitter;
    std::string why;
    EXPECT_TRUE(splitter.SetRule(rule, why)) << why;
    SSplitResult result = splitter.Split(text, title);
    if (result.status != SSplitResult::EStatus::Split)
        return result.status == SSplitResult::EStatus::NoMatch ? "no match" : "too much work";
    std::string all;
    for (const SChapterPiece& piece : result.pieces)
        all += (all.empty() ? "" : " / ") + piece.title + "|" + text.substr(piece.nBegin, piece.nEnd - piece.nBegin);
    return all;
}

SSplitRule Rule(const std::string& text, bool bKeep = true) {
    SSplitRule rule;
    std::string why;
    EXPECT_TRUE(CChapterSplitter::ParseRule(text, rule, why)) << why;
    rule.bKeepLines = bKeep;
    return rule;
}

TEST(ChapterSplit, EachRuleCutsWhereItShould) {
    struct Case {
        const char* rule;
        bool bKeep;
        std::string text;
        std::string pieces;
    } cases[] = {
        {"chapter", true, "Intro\r\nChapter 1\r\nOne.\r\nCHAPTER XII: Back\r\nTwo.",
         "Orig|Intro\r\n / Chapter 1|Chapter 1\r\nOne.\r\n / CHAPTER XII: Back|CHAPTER XII: Back\r\nTwo."},
        {"chapter", false, "Chapter 1\nOne.\n  Chapter 2 \nTwo.\n", "Chapter 1|One.\n / Chapter 2|Two.\n"},
        // Words that only begin like a heading, and headings in other cases, are prose.
        {"chapter", true, "Chapter and verse\nChapter Ivan\nchapter 3\nChapter 10a\nChapter\n", "no match"},
        {"markdown", false, "# Part One\nx\n## The Road\ny\n### deeper\n#no\n",
         "Part One|x\n / The Road|y\n### deeper\n#no\n"},
        {"separator", false, "a\n* * *\nSecond start\nb\n---\n\n  c\n**\n", "Orig|a\n / Second start|Second start\nb\n / c|\n  c\n**\n"},
        {"separator", true, "a\r\n~~~\r\nb", "Orig|a\r\n / b|~~~\r\nb"},
        {"blank:2", true, "\n\na\n\n\nb\n \t\n\nc\n\n", "Orig|\n\na\n\n\n / b|b\n \t\n\n / c|c\n\n"},
        {"blank:2", false, "a\n\n\nb", "Orig|a\n / b|b"},
        {"regex:^Part [0-9]+$", true, "x\nPart 1\ny\nPart 2 of 3\n", "Orig|x\n / Part 1|Part 1\ny\nPart 2 of 3\n"},
        {"regex:^\\s*(Book|Volume) \\w+", false, "pre\n Book One\n\tVolume II\nz", "Orig|pre\n / Book One| / Volume II|z"},
        // A lone CR is a line break too; a heading without text before it starts the first piece.
        {"regex:^=", true, "=a\r=b", "=a|=a\r / =b|=b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pieces, Pieces(c.text, Rule(c.rule, c.bKeep))) << c.rule << " on " << c.text;
}

TEST(ChapterSplit, ANovelSplitsIntoItsChaptersAndJoinsBackByteForByte) {
    std::string novel = SampleNovel(60, 10000);
    ASSERT_GT(novel.size(), 600000u);
    CChapterSplitter splitter;
    std::string why;
    ASSERT_TRUE(splitter.SetRule(Rule("chapter"), why));
    auto start = std::chrono::steady_clock::now();
    SSplitResult result = splitter.Split(novel, "The Long Winter");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ASSERT_EQ(61u, result.pieces.size());
    EXPECT_EQ("The Long Winter", result.pieces[0].title);
    EXPECT_EQ("Chapter 60", result.pieces[60].title);
    std::string joined;
    for (const SChapterPiece& piece : result.pieces)
        joined += novel.substr(piece.nBegin, piece.nEnd - piece.nBegin);
    EXPECT_EQ(novel, joined);

    // The same cut, made by an expression, and the headings of other novels.
    ASSERT_TRUE(splitter.SetRule(Rule("regex:^Chapter \\d+$"), why));
    EXPECT_EQ(61u, splitter.Split(novel, "T").pieces.size());
    for (const char* rule : {"markdown", "separator"}) {
        std::string other = SampleNovel(5, 3000, std::string(rule) == "markdown" ? "## %d." : "* * *", "\n");
        ASSERT_TRUE(splitter.SetRule(Rule(rule), why));
        EXPECT_EQ(6u, splitter.Split(other, "T").pieces.size()) << rule;
    }
}

TEST(ChapterSplit, TitlesAreOneTrimmedLineOfAtMostAHundredBytes) {
    std::string longLine = "Chapter 7 " + std::string(150, 'x');
    EXPECT_EQ("Orig|a\n / " + longLine.substr(0, 100) + "|" + longLine, Pieces("a\n" + longLine, Rule("chapter")));
    EXPECT_EQ("Orig|a\n / Orig|", Pieces("a\n#   \n", Rule("markdown", false)));
    std::string line = " \tx\ty  ";
    EXPECT_EQ("x y", CChapterSplitter::TitleOfLine(line.data(), line.data() + line.size()));
}

TEST(ChapterSplit, RulesAreReadAsQuireTakesThem) {
    struct Case {
        const char* text;
        const char* why;  // empty: taken
    } cases[] = {
        {"chapter", ""}, {"markdown", ""}, {"separator", ""}, {"blank:1", ""}, {"blank:999", ""},
        {"regex:a|b", ""}, {"blank:0", "blank:N needs a number of lines from 1 to 999"},
        {"blank:x", "blank:N needs a number of lines from 1 to 999"},
        {"blank:1000", "blank:N needs a number of lines from 1 to 999"},
        {"regex:", "the expression is empty"}, {"regex:(a", "a \"(\" without its \")\""},
        {"chapters", "unknown rule \"chapters\" (chapter, markdown, separator, blank:N or regex:EXPR)"},
    };
    for (const Case& c : cases) {
        SSplitRule rule;
        std::string why;
        EXPECT_EQ(*c.why == '\0', CChapterSplitter::ParseRule(c.text, rule, why)) << c.text;
        EXPECT_EQ(c.why, why) << c.text;
    }
}

TEST(LinearRegex, MatchesAsECMAScriptDoesOnOneLine) {
    struct Case {
        const char* expression;
        const char* line;
        bool bMatch;
    } cases[] = {
        {"abc", "xxabcxx", true},     {"^abc", "xabc", false},          {"abc$", "abcx", false},
        {"a.c", "a\tc", true},        {"a.c", "ac", false},             {"colou?r", "color", true},
        {"ab*c", "ac", true},         {"ab+c", "ac", false},            {"a{2,3}b", "aab", true},
        {"^a{2,3}b", "ab", false},    {"^a{2}$", "aaa", false},         {"a{2,}", "aaaa", true},
        {"[a-c]+x", "bbx", true},     {"^[^0-9]+$", "ab1", false},      {"[\\d-]", "-", true},
        {"\\bcat\\b", "a cat!", true}, {"\\bcat\\b", "concat", false},  {"\\Bcat", "concat", true},
        {"(one|two) three", "two three", true}, {"^(?:ab)+$", "ababa", false}, {"\\w+\\s\\d", "ab 4", true},
        {"\\D\\W\\S", "a!b", true},   {"\\x41\\t", "A\t", true},        {"a]b}", "a]b}", true},
        {"x{,2}", "x{,2}", true},     {"[]a]", "]", false},             {"(a*)*b", "aaab", true},
        {"", "anything", true},       {"a|", "zzz", true},              {"\\.", "a", false},
        {"[\\]]", "]", true},         {"[a\\-z]", "-", true},           {"\xE9t\xE9", "l'\xE9t\xE9", true},
    };
    for (const Case& c : cases) {
        CLinearRegex regex;
        std::string why;
        ASSERT_TRUE(regex.Compile(c.expression, false, why)) << c.expression << ": " << why;
        unsigned long long budget = 1000000;
        std::string line = c.line;
        EXPECT_EQ(c.bMatch ? CLinearRegex::EResult::Match : CLinearRegex::EResult::NoMatch,
                  regex.Search(line.data(), line.data() + line.size(), budget))
            << c.expression << " on " << c.line;
    }
    CLinearRegex caseless;
    std::string why;
    ASSERT_TRUE(caseless.Compile("^chapter [ivx]+$", true, why));
    unsigned long long budget = 1000;
    std::string line = "CHAPTER XIV";
    EXPECT_EQ(CLinearRegex::EResult::Match, caseless.Search(line.data(), line.data() + line.size(), budget));
}

TEST(LinearRegex, RefusesWhatItCannotMatchWithAReason) {
    struct Case {
        const char* expression;
        const char* why;
    } cases[] = {
        {"(a", "a \"(\" without its \")\""},          {"a)", "a \")\" without its \"(\""},
        {"[a", "a \"[\" without its \"]\""},          {"*a", "nothing to repeat"},
        {"a**", "nothing to repeat"},                 {"{2}", "nothing to repeat"},
        {"a{3,2}", "numbers out of order in {}"},     {"[z-a]", "a range out of order in []"},
        {"(a)\\1", "back-references cannot be used"}, {"a(?=b)", "look-ahead and look-behind cannot be used"},
        {"a\\", "a \"\\\" at the end"},               {"a{1001}", "a repeat count above 1000"},
        {"(a{1000}){1000}", "the expression is too long"},
        {"\\u20AC", "\\u cannot be used: the book's text is in its code page; type the character itself"},
    };
    for (const Case& c : cases) {
        CLinearRegex regex;
        std::string why;
        EXPECT_FALSE(regex.Compile(c.expression, false, why)) << c.expression;
        EXPECT_EQ(c.why, why) << c.expression;
    }
    std::string deep(101, '(');
    CLinearRegex regex;
    std::string why;
    EXPECT_FALSE(regex.Compile(deep + "a" + std::string(101, ')'), false, why));
    EXPECT_EQ("groups nested more than 100 deep", why);
}

// Expressions that make backtracking engines run for ages or overflow their stack stay quick, and
// a search that would take too long stops and says so instead of freezing the window.
TEST(LinearRegex, PathologicalExpressionsCannotHangOrCrash) {
    std::string line(100000, 'a');
    CChapterSplitter splitter;
    std::string why;
    for (const char* expression : {"^(a+)+$b", "(a|aa)*c", "(a*)*(b|c)", "^(a|a)*x"}) {
        SSplitRule rule;
        rule.kind = SSplitRule::EKind::Expression;
        rule.expression = expression;
        ASSERT_TRUE(splitter.SetRule(rule, why)) << expression;
        auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(SSplitResult::EStatus::NoMatch, splitter.Split("x\n" + line, "T").status) << expression;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << expression;
    }
    SSplitRule big;
    big.kind = SSplitRule::EKind::Expression;
    big.expression = "(a?){500}a{500}x";
    ASSERT_TRUE(splitter.SetRule(big, why));
    EXPECT_EQ(SSplitResult::EStatus::TooMuchWork, splitter.Split(std::string(600000, 'a'), "T").status);
}

TEST(NaturalOrder, NumbersCountByValue) {
    std::vector<std::string> names = {"ch10.txt", "ch2.txt", "ch1.txt", "Ch3.txt", "ch02.txt", "ch2b.txt",
                                      "appendix.txt", "ch9.txt", "ch100.txt", "ch007.txt"};
    SortNaturally(names);
    EXPECT_EQ((std::vector<std::string>{"Ch3.txt", "appendix.txt", "ch1.txt", "ch02.txt", "ch2.txt", "ch2b.txt",
                                        "ch007.txt", "ch9.txt", "ch10.txt", "ch100.txt"}),
              names);
    EXPECT_LT(CompareNaturally("a99999999999999999999", "a100000000000000000000"), 0);
}

}  // namespace
