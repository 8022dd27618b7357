#include "MessageLog.h"

#include "MessageSink.h"

namespace {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

void Collect(const char* text) {
    Log().push_back(text);
}

}  // namespace

CMessageLog::CMessageLog() {
    Log().clear();
    SetMessageSink(Collect);
}

CMessageLog::~CMessageLog() {
    SetMessageSink(nullptr);
}

const std::vector<std::string>& CMessageLog::Messages() const {
    return Log();
}

void CMessageLog::Clear() {
    Log().clear();
}
