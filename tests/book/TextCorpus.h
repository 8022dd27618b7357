#pragma once

#include <string>
#include <vector>

#include "CodePage.h"

// Text files as people have them today, one per encoding, each with the bytes it must give in a
// book kept in code page 1252. The decoded ones say "Café €5", then "Star ★★" (the star has no
// place in 1252 and is removed), then "end"; their lone LF becomes CR LF.
struct STextSample {
    const char* name;    // a file name for it, extension included
    std::string bytes;   // as the file holds them
    std::string ansi;    // in the book; empty for binary
    bool bBinary;
    std::size_t nLost;   // characters lost or replaced
};

const std::vector<STextSample>& TextCorpus();

// A code page like Latin-1 with a short best-fit table, the same on every platform: U+0000 to
// U+00FF are held as their own byte; "ł" becomes "l", "…" becomes "...", anything else is removed.
class CLatin1TestCodePage : public CCodePage {
public:
    unsigned Number() const override { return 28591; }
    bool Encode(char32_t ch, std::string& bytes) const override;
    std::u32string Decode(const std::string& bytes) const override;
};

// A novel as people keep one in a single file: a title page, then one heading line per chapter
// (`headings`, "%d" standing for the chapter's number) followed by paragraphs of prose with blank
// lines between them, about `nChapterBytes` a chapter, lines ended by `lineBreak`.
std::string SampleNovel(int nChapters, std::size_t nChapterBytes, const char* headings = "Chapter %d",
                        const char* lineBreak = "\r\n");
