#include "Report.h"

#include <cstdio>

namespace {

bool g_bQuiet = false;

}  // namespace

void SetQuiet(bool quiet) {
    g_bQuiet = quiet;
}

int FailOn(const std::string& what, const std::string& why) {
    if (g_bQuiet)
        return 1;
    std::fprintf(stderr, "quire: %s: %s\n", what.c_str(), why.c_str());
    return 1;
}

int Fail(const std::string& why) {
    if (g_bQuiet)
        return 1;
    std::fprintf(stderr, "quire: %s\n", why.c_str());
    return 1;
}

CMessageSink& PrintedMessages() {
    class CPrinted : public CMessageSink {
    public:
        void Show(const char* text) override { std::fprintf(stderr, "quire: %s\n", text); }
    };
    static CPrinted printed;
    return printed;
}
