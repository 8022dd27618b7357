// libFuzzer target: any bytes through the text detection and conversion, every way they can be
// asked for, with the promises the import, the paste and quire rely on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "TextConverter.h"
#include "TextCorpus.h"

namespace {

void Check(bool bPromiseKept) {
    if (!bPromiseKept)
        std::abort();
}

void ConvertOneWay(const std::string& bytes, ETextEncoding encoding, bool bCrLf) {
    static const CLatin1TestCodePage codePage;
    CTextConverter::Options options;
    options.encoding = encoding;
    options.bCrLf = bCrLf;
    SConvertedText converted = CTextConverter(codePage, options).Convert(bytes);
    Check(converted.encoding != ETextEncoding::Auto && converted.encoding != ETextEncoding::Utf16);
    if (converted.encoding == ETextEncoding::Ansi)
        Check(converted.text == bytes);  // ANSI is never touched
    if (converted.encoding == ETextEncoding::Binary)
        Check(converted.text.empty() && encoding == ETextEncoding::Auto);
    // Never more characters listed than the input had bytes, none listed without a place.
    Check(converted.LostCount() <= bytes.size());
    for (const SLostCharacter& lost : converted.lost)
        Check(lost.nCount >= 1 && lost.nFirstLine >= 1 && lost.nFirstLine <= bytes.size() + 1);
    if (converted.encoding != ETextEncoding::Ansi && bCrLf) {
        // Every line break is CR LF, and nothing else holds a CR or an LF.
        const std::string& text = converted.text;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r')
                Check(i + 1 < text.size() && text[i + 1] == '\n');
            if (text[i] == '\n')
                Check(i > 0 && text[i - 1] == '\r');
        }
    }
    std::string described = DescribeLosses(converted, 3);
    Check(described.empty() == converted.lost.empty());
    if (IsDecoded(converted.encoding)) {
        // In pieces, as quire converts a file, the same text and the same losses.
        CTextStream stream(codePage, converted.encoding, converted.bBom, bCrLf);
        std::string text;
        std::size_t piece = bytes.empty() ? 1 : static_cast<unsigned char>(bytes[0]) % 7 + 1;
        for (std::size_t pos = 0; pos < bytes.size(); pos += piece)
            stream.Put(bytes.data() + pos, std::min(piece, bytes.size() - pos), text);
        stream.Finish(text);
        Check(text == converted.text && stream.Lost().size() == converted.lost.size());
        for (std::size_t i = 0; i < converted.lost.size(); ++i) {
            const SLostCharacter& one = stream.Lost()[i];
            const SLostCharacter& other = converted.lost[i];
            Check(one.ch == other.ch && one.nCount == other.nCount && one.nFirstLine == other.nFirstLine);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    for (ETextEncoding encoding : {ETextEncoding::Auto, ETextEncoding::Ansi, ETextEncoding::Utf8,
                                   ETextEncoding::Utf16, ETextEncoding::Utf16LE, ETextEncoding::Utf16BE}) {
        ConvertOneWay(bytes, encoding, true);
    }
    ConvertOneWay(bytes, ETextEncoding::Auto, false);
    return 0;
}
