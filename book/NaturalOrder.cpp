#include "NaturalOrder.h"

#include <algorithm>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int CompareNaturally(const std::string& one, const std::string& other) {
    std::size_t i = 0, j = 0;
    while (i < one.size() && j < other.size()) {
        if (IsDigit(one[i]) && IsDigit(other[j])) {
            while (i < one.size() && one[i] == '0')
                ++i;
            while (j < other.size() && other[j] == '0')
                ++j;
            std::size_t endOne = i, endOther = j;
            while (endOne < one.size() && IsDigit(one[endOne]))
                ++endOne;
            while (endOther < other.size() && IsDigit(other[endOther]))
                ++endOther;
            if (endOne - i != endOther - j)
                return endOne - i < endOther - j ? -1 : 1;
            if (int order = one.compare(i, endOne - i, other, j, endOther - j))
                return order;
            i = endOne;
            j = endOther;
        } else if (one[i] != other[j]) {
            return static_cast<unsigned char>(one[i]) < static_cast<unsigned char>(other[j]) ? -1 : 1;
        } else {
            ++i;
            ++j;
        }
    }
    if (i < one.size() || j < other.size())
        return i < one.size() ? 1 : -1;
    return one.compare(other);  // "07" and "7": a fixed order all the same
}

void SortNaturally(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(),
              [](const std::string& one, const std::string& other) { return CompareNaturally(one, other) < 0; });
}
