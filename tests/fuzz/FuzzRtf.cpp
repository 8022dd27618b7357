// libFuzzer target: any bytes through the check an RTF file passes before the rich edit control
// decodes it. It must read nothing past the end, and answer either nothing or a reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "RtfCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly `size` bytes, so that the sanitizer sees any read past the end.
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string problem = RtfCheck::FindProblem(bytes.data(), bytes.size());
    if (!problem.empty() && problem.compare(0, 2, "it") != 0)
        std::abort();
    // Any file with more nesting than the limit is refused, whatever else it holds.
    int nDepth = 0;
    int nMost = 0;
    bool bPlain = true;  // no backslash or binary data that could hide a brace
    for (char c : bytes) {
        bPlain = bPlain && c != '\\';
        nDepth += c == '{' ? 1 : (c == '}' && nDepth > 0 ? -1 : 0);
        nMost = nDepth > nMost ? nDepth : nMost;
    }
    if (bPlain && nMost > RtfCheck::kMaxDepth && problem.empty())
        std::abort();
    return 0;
}
