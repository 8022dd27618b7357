#include "TextCorpus.h"

#include <cstdio>

namespace {

const char kUtf8[] = "Caf\xC3\xA9 \xE2\x82\xAC" "5\nStar \xE2\x98\x85\xE2\x98\x85\r\nend";
// The start of a Windows program.
const char kBinary[] = "MZ\x90\0\3\0\0\0\4\0\0\0\xFF\xFF\0\0\xB8\0\0\0\0\0\0\0\x40\0\0\0\1\2\3";
const char kAnsi[] = "Caf\xE9 \x80" "5\r\nStar \r\nend";

std::string Utf16(bool bBigEndian, bool bBom) {
    // The same characters as kUtf8, one code unit each.
    const char16_t units[] = u"Caf\u00E9 \u20AC5\nStar \u2605\u2605\r\nend";
    std::string bytes;
    auto put = [&](char16_t unit) {
        char hi = char(unit >> 8), lo = char(unit & 0xFF);
        bytes += bBigEndian ? hi : lo;
        bytes += bBigEndian ? lo : hi;
    };
    if (bBom)
        put(0xFEFF);
    for (const char16_t* p = units; *p != 0; ++p)
        put(*p);
    return bytes;
}

}  // namespace

const std::vector<STextSample>& TextCorpus() {
    static const std::vector<STextSample> corpus = {
        {"utf8.txt", kUtf8, kAnsi, false, 2},
        {"utf8-bom.txt", std::string("\xEF\xBB\xBF") + kUtf8, kAnsi, false, 2},
        {"utf16le-bom.txt", Utf16(false, true), kAnsi, false, 2},
        {"utf16be-bom.txt", Utf16(true, true), kAnsi, false, 2},
        {"utf16le.txt", Utf16(false, false), kAnsi, false, 2},
        {"utf16be.txt", Utf16(true, false), kAnsi, false, 2},
        // Already in the book's code page: byte for byte, line breaks included.
        {"cp1252.txt", "Caf\xE9 \x80" "5 \x93quoted\x94\nend\r\n", "Caf\xE9 \x80" "5 \x93quoted\x94\nend\r\n", false, 0},
        {"latin1.txt", "\xE0 la \xE9t\xE9, \xF1" "and\xFA \xFF\xA0\xBF\n", "\xE0 la \xE9t\xE9, \xF1" "and\xFA \xFF\xA0\xBF\n",
         false, 0},
        {"ascii.txt", "plain\nascii\r\ntext", "plain\nascii\r\ntext", false, 0},
        {"binary.txt", std::string(kBinary, sizeof(kBinary) - 1), "", true, 0},
    };
    return corpus;
}

bool CLatin1TestCodePage::Encode(char32_t ch, std::string& bytes) const {
    bytes.clear();
    if (ch < 0x100) {
        bytes += char(ch);
        return true;
    }
    if (ch == U'\u0142')
        bytes = "l";
    else if (ch == U'\u2026')
        bytes = "...";
    return false;
}

std::u32string CLatin1TestCodePage::Decode(const std::string& bytes) const {
    std::u32string text;
    for (char c : bytes)
        text += char32_t(static_cast<unsigned char>(c));
    return text;
}

std::string SampleNovel(int nChapters, std::size_t nChapterBytes, const char* headings, const char* lineBreak) {
    static const char* const kSentences[] = {
        "The rain had not stopped since the morning the letter came.",
        "Chapter and verse, she said, were what the lawyers wanted; she had neither.",
        "Nobody in the village remembered the house being empty for so long.",
        "He counted the steps twice, as his father had taught him, and still lost his way.",
    };
    std::string text = std::string("THE LONG WINTER") + lineBreak + lineBreak + "A novel" + lineBreak + lineBreak;
    for (int chapter = 1; chapter <= nChapters; ++chapter) {
        char heading[128];
        std::snprintf(heading, sizeof heading, headings, chapter);
        text += std::string(heading) + lineBreak + lineBreak;
        std::size_t nStart = text.size();
        for (int sentence = chapter; text.size() - nStart < nChapterBytes; ++sentence) {
            text += kSentences[sentence % 4];
            text += sentence % 5 == 0 ? std::string(lineBreak) + lineBreak : std::string(" ");
        }
        text += lineBreak;
        text += lineBreak;
    }
    return text;
}
