// The check an RTF file passes before the rich edit control decodes it: every file that took the
// control down is refused with its reason, each limit is exact, and what RTF allows passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RtfCheck.h"
#include "RtfSamples.h"

namespace {

std::string Problem(const std::string& rtf) {
    return RtfCheck::FindProblem(rtf.data(), rtf.size());
}

// Every file that took the control down is refused with its reason; what RTF allows within the
// limits passes.
TEST(RtfCheck, RefusesWhatTheControlCannotTakeWithItsReasonAndPassesTheRest) {
    using RtfSamples::Document;
    std::vector<RtfSamples::Hostile> files = RtfSamples::HostileFiles();
    for (const std::string& rtf : {
             RtfSamples::AtTheLimits(),
             RtfSamples::Nested(RtfCheck::kMaxDepth),
             Document(std::string(RtfCheck::kMaxBytes - 13, 'x')),     // the largest allowed
             Document("\\'e9t\\'e9 \\u8364? \\{not a group\\} \\\\"),  // control symbols, escaped braces
             Document("}}}} closing more than opened"),
             // Cut off anywhere inside a control word or its number.
             std::string("{\\rtf1\\fs12"),
             std::string("{\\rtf1\\"),
             std::string("{\\rtf1\\fs-"),
             std::string("{\\rtf1\\bin99999 {{{{"),
             std::string(),
         })
        files.push_back({"within the limits", rtf, ""});
    for (const RtfSamples::Hostile& file : files)
        EXPECT_EQ(Problem(file.rtf), file.reason) << file.name << ": " << file.rtf.substr(0, 60);
}

}  // namespace
