// Text of any encoding into the book's code page: detection, conversion, the list of losses,
// malformed input, line breaks, and the platform's own code page tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "SystemCodePage.h"
#include "TextConverter.h"
#include "TextCorpus.h"

namespace {

// "ch xN line L -> replacement" for each loss, joined by "; ".
std::string Losses(const SConvertedText& converted) {
    std::string all;
    for (const SLostCharacter& lost : converted.lost) {
        all += (all.empty() ? "" : "; ") + CodePointName(lost.ch) + " x" + std::to_string(lost.nCount) + " line " +
               std::to_string(lost.nFirstLine) + " -> " + lost.replacement;
    }
    return all;
}

SConvertedText Convert(const std::string& bytes,
                       ETextEncoding encoding = ETextEncoding::Auto,
                       bool bCrLf = true) {
    static const CLatin1TestCodePage codePage;
    CTextConverter::Options options;
    options.encoding = encoding;
    options.bCrLf = bCrLf;
    return CTextConverter(codePage, options).Convert(bytes);
}

TEST(TextConverter, CorpusGivesTheBookBytesInTheSystemCodePage) {
    std::unique_ptr<CCodePage> cp1252 = OpenCodePage(1252);
    ASSERT_TRUE(cp1252);
    for (const STextSample& sample : TextCorpus()) {
        SCOPED_TRACE(sample.name);
        SConvertedText converted = CTextConverter(*cp1252).Convert(sample.bytes);
        EXPECT_EQ(converted.encoding == ETextEncoding::Binary, sample.bBinary);
        EXPECT_EQ(converted.text, sample.ansi);
        EXPECT_EQ(converted.LostCount(), sample.nLost);
        if (sample.nLost != 0) {
            EXPECT_EQ(Losses(converted), "U+2605 x2 line 2 -> ");
        }
    }
}

TEST(TextConverter, DetectsEachEncoding) {
    struct Case {
        std::string bytes;
        ETextEncoding encoding;
        bool bBom;
    } cases[] = {
        {"", ETextEncoding::Ansi, false},
        {"plain ASCII\n", ETextEncoding::Ansi, false},
        {"na\xC3\xAFve", ETextEncoding::Utf8, false},
        {"\xEF\xBB\xBF", ETextEncoding::Utf8, true},
        {"\xFF\xFE", ETextEncoding::Utf16LE, true},
        {"\xFE\xFF", ETextEncoding::Utf16BE, true},
        {std::string("h\0i\0", 4), ETextEncoding::Utf16LE, false},
        {std::string("\0h\0i", 4), ETextEncoding::Utf16BE, false},
        // Not UTF-8: overlong, a surrogate, beyond U+10FFFF, cut short, a stray continuation byte.
        {"\xC0\xAF", ETextEncoding::Ansi, false},
        {"\xED\xA0\x80", ETextEncoding::Ansi, false},
        {"\xF4\x90\x80\x80", ETextEncoding::Ansi, false},
        {"ab\xE2\x98", ETextEncoding::Ansi, false},
        {"\x80 euro", ETextEncoding::Ansi, false},
        // One stray zero byte is text that the old import ended there; many are not text.
        {std::string("there\r\nfriend\0ignored", 21), ETextEncoding::Ansi, false},
        {std::string("\x7F" "ELF\2\1\1\0\0\0\0\0\0\0\0\0\3\0\x3E\0", 20), ETextEncoding::Binary, false},
        {"\x89PNG\r\n\x1A\n\x01\x02\x03\x04\x05\x06\x07\x08", ETextEncoding::Binary, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        STextDetection detected = DetectTextEncoding(c.bytes);
        EXPECT_EQ(detected.encoding, c.encoding);
        EXPECT_EQ(detected.bBom, c.bBom);
    }
}

TEST(TextConverter, MalformedInputGetsADefinedResult) {
    struct Case {
        const char* what;
        std::string bytes;
        ETextEncoding encoding;
        std::string text;
        std::string losses;
    } cases[] = {
        {"BOM alone", "\xEF\xBB\xBF", ETextEncoding::Auto, "", ""},
        {"UTF-16 BOM alone", "\xFE\xFF", ETextEncoding::Auto, "", ""},
        {"invalid UTF-8 without a mark is ANSI", "a\xC3(b", ETextEncoding::Auto, "a\xC3(b", ""},
        {"invalid UTF-8 after a mark", "\xEF\xBB\xBF" "a\xC3(\xE2\x82\nb\xFF", ETextEncoding::Auto, "a(\r\nb",
         "U+FFFD x3 line 1 -> "},
        {"odd byte count", std::string("\xFF\xFEh\0i\0!", 7), ETextEncoding::Auto, "hi", "U+FFFD x1 line 1 -> "},
        {"lone surrogates", std::string("\xFF\xFE\x00\xD8x\0\n\0\x00\xDC", 10), ETextEncoding::Auto, "x\r\n",
         "U+D800 x1 line 1 -> ; U+DC00 x1 line 2 -> "},
        {"high surrogate at the end", std::string("\0a\xD8\x3D", 4), ETextEncoding::Utf16BE, "a",
         "U+D83D x1 line 1 -> "},
        {"a pair is one character", std::string("\xFE\xFF\xD8\x3D\xDE\x00\x00!", 8), ETextEncoding::Auto, "!",
         "U+1F600 x1 line 1 -> "},
        {"forced UTF-8 on ANSI bytes", "caf\xE9", ETextEncoding::Utf8, "caf", "U+FFFD x1 line 1 -> "},
        {"forced ANSI keeps a mark's bytes", "\xEF\xBB\xBFok", ETextEncoding::Ansi, "\xEF\xBB\xBFok", ""},
        {"forced UTF-16 without a mark", std::string("o\0k\0", 4), ETextEncoding::Utf16, "ok", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SConvertedText converted = Convert(c.bytes, c.encoding);
        EXPECT_EQ(converted.text, c.text);
        EXPECT_EQ(Losses(converted), c.losses);
    }
}

TEST(TextConverter, LineBreaksAndLinesOfTheLosses) {
    const std::string utf8 = "a\nb\rc\r\n\r\n\xE2\x98\x85\n\xC5\x82\xE2\x98\x85";
    SConvertedText crlf = Convert(utf8);
    EXPECT_EQ(crlf.text, "a\r\nb\r\nc\r\n\r\n\r\nl");
    EXPECT_EQ(Losses(crlf), "U+2605 x2 line 5 -> ; U+0142 x1 line 6 -> l");
    SConvertedText asGiven = Convert(utf8, ETextEncoding::Auto, false);
    EXPECT_EQ(asGiven.text, "a\nb\rc\r\n\r\n\nl");
    EXPECT_EQ(Losses(asGiven), Losses(crlf));
    // ANSI text keeps its line breaks as they are.
    EXPECT_EQ(Convert("a\nb\r").text, "a\nb\r");
}

TEST(TextConverter, DescribesTheLossesForTheUser) {
    EXPECT_EQ(DescribeLosses(Convert("plain")), "");
    EXPECT_EQ(DescribeLosses(Convert("x\n\n\n\xE2\x98\x85\xE2\x98\x85 \xC5\x82\xE2\x80\xA6\x01")),
              "4 characters cannot be stored in a Kelvra book: \xE2\x98\x85 U+2605 (\xC3\x97" "2, line 4) "
              "\xE2\x86\x92 removed\n\xC5\x82 U+0142 (\xC3\x97" "1, line 4) \xE2\x86\x92 l\n\xE2\x80\xA6 U+2026 "
              "(\xC3\x97" "1, line 4) \xE2\x86\x92 ...");
    EXPECT_EQ(DescribeLosses(Convert("\xEF\xBB\xBF\xFF\xE2\x98\x85"), 1),
              "2 characters cannot be stored in a Kelvra book: U+FFFD (\xC3\x97" "1, line 1) \xE2\x86\x92 removed\n"
              "and 1 more");
}

// Pieces of any size, cut anywhere (inside a character, a mark, a surrogate pair, a CR LF), give
// what the whole text gives.
TEST(TextConverter, PiecesConvertAsTheWhole) {
    static const CLatin1TestCodePage codePage;
    std::vector<std::pair<std::string, ETextEncoding>> inputs;
    for (const STextSample& sample : TextCorpus()) {
        if (IsDecoded(DetectTextEncoding(sample.bytes).encoding))
            inputs.emplace_back(sample.bytes, ETextEncoding::Auto);
    }
    inputs.emplace_back("\xEF\xBB\xBF" "a\xC3(\xE2\x82\r\nb\xF0\x9F\x98\x80\xFF\xE2\x98", ETextEncoding::Utf8);
    inputs.emplace_back(std::string("\xFF\xFE\x3D\xD8\x00\xDE\x00\xD8x\0\r\0\n\0\x00\xDC!", 17), ETextEncoding::Utf16);
    inputs.emplace_back(std::string("\xFE\xFF\xD8\x3D\xDE\x00\0\r\xD8\x3D", 10), ETextEncoding::Auto);
    inputs.emplace_back("\xEF\xBB\xBF" "xy", ETextEncoding::Utf16);  // no UTF-16 mark to skip
    for (const auto& input : inputs) {
        SCOPED_TRACE(::testing::PrintToString(input.first));
        for (bool bCrLf : {true, false}) {
            SConvertedText whole = Convert(input.first, input.second, bCrLf);
            ASSERT_TRUE(IsDecoded(whole.encoding));
            for (std::size_t piece = 1; piece <= 5; ++piece) {
                CTextStream stream(codePage, whole.encoding, whole.bBom, bCrLf);
                std::string text;
                for (std::size_t pos = 0; pos < input.first.size(); pos += piece)
                    stream.Put(input.first.data() + pos, std::min(piece, input.first.size() - pos), text);
                stream.Finish(text);
                SConvertedText pieces;
                pieces.lost = stream.TakeLost();
                EXPECT_EQ(text, whole.text) << piece;
                EXPECT_EQ(Losses(pieces), Losses(whole)) << piece;
            }
        }
    }
}

// The platform's tables: what 1252 holds exactly, what it replaces, what it cannot hold.
TEST(TextConverter, SystemCodePageTables) {
    std::unique_ptr<CCodePage> cp1252 = OpenCodePage(1252);
    ASSERT_TRUE(cp1252);
    EXPECT_EQ(cp1252->Number(), 1252u);
    struct Case {
        char32_t ch;
        bool bExact;
        std::string bytes;
    } cases[] = {
        {U'\u00E9', true, "\xE9"},
        {U'\u20AC', true, "\x80"},
        {U'\u201C', true, "\x93"},
        {U'\u2605', false, ""},
        {U'\U0001F600', false, ""},
#ifdef _WIN32
        {U'\u0142', false, "l"},  // the platform's best fit
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CodePointName(c.ch));
        std::string bytes;
        EXPECT_EQ(cp1252->Encode(c.ch, bytes), c.bExact);
        EXPECT_EQ(bytes, c.bytes);
    }
    EXPECT_EQ(cp1252->Decode("\x80\xE9" "a"), U"\u20AC\u00E9a");
    EXPECT_FALSE(OpenCodePage(99999));
}

}  // namespace
