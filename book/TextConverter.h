#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "CodePage.h"

// How text arrives: what the caller asks for (Auto, or one encoding forced) and what the bytes
// were read as (never Auto).
enum class ETextEncoding {
    Auto,     // detect (the request only)
    Ansi,     // already in the book's code page: passed through byte for byte
    Utf8,
    Utf16,    // the request only: the byte-order mark or the zero-byte pattern decides, else LE
    Utf16LE,
    Utf16BE,
    Binary,   // detection only: not text at all; nothing is converted
};

struct STextDetection {
    ETextEncoding encoding;
    bool bBom;  // the bytes start with that encoding's byte-order mark
};

// In this order: a byte-order mark (UTF-8, UTF-16 LE or BE); UTF-16 without a mark, recognised
// by the zero bytes of its mostly-Latin characters; binary (many zero bytes or control bytes that
// text does not hold); strict UTF-8 with at least one multi-byte sequence; anything else, pure
// ASCII included, is ANSI.
STextDetection DetectTextEncoding(const std::string& bytes);

// What bytes so detected are read as when `requested` is asked for: Auto takes the detection;
// Utf16 the byte order that the mark or the pattern gave, else little-endian; any other encoding
// is taken as asked, skipping its own byte-order mark. Never Auto or Utf16.
STextDetection ResolveEncoding(STextDetection detected, ETextEncoding requested);

// Utf8, Utf16LE and Utf16BE: the encodings that are decoded and converted.
bool IsDecoded(ETextEncoding encoding);

// A character that the code page could not keep exactly.
struct SLostCharacter {
    // As given: a lone surrogate stays itself; a malformed UTF-8 sequence or the odd last byte of
    // UTF-16 is U+FFFD.
    char32_t ch = 0;
    std::size_t nCount = 0;
    std::size_t nFirstLine = 0;   // 1-based line of the input
    std::string replacement;       // the code page's bytes that took its place; empty: removed
    std::u32string replacementText;  // the same, as Unicode, for showing
};

struct SConvertedText {
    std::string text;  // in the code page
    ETextEncoding encoding = ETextEncoding::Ansi;
    bool bBom = false;
    std::vector<SLostCharacter> lost;  // in the order they first appear

    // Every occurrence of every lost or replaced character.
    std::size_t LostCount() const;
};

// Brings text of any encoding into the book's code page. ANSI input (detected or forced) comes
// back byte for byte. Decoded text gets each character the code page holds; where it has none,
// the platform's closest replacement or nothing, and the character is listed. Characters below
// U+0080 are taken as the same byte: every code page the book can use is ASCII below 0x80.
class CTextConverter {
public:
    struct Options {
        ETextEncoding encoding = ETextEncoding::Auto;
        // LF and CR alone become CR LF in decoded text, as the editor writes line breaks.
        bool bCrLf = true;
    };

    explicit CTextConverter(const CCodePage& codePage);
    CTextConverter(const CCodePage& codePage, const Options& options);

    // Never throws for any bytes (only std::bad_alloc). Binary input (Auto only) gives an empty
    // text with the encoding Binary.
    SConvertedText Convert(const std::string& bytes) const;

private:
    const CCodePage& m_codePage;
    Options m_options;
};

// Decoded text that arrives in pieces, converted exactly as CTextConverter converts it whole:
// the same bytes and the same list of losses, wherever the pieces are cut. A file of any size is
// converted with a piece's worth of memory.
class CTextStream {
public:
    // `encoding`: one that IsDecoded; `bBom`: the first piece starts with its byte-order mark.
    CTextStream(const CCodePage& codePage, ETextEncoding encoding, bool bBom, bool bCrLf);
    ~CTextStream();
    CTextStream(const CTextStream&) = delete;
    CTextStream& operator=(const CTextStream&) = delete;

    // Appends the next piece's text to `out`; the bytes of a character cut at the piece's end wait
    // for the next piece.
    void Put(const char* data, std::size_t size, std::string& out);
    // After the last piece: what is left of a cut character, as Convert would end.
    void Finish(std::string& out);

    const std::vector<SLostCharacter>& Lost() const;
    std::vector<SLostCharacter> TakeLost();
    // UTF-8 only, so far: some bytes were no valid UTF-8; some character took more than one byte.
    // Together they tell what detection would say of the whole text.
    bool Malformed() const { return m_bMalformed; }
    bool MultiByte() const { return m_bMultiByte; }

private:
    struct SState;

    void Decode(const unsigned char* p, std::size_t size, std::string& out);

    std::unique_ptr<SState> m_state;
    ETextEncoding m_encoding;
    std::size_t m_nSkip;  // bytes of the byte-order mark still to skip
    std::string m_carry;
    bool m_bMalformed = false;
    bool m_bMultiByte = false;
};

// The character as UTF-8; nothing for a surrogate or a value beyond U+10FFFF.
std::string Utf8FromChar(char32_t ch);

// "U+2605"
std::string CodePointName(char32_t ch);

// The user's list of what was lost, in UTF-8, one character a line: "3 characters cannot be
// stored in a Kelvra book: ★ U+2605 (×2, line 4) → removed", then "ł U+0142 (×1, line 2) → l" on
// the next line. Empty when nothing was lost. At most `nMaxListed` characters are listed; a last
// line counts the rest.
std::string DescribeLosses(const SConvertedText& converted, std::size_t nMaxListed = 40);
