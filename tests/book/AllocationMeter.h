#pragma once

#include <cstddef>

// Watches every allocation of the test program through a replaced global operator new: the
// largest single request and the highest total in use since Start.
class CAllocationMeter {
public:
    static void Start();
    static std::size_t Largest();
    static std::size_t Peak();
};
