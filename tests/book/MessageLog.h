#pragma once

#include <string>
#include <vector>

// Collects the writer's messages while it exists, instead of printing them.
class CMessageLog {
public:
    CMessageLog();
    ~CMessageLog();
    CMessageLog(const CMessageLog&) = delete;
    CMessageLog& operator=(const CMessageLog&) = delete;

    const std::vector<std::string>& Messages() const;
    void Clear();
};
