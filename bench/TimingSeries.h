// Repeated timings of one operation under Wine, read from the performance counter. The machine is
// shared, so a figure is the median of its samples, with the fastest and slowest beside it to show
// how noisy the run was.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CTimingSeries {
public:
    // Milliseconds since an arbitrary start, at the counter's resolution.
    static double NowMs();

    // Runs `operation` once and adds its time.
    template <typename Operation>
    void Measure(Operation&& operation) {
        double start = NowMs();
        operation();
        Add(NowMs() - start);
    }

    void Add(double ms) { m_samples.push_back(ms); }
    bool Empty() const { return m_samples.empty(); }
    size_t Count() const { return m_samples.size(); }

    double Median() const;
    double Min() const;
    double Max() const;
    // "median (min-max)" in milliseconds with `decimals` places.
    std::string Describe(int decimals = 1) const;

private:
    std::vector<double> m_samples;
};
