// RTF files built in memory for the import check's tests: each one right at a limit of what the
// rich edit control can decode, or one step past it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace RtfSamples {

// A document: the RTF header, the body, the closing brace.
std::string Document(const std::string& body);
// `nDepth` groups in all, the document's own included.
std::string Nested(int nDepth);
std::string Repeated(const std::string& piece, size_t nCount);

struct Hostile {
    const char* name;
    std::string rtf;
    const char* reason;  // what the refusal says after "cannot be imported: "
};
// The files that took the control down, and each limit's first step past it.
std::vector<Hostile> HostileFiles();
// One file at every limit at once: it must pass the check and decode.
std::string AtTheLimits();

}  // namespace RtfSamples
