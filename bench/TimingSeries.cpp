#include "TimingSeries.h"

#include <algorithm>
#include <cstdio>

double CTimingSeries::NowMs() {
    static const double s_ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return double(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return double(now.QuadPart) / s_ticksPerMs;
}

double CTimingSeries::Median() const {
    if (m_samples.empty())
        return 0.0;
    std::vector<double> sorted = m_samples;
    std::sort(sorted.begin(), sorted.end());
    size_t nMiddle = sorted.size() / 2;
    return sorted.size() % 2 != 0 ? sorted[nMiddle] : (sorted[nMiddle - 1] + sorted[nMiddle]) / 2.0;
}

double CTimingSeries::Min() const {
    return m_samples.empty() ? 0.0 : *std::min_element(m_samples.begin(), m_samples.end());
}

double CTimingSeries::Max() const {
    return m_samples.empty() ? 0.0 : *std::max_element(m_samples.begin(), m_samples.end());
}

std::string CTimingSeries::Describe(int decimals) const {
    char text[96];
    std::snprintf(text, sizeof(text), "%.*f (%.*f-%.*f)", decimals, Median(), decimals, Min(), decimals,
                  Max());
    return text;
}
