#include "TestContainer.h"

void PutU16(std::string& bytes, std::size_t offset, uint32_t value) {
    bytes[offset] = static_cast<char>((value >> 8) & 0xFF);
    bytes[offset + 1] = static_cast<char>(value & 0xFF);
}

void PutU32(std::string& bytes, std::size_t offset, uint32_t value) {
    PutU16(bytes, offset, value >> 16);
    PutU16(bytes, offset + 2, value & 0xFFFF);
}

uint32_t GetU32(const std::string& bytes, std::size_t offset) {
    uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value * 256 + static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

std::string EncodeContainer(const std::vector<TestMember>& members) {
    const std::size_t count = members.size();
    std::string names, records;
    std::string bytes(6 + 10 * count, '\0');
    for (const TestMember& member : members)
        names += member.name + '\0';
    std::size_t namesStart = 6 + 10 * count;
    std::size_t nameOffset = 0, recordOffset = namesStart + names.size();
    PutU16(bytes, 0, 0x4B76);
    PutU16(bytes, 2, static_cast<uint32_t>(count));
    PutU16(bytes, 4, static_cast<uint32_t>((10 * count + names.size()) % 65536));
    for (std::size_t i = 0; i < count; ++i) {
        std::string record(1, static_cast<char>(members[i].flag));
        if (members[i].flag == 2)
            record += std::string(4, '\x5A');
        record += members[i].data;
        PutU16(bytes, 6 + 10 * i, static_cast<uint32_t>((namesStart + nameOffset) % 65536));
        PutU32(bytes, 8 + 10 * i, static_cast<uint32_t>(recordOffset));
        PutU32(bytes, 12 + 10 * i, static_cast<uint32_t>(record.size()));
        nameOffset += members[i].name.size() + 1;
        recordOffset += record.size();
        records += record;
    }
    return bytes + names + records;
}

std::vector<TestMember> BookMembers(const std::string& author,
                                    const std::string& title,
                                    const std::vector<std::string>& chapterTitles,
                                    const std::vector<std::string>& chapterTexts) {
    std::vector<TestMember> members = {{"bookmark.bin", std::string(8, '\0')},
                                       {"options.bin", std::string(100, '\0')},
                                       {"title.txt", author + '\n' + title}};
    if (!chapterTitles.empty()) {
        std::string contents;
        for (std::size_t i = 0; i < chapterTitles.size(); ++i)
            contents += (i > 0 ? "\n" : "") + chapterTitles[i];
        members.push_back({"contents.txt", contents});
    }
    for (std::size_t i = 0; i < chapterTexts.size(); ++i)
        members.push_back({std::to_string(i + 1) + ".txt", chapterTexts[i]});
    return members;
}
