// The check an RTF file passes before the rich edit control decodes it: every file that took the
// control down is refused with its reason, each limit is exact, and what RTF allows passes.
#include <gtest/gtest.h>

#include <string>

#include "RtfCheck.h"
#include "RtfSamples.h"

namespace {

std::string Problem(const std::string& rtf) {
    return RtfCheck::FindProblem(rtf.data(), rtf.size());
}

TEST(RtfCheck, RefusesWhatTheControlCannotTakeWithItsReason) {
    for (const RtfSamples::Hostile& file : RtfSamples::HostileFiles())
        EXPECT_EQ(Problem(file.rtf), file.reason) << file.name;
}

TEST(RtfCheck, PassesEverythingWithinTheLimits) {
    using RtfSamples::Document;
    const std::string kPassing[] = {
        RtfSamples::AtTheLimits(),
        RtfSamples::Nested(RtfCheck::kMaxDepth),
        Document(std::string(RtfCheck::kMaxBytes - 13, 'x')),     // the largest allowed
        Document("\\'e9t\\'e9 \\u8364? \\{not a group\\} \\\\"),  // control symbols, escaped braces
        Document("}}}} closing more than opened"),
        // Cut off anywhere inside a control word or its number.
        "{\\rtf1\\fs12",
        "{\\rtf1\\",
        "{\\rtf1\\fs-",
        "{\\rtf1\\bin99999 {{{{",
        "",
    };
    for (const std::string& rtf : kPassing)
        EXPECT_EQ(Problem(rtf), "") << rtf.substr(0, 60);
}

}  // namespace
