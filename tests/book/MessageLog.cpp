#include "MessageLog.h"

#include "MessageSink.h"

namespace {

std::vector<std::string>& Log() {
    static std::vector<std::string> log;
    return log;
}

class CCollector : public CMessageSink {
public:
    void Show(const char* text) override { Log().push_back(text); }
};

CCollector g_collector;

}  // namespace

CMessageLog::CMessageLog() {
    Log().clear();
    CMessageSink::SetActive(&g_collector);
}

CMessageLog::~CMessageLog() {
    CMessageSink::SetActive(nullptr);
}

const std::vector<std::string>& CMessageLog::Messages() const {
    return Log();
}

void CMessageLog::Clear() {
    Log().clear();
}
