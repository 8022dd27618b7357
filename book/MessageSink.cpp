#include "MessageSink.h"

#include <cstdio>

namespace {

class CStandardErrorSink : public CMessageSink {
public:
    void Show(const char* text) override { std::fprintf(stderr, "%s\n", text); }
};

CMessageSink* g_active = nullptr;

}  // namespace

CMessageSink& CMessageSink::Active() {
    static CStandardErrorSink standard;
    if (g_active)
        return *g_active;
    return standard;
}

void CMessageSink::SetActive(CMessageSink* sink) {
    g_active = sink;
}

void ShowMessage(const char* text) {
    CMessageSink::Active().Show(text);
}
