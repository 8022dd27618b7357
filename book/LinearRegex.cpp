#include "LinearRegex.h"

#include <memory>
#include <utility>

namespace {

// Bounds that keep compiling and matching small whatever is typed.
constexpr std::size_t kMaxInstructions = 20000;
constexpr int kMaxNesting = 100;
constexpr int kMaxRepeat = 1000;

bool IsWordByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::bitset<256> ClassOf(char c) {
    std::bitset<256> set;
    for (int b = 0; b < 256; ++b) {
        bool bIn = false;
        switch (c | 0x20) {
            case 'd':
                bIn = b >= '0' && b <= '9';
                break;
            case 'w':
                bIn = IsWordByte(static_cast<unsigned char>(b));
                break;
            default:  // 's'
                bIn = b == ' ' || (b >= '\t' && b <= '\r');
                break;
        }
        set[std::size_t(b)] = bIn;
    }
    return (c >= 'A' && c <= 'Z') ? ~set : set;  // \D \W \S
}

}  // namespace

struct CLinearRegex::SNode {
    enum class EKind { Empty, Set, Assert, Concat, Alternation, Repeat } kind = EKind::Empty;
    int nSet = -1;
    EOp assertion = EOp::Match;
    int nMin = 0, nMax = 0;  // Repeat; nMax -1: no upper bound
    std::vector<std::unique_ptr<SNode>> children;
};

class CLinearRegex::CParser {
public:
    CParser(const std::string& text, bool bIgnoreCase, std::vector<std::bitset<256>>& sets)
        : m_text(text), m_bIgnoreCase(bIgnoreCase), m_sets(sets) {}

    std::unique_ptr<SNode> Parse(std::string& why) {
        std::unique_ptr<SNode> root = Alternation();
        if (m_why.empty() && m_pos < m_text.size())
            Fail("a \")\" without its \"(\"");
        why = m_why;
        return m_why.empty() ? std::move(root) : nullptr;
    }

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char Peek() const { return m_text[m_pos]; }
    bool Fail(const std::string& why) {
        if (m_why.empty())
            m_why = why;
        return false;
    }

    std::unique_ptr<SNode> Make(SNode::EKind kind) {
        std::unique_ptr<SNode> node(new SNode);
        node->kind = kind;
        return node;
    }

    std::unique_ptr<SNode> SetNode(std::bitset<256> set) {
        if (m_bIgnoreCase) {
            for (int c = 'a'; c <= 'z'; ++c) {
                if (set[std::size_t(c)] || set[std::size_t(c - 32)])
                    set[std::size_t(c)] = set[std::size_t(c - 32)] = true;
            }
        }
        std::unique_ptr<SNode> node = Make(SNode::EKind::Set);
        node->nSet = int(m_sets.size());
        m_sets.push_back(set);
        return node;
    }

    std::unique_ptr<SNode> Alternation() {
        std::unique_ptr<SNode> node = Make(SNode::EKind::Alternation);
        node->children.push_back(Sequence());
        while (m_why.empty() && !AtEnd() && Peek() == '|') {
            ++m_pos;
            node->children.push_back(Sequence());
        }
        return node->children.size() == 1 ? std::move(node->children[0]) : std::move(node);
    }

    std::unique_ptr<SNode> Sequence() {
        std::unique_ptr<SNode> node = Make(SNode::EKind::Concat);
        while (m_why.empty() && !AtEnd() && Peek() != '|' && Peek() != ')') {
            std::unique_ptr<SNode> atom = Atom();
            if (!atom)
                break;
            node->children.push_back(Quantified(std::move(atom)));
        }
        return node;
    }

    // A number of at most four digits for {n,m}; -1 when there is none.
    int Number() {
        int n = -1;
        while (!AtEnd() && Peek() >= '0' && Peek() <= '9') {
            n = (n < 0 ? 0 : n) * 10 + (Peek() - '0');
            if (n > 9999)
                n = 9999;
            ++m_pos;
        }
        return n;
    }

    // {n}, {n,} or {n,m} at the position: true with the bounds, the position after it.
    bool Braces(int& nMin, int& nMax) {
        std::size_t start = m_pos;
        if (AtEnd() || Peek() != '{')
            return false;
        ++m_pos;
        nMin = Number();
        nMax = nMin;
        if (nMin >= 0 && !AtEnd() && Peek() == ',') {
            ++m_pos;
            nMax = Number();
        }
        if (nMin < 0 || AtEnd() || Peek() != '}') {
            m_pos = start;
            return false;
        }
        ++m_pos;
        return true;
    }

    std::unique_ptr<SNode> Quantified(std::unique_ptr<SNode> atom) {
        int nMin = 0, nMax = -1;
        if (AtEnd())
            return atom;
        char c = Peek();
        if (c == '*' || c == '+' || c == '?') {
            ++m_pos;
            nMin = c == '+' ? 1 : 0;
            nMax = c == '?' ? 1 : -1;
        } else if (!Braces(nMin, nMax)) {
            return atom;
        }
        if (nMax >= 0 && nMax < nMin) {
            Fail("numbers out of order in {}");
            return atom;
        }
        if (nMin > kMaxRepeat || nMax > kMaxRepeat) {
            Fail("a repeat count above " + std::to_string(kMaxRepeat));
            return atom;
        }
        if (!AtEnd() && Peek() == '?')
            ++m_pos;  // lazy: the same lines match
        if (atom->kind == SNode::EKind::Assert)
            return atom;  // an assertion holds or not however often it is asked
        if (!AtEnd() && (Peek() == '*' || Peek() == '+' || Peek() == '?')) {
            Fail("nothing to repeat");
            return atom;
        }
        std::unique_ptr<SNode> node = Make(SNode::EKind::Repeat);
        node->nMin = nMin;
        node->nMax = nMax;
        node->children.push_back(std::move(atom));
        return node;
    }

    std::unique_ptr<SNode> Atom() {
        char c = Peek();
        ++m_pos;
        switch (c) {
            case '(':
                return Group();
            case '[':
                return Class();
            case '.': {
                std::bitset<256> set;
                set.set();
                set[std::size_t('\n')] = set[std::size_t('\r')] = false;
                return SetNode(set);
            }
            case '^':
            case '$': {
                std::unique_ptr<SNode> node = Make(SNode::EKind::Assert);
                node->assertion = c == '^' ? EOp::LineStart : EOp::LineEnd;
                return node;
            }
            case '\\':
                return Escape();
            case '*':
            case '+':
            case '?':
                Fail("nothing to repeat");
                return nullptr;
            case '{': {
                --m_pos;
                int nMin = 0, nMax = 0;
                if (Braces(nMin, nMax)) {
                    Fail("nothing to repeat");
                    return nullptr;
                }
                ++m_pos;
                break;
            }
            default:
                break;
        }
        std::bitset<256> set;
        set[static_cast<unsigned char>(c)] = true;
        return SetNode(set);
    }

    std::unique_ptr<SNode> Group() {
        if (!AtEnd() && Peek() == '?') {
            if (m_pos + 1 < m_text.size() && m_text[m_pos + 1] == ':') {
                m_pos += 2;
            } else {
                Fail("look-ahead and look-behind cannot be used");
                return nullptr;
            }
        }
        if (++m_nDepth > kMaxNesting) {
            Fail("groups nested more than " + std::to_string(kMaxNesting) + " deep");
            return nullptr;
        }
        std::unique_ptr<SNode> node = Alternation();
        --m_nDepth;
        if (m_why.empty() && (AtEnd() || Peek() != ')')) {
            Fail("a \"(\" without its \")\"");
            return nullptr;
        }
        ++m_pos;
        return node;
    }

    // The byte an escape stands for, after the backslash; -1 with the position unchanged when
    // it stands for a class or an assertion rather than one byte.
    int EscapedByte(bool bInClass) {
        if (AtEnd()) {
            Fail("a \"\\\" at the end");
            return -1;
        }
        char c = Peek();
        switch (c) {
            case 'd': case 'D': case 'w': case 'W': case 's': case 'S':
                return -1;
            case 'b':
                if (!bInClass)
                    return -1;
                ++m_pos;
                return '\b';
            case 'B':
                if (!bInClass)
                    return -1;
                break;
            case 't': ++m_pos; return '\t';
            case 'n': ++m_pos; return '\n';
            case 'r': ++m_pos; return '\r';
            case 'f': ++m_pos; return '\f';
            case 'v': ++m_pos; return '\v';
            case '0': ++m_pos; return 0;
            case 'x':
                if (m_pos + 2 < m_text.size() && HexValue(m_text[m_pos + 1]) >= 0 && HexValue(m_text[m_pos + 2]) >= 0) {
                    int value = HexValue(m_text[m_pos + 1]) * 16 + HexValue(m_text[m_pos + 2]);
                    m_pos += 3;
                    return value;
                }
                break;
            case 'u':
                Fail("\\u cannot be used: the book's text is in its code page; type the character itself");
                return -1;
            case 'c':
                if (m_pos + 1 < m_text.size() && ((m_text[m_pos + 1] | 0x20) >= 'a' && (m_text[m_pos + 1] | 0x20) <= 'z')) {
                    m_pos += 2;
                    return m_text[m_pos - 1] & 0x1F;
                }
                break;
            default:
                if (c >= '1' && c <= '9') {
                    Fail("back-references cannot be used");
                    return -1;
                }
                break;
        }
        ++m_pos;
        return static_cast<unsigned char>(c);
    }

    std::unique_ptr<SNode> Escape() {
        int byte = EscapedByte(false);
        if (!m_why.empty())
            return nullptr;
        if (byte >= 0) {
            std::bitset<256> set;
            set[std::size_t(byte)] = true;
            return SetNode(set);
        }
        char c = Peek();
        ++m_pos;
        if (c == 'b' || c == 'B') {
            std::unique_ptr<SNode> node = Make(SNode::EKind::Assert);
            node->assertion = c == 'b' ? EOp::WordBoundary : EOp::NotWordBoundary;
            return node;
        }
        return SetNode(ClassOf(c));
    }

    std::unique_ptr<SNode> Class() {
        std::bitset<256> set;
        bool bNegated = !AtEnd() && Peek() == '^';
        if (bNegated)
            ++m_pos;
        while (true) {  // "[]" matches nothing and "[^]" anything, as in ECMAScript
            if (AtEnd()) {
                Fail("a \"[\" without its \"]\"");
                return nullptr;
            }
            if (Peek() == ']')
                break;
            int low = ClassMember(set);
            if (!m_why.empty())
                return nullptr;
            if (low < 0 || AtEnd() || Peek() != '-' || m_pos + 1 >= m_text.size() || m_text[m_pos + 1] == ']') {
                if (low >= 0)
                    set[std::size_t(low)] = true;
                continue;
            }
            ++m_pos;  // the '-' of a range
            int high = ClassMember(set);
            if (!m_why.empty())
                return nullptr;
            if (high < 0) {  // [a-\d]: the '-' is itself
                set[std::size_t(low)] = set[std::size_t('-')] = true;
                continue;
            }
            if (high < low) {
                Fail("a range out of order in []");
                return nullptr;
            }
            for (int b = low; b <= high; ++b)
                set[std::size_t(b)] = true;
        }
        ++m_pos;
        return SetNode(bNegated ? ~set : set);
    }

    // One byte of a class, or -1 after adding an escaped class such as \d to `set`.
    int ClassMember(std::bitset<256>& set) {
        char c = Peek();
        ++m_pos;
        if (c != '\\')
            return static_cast<unsigned char>(c);
        int byte = EscapedByte(true);
        if (byte >= 0 || !m_why.empty())
            return byte;
        set |= ClassOf(Peek());
        ++m_pos;
        return -1;
    }

    const std::string& m_text;
    bool m_bIgnoreCase;
    std::vector<std::bitset<256>>& m_sets;
    std::size_t m_pos = 0;
    int m_nDepth = 0;
    std::string m_why;
};

int CLinearRegex::Emit(EOp op, int nSet, int nNext, int nOther) {
    m_program.push_back(SInstruction{op, nSet, nNext, nOther});
    return int(m_program.size()) - 1;
}

bool CLinearRegex::CompileNode(const SNode& node, std::string& why) {
    if (m_program.size() > kMaxInstructions) {
        why = "the expression is too long";
        return false;
    }
    switch (node.kind) {
        case SNode::EKind::Empty:
            return true;
        case SNode::EKind::Set:
            Emit(EOp::Set, node.nSet);
            return true;
        case SNode::EKind::Assert:
            Emit(node.assertion);
            return true;
        case SNode::EKind::Concat:
            for (const auto& child : node.children) {
                if (!CompileNode(*child, why))
                    return false;
            }
            return true;
        case SNode::EKind::Alternation: {
            std::vector<int> jumps;
            for (std::size_t i = 0; i < node.children.size(); ++i) {
                int nSplit = i + 1 < node.children.size() ? Emit(EOp::Split) : -1;
                if (nSplit >= 0)
                    m_program[std::size_t(nSplit)].nNext = int(m_program.size());
                if (!CompileNode(*node.children[i], why))
                    return false;
                if (nSplit >= 0) {
                    jumps.push_back(Emit(EOp::Jump));
                    m_program[std::size_t(nSplit)].nOther = int(m_program.size());
                }
            }
            for (int nJump : jumps)
                m_program[std::size_t(nJump)].nNext = int(m_program.size());
            return true;
        }
        case SNode::EKind::Repeat: {
            const SNode& child = *node.children[0];
            for (int i = 0; i < node.nMin; ++i) {
                if (!CompileNode(child, why))
                    return false;
            }
            if (node.nMax < 0) {
                int nSplit = Emit(EOp::Split, -1, int(m_program.size()) + 1);
                if (!CompileNode(child, why))
                    return false;
                Emit(EOp::Jump, -1, nSplit);
                m_program[std::size_t(nSplit)].nOther = int(m_program.size());
                return true;
            }
            std::vector<int> splits;
            for (int i = node.nMin; i < node.nMax; ++i) {
                splits.push_back(Emit(EOp::Split, -1, int(m_program.size()) + 1));
                if (!CompileNode(child, why))
                    return false;
            }
            for (int nSplit : splits)
                m_program[std::size_t(nSplit)].nOther = int(m_program.size());
            return true;
        }
    }
    return true;
}

bool CLinearRegex::Compile(const std::string& expression, bool bIgnoreCase, std::string& why) {
    m_program.clear();
    m_sets.clear();
    m_marks.clear();
    std::unique_ptr<SNode> root = CParser(expression, bIgnoreCase, m_sets).Parse(why);
    if (!root || !CompileNode(*root, why)) {
        m_program.clear();
        return false;
    }
    if (m_program.size() > kMaxInstructions) {
        why = "the expression is too long";
        m_program.clear();
        return false;
    }
    Emit(EOp::Match);
    return true;
}

bool CLinearRegex::AddThread(std::vector<int>& list, unsigned nMark, int pc, const char* pBegin, const char* pEnd,
                             const char* pos, unsigned long long& budget) const {
    m_stack.clear();
    m_stack.push_back(pc);
    while (!m_stack.empty() && budget > 0) {
        int nPc = m_stack.back();
        m_stack.pop_back();
        if (m_marks[std::size_t(nPc)] == nMark)
            continue;
        m_marks[std::size_t(nPc)] = nMark;
        --budget;
        const SInstruction& in = m_program[std::size_t(nPc)];
        bool bBefore = pos > pBegin && IsWordByte(static_cast<unsigned char>(pos[-1]));
        bool bAfter = pos < pEnd && IsWordByte(static_cast<unsigned char>(*pos));
        switch (in.op) {
            case EOp::Set:
                list.push_back(nPc);
                break;
            case EOp::Jump:
                m_stack.push_back(in.nNext);
                break;
            case EOp::Split:
                m_stack.push_back(in.nOther);
                m_stack.push_back(in.nNext);
                break;
            case EOp::LineStart:
                if (pos == pBegin)
                    m_stack.push_back(nPc + 1);
                break;
            case EOp::LineEnd:
                if (pos == pEnd)
                    m_stack.push_back(nPc + 1);
                break;
            case EOp::WordBoundary:
            case EOp::NotWordBoundary:
                if ((bBefore != bAfter) == (in.op == EOp::WordBoundary))
                    m_stack.push_back(nPc + 1);
                break;
            case EOp::Match:
                return true;
        }
    }
    return false;
}

CLinearRegex::EResult CLinearRegex::Search(const char* pBegin, const char* pEnd, unsigned long long& budget) const {
    if (m_program.empty())
        return EResult::NoMatch;
    // The marks say which instructions a list already holds; a new number per list, so they are
    // never cleared in between.
    if (m_marks.size() != m_program.size() || m_nMark > 0xFFFFFFF0u) {
        m_marks.assign(m_program.size(), 0);
        m_nMark = 0;
    }
    std::vector<int>& current = m_current;
    std::vector<int>& next = m_next;
    current.clear();
    if (AddThread(current, ++m_nMark, 0, pBegin, pEnd, pBegin, budget))
        return EResult::Match;
    for (const char* pos = pBegin; pos < pEnd && budget > 0; ++pos) {
        unsigned nMark = ++m_nMark;
        next.clear();
        const unsigned char c = static_cast<unsigned char>(*pos);
        for (int nPc : current) {
            const SInstruction& in = m_program[std::size_t(nPc)];
            if (m_sets[std::size_t(in.nSet)][c] && AddThread(next, nMark, nPc + 1, pBegin, pEnd, pos + 1, budget))
                return EResult::Match;
        }
        // A match may also begin at the next byte.
        if (AddThread(next, nMark, 0, pBegin, pEnd, pos + 1, budget))
            return EResult::Match;
        current.swap(next);
    }
    return budget > 0 ? EResult::NoMatch : EResult::TooMuchWork;
}
