#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Container bytes built straight from the format description, independently of the writer, and
// helpers to forge what no writer produces.
struct TestMember {
    std::string name;
    std::string data;
    int flag = 0;  // 2: the record carries a 4-byte field before the data
};
std::string EncodeContainer(const std::vector<TestMember>& members);
// The members a book is saved as.
std::vector<TestMember> BookMembers(const std::string& author,
                                    const std::string& title,
                                    const std::vector<std::string>& chapterTitles,
                                    const std::vector<std::string>& chapterTexts);
void PutU16(std::string& bytes, std::size_t offset, uint32_t value);
void PutU32(std::string& bytes, std::size_t offset, uint32_t value);
uint32_t GetU32(const std::string& bytes, std::size_t offset);
// Offsets of the fields of directory entry `index`.
inline std::size_t NamePositionAt(unsigned index) {
    return 6 + 10 * index;
}
inline std::size_t DataPositionAt(unsigned index) {
    return 6 + 10 * index + 2;
}
inline std::size_t RecordSizeAt(unsigned index) {
    return 6 + 10 * index + 6;
}
