#include "MessageSink.h"

#include <cstdio>

namespace {

void PrintToStderr(const char* text) {
    std::fprintf(stderr, "%s\n", text);
}

MessageSinkFn g_sink = PrintToStderr;

}  // namespace

void SetMessageSink(MessageSinkFn sink) {
    g_sink = sink ? sink : PrintToStderr;
}

void ShowMessage(const char* text) {
    g_sink(text);
}
