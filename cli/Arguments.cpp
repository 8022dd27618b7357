#include "Arguments.h"

#include <algorithm>
#include <cstdio>
#include <utility>

CArguments::CArguments(std::vector<std::string> valued, std::vector<std::string> flags)
    : m_valued(std::move(valued)), m_flags(std::move(flags)) {
    m_flags.push_back("--help");
    m_flags.push_back("-h");
}

bool CArguments::IsIn(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

bool CArguments::Parse(const std::vector<std::string>& args) {
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!options || arg.size() < 2 || arg[0] != '-') {
            m_operands.push_back(arg);
        } else if (arg == "--") {
            options = false;
        } else if (IsIn(m_flags, arg)) {
            m_given.emplace_back(arg, std::string());
        } else if (!IsIn(m_valued, arg)) {
            std::fprintf(stderr, "quire: unknown option '%s'\n", arg.c_str());
            return false;
        } else if (i + 1 == args.size()) {
            std::fprintf(stderr, "quire: option '%s' needs a value\n", arg.c_str());
            return false;
        } else {
            m_given.emplace_back(arg, args[++i]);
        }
    }
    return true;
}

bool CArguments::Has(const std::string& flag) const {
    return std::any_of(m_given.begin(), m_given.end(),
                       [&flag](const std::pair<std::string, std::string>& given) { return given.first == flag; });
}

const std::string* CArguments::Value(const std::string& option) const {
    for (auto given = m_given.rbegin(); given != m_given.rend(); ++given) {
        if (given->first == option)
            return &given->second;
    }
    return nullptr;
}
