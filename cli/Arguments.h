#pragma once

#include <string>
#include <vector>

// The options one command knows and what its command line gave: options that take the next
// argument as their value ("-o FILE"), options that stand alone ("-q"), and the operands. "--"
// ends the options; "-" alone is an operand (standard input or output).
class CArguments {
public:
    CArguments(std::vector<std::string> valued, std::vector<std::string> flags);

    // False, having said on standard error what is wrong, for an unknown option or one without
    // its value.
    bool Parse(const std::vector<std::string>& args);

    bool Has(const std::string& flag) const;
    // The last value given for `option`, or null.
    const std::string* Value(const std::string& option) const;
    const std::vector<std::string>& Operands() const { return m_operands; }

private:
    static bool IsIn(const std::vector<std::string>& list, const std::string& name);

    std::vector<std::string> m_valued;
    std::vector<std::string> m_flags;
    std::vector<std::pair<std::string, std::string>> m_given;
    std::vector<std::string> m_operands;
};
