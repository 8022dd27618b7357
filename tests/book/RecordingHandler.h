#pragma once

#include <string>
#include <utility>
#include <vector>

#include "MemberHandler.h"

// Takes every member of a walk and remembers the names and data it was handed.
class CRecordingHandler : public CMemberHandler {
public:
    void OnMemberName(const std::string& name) override { m_names.push_back(name); }
    std::string* DataTarget() override {
        m_scratch.clear();
        return &m_scratch;
    }
    void OnMemberData(std::string& target) override { m_members.emplace_back(m_names.back(), target); }
    void OnCutShort() override { ++m_nCutsShort; }

    std::vector<std::string> m_names;
    std::vector<std::pair<std::string, std::string>> m_members;  // name and data, complete ones only
    int m_nCutsShort = 0;

private:
    std::string m_scratch;
};
