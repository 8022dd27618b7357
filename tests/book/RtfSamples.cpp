#include "RtfSamples.h"

#include "RtfCheck.h"

namespace RtfSamples {

std::string Document(const std::string& body) {
    return "{\\rtf1\\ansi " + body + "}";
}

std::string Nested(int nDepth) {
    return Document(std::string(size_t(nDepth - 1), '{') + "deep" + std::string(size_t(nDepth - 1), '}'));
}

std::string Repeated(const std::string& piece, size_t nCount) {
    std::string body;
    body.reserve(piece.size() * nCount);
    for (size_t i = 0; i < nCount; ++i)
        body += piece;
    return Document(body);
}

std::vector<Hostile> HostileFiles() {
    const std::string kTable = "\\trowd\\cellx1000 ";
    return {
        {"33 groups in 80 bytes", Nested(33), "its groups are nested more than 30 deep"},
        {"31 groups", Nested(RtfCheck::kMaxDepth + 1), "its groups are nested more than 30 deep"},
        {"2000-letter control word", Document("\\" + std::string(2000, 'q') + " x"),
         "it has a control word longer than 32 letters"},
        {"33-letter control word", Document("\\" + std::string(33, 'q') + " x"),
         "it has a control word longer than 32 letters"},
        {"\\fs with a million digits", Document("\\fs" + std::string(1000000, '7') + " x"),
         "it has a number longer than 10 digits"},
        {"11-digit parameter", Document("\\fs-12345678901 x"), "it has a number longer than 10 digits"},
        {"a million \\par", Repeated("\\par ", 1000000), "it is larger than 2 MB"},
        {"100001 paragraphs", Repeated("\\par ", RtfCheck::kMaxParagraphs + 1),
         "it has more than 100000 paragraphs"},
        {"100001 line breaks", Repeated("a\\line ", RtfCheck::kMaxParagraphs + 1),
         "it has more than 100000 paragraphs"},
        {"100,000 table cells", Document(kTable + std::string(Repeated("x\\cell ", 100000)) + "\\row"),
         "it has more than 10000 table cells"},
        {"10001 table cells", Repeated("\\trowd\\cellx1000 x\\cell\\row ", RtfCheck::kMaxCells + 1),
         "it has more than 10000 table cells"},
        {"\\bin data opening 40 groups", Document("{\\*\\blipuid \\bin40 " + std::string(40, '{') + "}"),
         "its groups are nested more than 30 deep"},
        {"one byte over the size", Document(std::string(RtfCheck::kMaxBytes - 12, 'x')),
         "it is larger than 2 MB"},
    };
}

std::string AtTheLimits() {
    std::string body = std::string(size_t(RtfCheck::kMaxDepth - 1), '{') + "\\" +
                       std::string(RtfCheck::kMaxWordLetters, 'q') + " \\fs-1234567890 deep" +
                       std::string(size_t(RtfCheck::kMaxDepth - 1), '}');
    for (size_t i = 0; i < RtfCheck::kMaxCells; ++i)
        body += "\\trowd\\cellx1000 c\\cell\\row ";
    for (size_t i = 0; i < RtfCheck::kMaxParagraphs; ++i)
        body += "p\\par ";
    body += "{\\*\\blipuid \\bin4 {{}}}";
    return Document(body);
}

}  // namespace RtfSamples
