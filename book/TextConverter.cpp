#include "TextConverter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

namespace {

constexpr char32_t kReplacementChar = 0xFFFD;

bool StartsWith(const std::string& bytes, const char* prefix, std::size_t n) {
    return bytes.size() >= n && bytes.compare(0, n, prefix, n) == 0;
}

bool IsSurrogate(char32_t ch) {
    return ch >= 0xD800 && ch <= 0xDFFF;
}

// Reads one UTF-8 character at `pos` and moves past it. A malformed or cut sequence (overlong
// forms, surrogates and values beyond U+10FFFF included) gives U+FFFD and moves past its lead
// byte and whatever continuation bytes it had, so that nothing is read twice.
char32_t NextUtf8(const unsigned char* p, std::size_t size, std::size_t& pos, bool& bMalformed) {
    unsigned char lead = p[pos++];
    if (lead < 0x80)
        return lead;
    int nMore;
    char32_t ch;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        nMore = 1, ch = lead & 0x1Fu, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        nMore = 2, ch = lead & 0x0Fu, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        nMore = 3, ch = lead & 0x07u, minimum = 0x10000;
    } else {
        bMalformed = true;
        return kReplacementChar;
    }
    for (int i = 0; i < nMore; ++i) {
        if (pos >= size || (p[pos] & 0xC0) != 0x80) {
            bMalformed = true;
            return kReplacementChar;
        }
        ch = (ch << 6) | (p[pos++] & 0x3Fu);
    }
    if (ch < minimum || ch > 0x10FFFF || IsSurrogate(ch)) {
        bMalformed = true;
        return kReplacementChar;
    }
    return ch;
}

// Valid UTF-8 with at least one multi-byte character; pure ASCII is left to ANSI.
bool IsStrictUtf8(const std::string& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    bool bMultiByte = false;
    bool bMalformed = false;
    for (std::size_t pos = 0; pos < bytes.size() && !bMalformed;) {
        if (p[pos] < 0x80) {
            ++pos;
            continue;
        }
        bMultiByte = true;
        NextUtf8(p, bytes.size(), pos, bMalformed);
    }
    return bMultiByte && !bMalformed;
}

// Latin text in UTF-16 has a zero in the high byte of most characters (letters, digits, spaces,
// punctuation) and almost never in the low byte.
ETextEncoding Utf16ByZeros(const std::string& bytes) {
    std::size_t nPairs = bytes.size() / 2;
    if (nPairs == 0)
        return ETextEncoding::Ansi;
    std::size_t nEvenZeros = 0;
    std::size_t nOddZeros = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        nEvenZeros += bytes[i] == '\0';
        nOddZeros += bytes[i + 1] == '\0';
    }
    if (nOddZeros * 4 >= nPairs && nEvenZeros * 20 <= nOddZeros)
        return ETextEncoding::Utf16LE;
    if (nEvenZeros * 4 >= nPairs && nOddZeros * 20 <= nEvenZeros)
        return ETextEncoding::Utf16BE;
    return ETextEncoding::Ansi;
}

// Text holds no zero bytes (one stray zero is tolerated: the old import simply ended there) and
// hardly any control bytes but tab, line breaks, form feed, escape and the old end-of-file mark.
bool LooksBinary(const std::string& bytes) {
    // Counted through a table: branches on the bytes of a binary file are mispredicted half the
    // time, and pack looks at thousands of heads.
    static const struct SControls {
        SControls() {
            for (int b = 1; b < 0x20; ++b)
                bControl[b] = b != '\t' && b != '\n' && b != '\v' && b != '\f' && b != '\r' && b != 0x1A && b != 0x1B;
            bControl[0x7F] = 1;
        }
        unsigned char bControl[256] = {};
    } kControls;
    std::size_t nZeros = 0;
    std::size_t nControls = 0;
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        nZeros += b == 0;
        nControls += kControls.bControl[b];
    }
    return (nZeros + nControls) * 16 > bytes.size() || (nZeros >= 2 && nZeros * 100 > bytes.size());
}

// Reads decoded characters one by one and writes them in the code page, keeping the list of
// losses. Each distinct character beyond ASCII is asked of the code page once.
class CEncoder {
public:
    CEncoder(const CCodePage& codePage, bool bCrLf) : m_codePage(codePage), m_bCrLf(bCrLf) {}

    // Where the next characters go.
    void Into(std::string& text) { m_pText = &text; }
    std::vector<SLostCharacter>& Lost() { return m_lost; }
    const std::vector<SLostCharacter>& Lost() const { return m_lost; }

    void Put(char32_t ch) {
        std::string& text = *m_pText;
        if (ch == '\r' || ch == '\n') {
            bool bSecondOfPair = ch == '\n' && m_bAfterCr;
            m_bAfterCr = ch == '\r';
            if (bSecondOfPair) {
                if (!m_bCrLf)
                    text += '\n';
                return;
            }
            ++m_nLine;
            text += m_bCrLf ? "\r\n" : std::string(1, char(ch));
            return;
        }
        m_bAfterCr = false;
        if (ch < 0x80) {
            text += char(ch);
            return;
        }
        Entry& entry = Lookup(ch);
        text += entry.bytes;
        if (entry.nLost != kExact) {
            SLostCharacter& lost = m_lost[entry.nLost];
            if (lost.nCount++ == 0)
                lost.nFirstLine = m_nLine;
        }
    }

private:
    static constexpr std::size_t kExact = ~std::size_t(0);

    struct Entry {
        std::string bytes;
        std::size_t nLost = kExact;  // index in the list of losses
    };

    Entry& Lookup(char32_t ch) {
        auto found = m_cache.find(ch);
        if (found != m_cache.end())
            return found->second;
        Entry entry;
        // Malformed input and lone surrogates have no character to give the code page.
        bool bExact = ch != kReplacementChar && !IsSurrogate(ch) && m_codePage.Encode(ch, entry.bytes);
        if (!bExact) {
            if (ch == kReplacementChar || IsSurrogate(ch))
                entry.bytes.clear();
            SLostCharacter lost;
            lost.ch = ch;
            lost.replacement = entry.bytes;
            if (!entry.bytes.empty())
                lost.replacementText = m_codePage.Decode(entry.bytes);
            entry.nLost = m_lost.size();
            m_lost.push_back(std::move(lost));
        }
        return m_cache.emplace(ch, std::move(entry)).first->second;
    }

    const CCodePage& m_codePage;
    bool m_bCrLf;
    std::string* m_pText = nullptr;
    std::vector<SLostCharacter> m_lost;
    std::unordered_map<char32_t, Entry> m_cache;
    std::size_t m_nLine = 1;
    bool m_bAfterCr = false;
};

// How many bytes a UTF-8 sequence takes, by its first byte; 1 for a byte that starts none.
std::size_t Utf8Length(unsigned char lead) {
    return lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 1;
}

std::size_t BomLength(ETextEncoding encoding) {
    return encoding == ETextEncoding::Utf8 ? 3 : 2;
}

}  // namespace

STextDetection DetectTextEncoding(const std::string& bytes) {
    if (StartsWith(bytes, "\xEF\xBB\xBF", 3))
        return {ETextEncoding::Utf8, true};
    if (StartsWith(bytes, "\xFF\xFE", 2))
        return {ETextEncoding::Utf16LE, true};
    if (StartsWith(bytes, "\xFE\xFF", 2))
        return {ETextEncoding::Utf16BE, true};
    ETextEncoding utf16 = Utf16ByZeros(bytes);
    if (utf16 != ETextEncoding::Ansi)
        return {utf16, false};
    if (LooksBinary(bytes))
        return {ETextEncoding::Binary, false};
    if (IsStrictUtf8(bytes))
        return {ETextEncoding::Utf8, false};
    return {ETextEncoding::Ansi, false};
}

std::size_t SConvertedText::LostCount() const {
    std::size_t nTotal = 0;
    for (const SLostCharacter& character : lost)
        nTotal += character.nCount;
    return nTotal;
}

CTextConverter::CTextConverter(const CCodePage& codePage) : CTextConverter(codePage, Options()) {}

CTextConverter::CTextConverter(const CCodePage& codePage, const Options& options)
    : m_codePage(codePage), m_options(options) {}

STextDetection ResolveEncoding(STextDetection detected, ETextEncoding requested) {
    switch (requested) {
        case ETextEncoding::Auto:
            break;
        case ETextEncoding::Utf16:
            // The mark or the pattern may tell the byte order; little-endian is Windows' own.
            detected.bBom = detected.bBom && detected.encoding != ETextEncoding::Utf8;
            if (detected.encoding != ETextEncoding::Utf16BE)
                detected.encoding = ETextEncoding::Utf16LE;
            break;
        default:
            // A forced encoding still skips its own byte-order mark.
            detected.bBom = detected.bBom && detected.encoding == requested;
            detected.encoding = requested;
            break;
    }
    if (detected.encoding != ETextEncoding::Binary && !IsDecoded(detected.encoding))
        detected.encoding = ETextEncoding::Ansi;
    return detected;
}

bool IsDecoded(ETextEncoding encoding) {
    return encoding == ETextEncoding::Utf8 || encoding == ETextEncoding::Utf16LE || encoding == ETextEncoding::Utf16BE;
}

struct CTextStream::SState {
    SState(const CCodePage& codePage, bool bCrLf) : encoder(codePage, bCrLf) {}
    CEncoder encoder;
};

CTextStream::CTextStream(const CCodePage& codePage, ETextEncoding encoding, bool bBom, bool bCrLf)
    : m_state(new SState(codePage, bCrLf)),
      m_encoding(encoding),
      m_nSkip(bBom ? BomLength(encoding) : 0) {}

CTextStream::~CTextStream() = default;

void CTextStream::Put(const char* data, std::size_t size, std::string& out) {
    std::string joined;
    if (!m_carry.empty()) {
        joined = std::move(m_carry);
        joined.append(data, size);
        m_carry.clear();
        data = joined.data();
        size = joined.size();
    }
    std::size_t start = std::min(m_nSkip, size);
    m_nSkip -= start;
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    // A character cut at the end waits for the rest of its bytes.
    std::size_t end = size;
    if (m_encoding == ETextEncoding::Utf8) {
        for (std::size_t back = 1; back <= 3 && back <= size - start; ++back) {
            if (p[size - back] >= 0xC0) {
                if (Utf8Length(p[size - back]) > back)
                    end = size - back;
                break;
            }
        }
    } else {
        end = start + (size - start) / 2 * 2;
        if (end - start >= 2) {
            unsigned char hi = p[end - (m_encoding == ETextEncoding::Utf16BE ? 2 : 1)];
            if (hi >= 0xD8 && hi <= 0xDB)
                end -= 2;
        }
    }
    Decode(p + start, end - start, out);
    m_carry.assign(data + end, size - end);
}

void CTextStream::Finish(std::string& out) {
    std::string rest;
    rest.swap(m_carry);
    Decode(reinterpret_cast<const unsigned char*>(rest.data()), rest.size(), out);
}

const std::vector<SLostCharacter>& CTextStream::Lost() const {
    return m_state->encoder.Lost();
}

std::vector<SLostCharacter> CTextStream::TakeLost() {
    return std::move(m_state->encoder.Lost());
}

void CTextStream::Decode(const unsigned char* p, std::size_t size, std::string& out) {
    CEncoder& encoder = m_state->encoder;
    encoder.Into(out);
    if (m_encoding == ETextEncoding::Utf8) {
        for (std::size_t pos = 0; pos < size;) {
            m_bMultiByte = m_bMultiByte || p[pos] >= 0x80;
            encoder.Put(NextUtf8(p, size, pos, m_bMalformed));
        }
        return;
    }
    bool bBigEndian = m_encoding == ETextEncoding::Utf16BE;
    auto unitAt = [&](std::size_t pos) -> char32_t {
        return bBigEndian ? char32_t(p[pos] << 8 | p[pos + 1]) : char32_t(p[pos + 1] << 8 | p[pos]);
    };
    std::size_t pos = 0;
    for (; pos + 1 < size; pos += 2) {
        char32_t unit = unitAt(pos);
        if (unit >= 0xD800 && unit <= 0xDBFF && pos + 3 < size) {
            char32_t low = unitAt(pos + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                encoder.Put(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                pos += 2;
                continue;
            }
        }
        encoder.Put(unit);  // a lone surrogate is listed as lost
    }
    if (pos < size)
        encoder.Put(kReplacementChar);  // half a character at the end
}

SConvertedText CTextConverter::Convert(const std::string& bytes) const {
    STextDetection detected = ResolveEncoding(DetectTextEncoding(bytes), m_options.encoding);
    SConvertedText out;
    out.encoding = detected.encoding;
    out.bBom = detected.bBom;
    if (detected.encoding == ETextEncoding::Binary)
        return out;
    if (detected.encoding == ETextEncoding::Ansi) {
        out.text = bytes;
        return out;
    }
    out.text.reserve(bytes.size() + bytes.size() / 16);
    CTextStream stream(m_codePage, detected.encoding, detected.bBom, m_options.bCrLf);
    stream.Put(bytes.data(), bytes.size(), out.text);
    stream.Finish(out.text);
    out.lost = stream.TakeLost();
    return out;
}

std::string Utf8FromChar(char32_t ch) {
    std::string s;
    if (ch < 0x80) {
        s += char(ch);
    } else if (ch < 0x800) {
        s += char(0xC0 | (ch >> 6));
        s += char(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
        if (IsSurrogate(ch))
            return s;
        s += char(0xE0 | (ch >> 12));
        s += char(0x80 | ((ch >> 6) & 0x3F));
        s += char(0x80 | (ch & 0x3F));
    } else if (ch <= 0x10FFFF) {
        s += char(0xF0 | (ch >> 18));
        s += char(0x80 | ((ch >> 12) & 0x3F));
        s += char(0x80 | ((ch >> 6) & 0x3F));
        s += char(0x80 | (ch & 0x3F));
    }
    return s;
}

std::string CodePointName(char32_t ch) {
    char name[16];
    std::snprintf(name, sizeof(name), "U+%04X", unsigned(ch));
    return name;
}

std::string DescribeLosses(const SConvertedText& converted, std::size_t nMaxListed) {
    std::size_t nTotal = converted.LostCount();
    if (nTotal == 0)
        return std::string();
    std::string text = std::to_string(nTotal) + (nTotal == 1 ? " character" : " characters") +
                       " cannot be stored in a Kelvra book: ";
    std::size_t nListed = 0;
    for (const SLostCharacter& lost : converted.lost) {
        if (nListed == nMaxListed)
            break;
        if (nListed++ != 0)
            text += "\n";
        // Control characters would only disturb the list; their code point says it all.
        bool bVisible = lost.ch >= 0xA0 && lost.ch != kReplacementChar;
        if (bVisible)
            text += Utf8FromChar(lost.ch) + " ";
        text += CodePointName(lost.ch) + " (\xC3\x97" + std::to_string(lost.nCount) + ", line " +
                std::to_string(lost.nFirstLine) + ") \xE2\x86\x92 ";
        if (lost.replacement.empty()) {
            text += "removed";
        } else {
            for (char32_t ch : lost.replacementText)
                text += Utf8FromChar(ch);
        }
    }
    if (nListed < converted.lost.size())
        text += "\nand " + std::to_string(converted.lost.size() - nListed) + " more";
    return text;
}
