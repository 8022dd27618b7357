#pragma once

#include <string>
#include <vector>

// Names as people count them: runs of digits compare by their value ("ch2" before "ch10"),
// everything else byte by byte. Shared by the quire tool and the window, so that a folder of
// chapter files comes out in the same order whichever of them reads it.
int CompareNaturally(const std::string& one, const std::string& other);
void SortNaturally(std::vector<std::string>& names);
