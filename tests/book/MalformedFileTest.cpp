#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Book.h"
#include "LoadProbe.h"
#include "TempDir.h"
#include "TestContainer.h"
#include "TestFiles.h"

namespace {

class MalformedFile : public ::testing::Test {
protected:
    CTempDir m_dir;
    std::unique_ptr<CBook> m_pBook = std::make_unique<CBook>();
    CBook& m_book = *m_pBook;
    std::string m_strPath = m_dir.Path("m.book");
    CLoadProbe m_probe{m_book, m_strPath};

    bool Load(const std::string& bytes) {
        WriteBytes(m_strPath, bytes);
        return m_probe.Load();
    }
};

// bookmark.bin, options.bin, title.txt, contents.txt and 1.txt, at entries 0 to 4.
std::string ValidBook() {
    return EncodeContainer(BookMembers("au", "ti", {"A"}, {"one"}));
}

TEST_F(MalformedFile, NameOf259BytesIsReadAndALongerOneSkipped) {
    std::vector<TestMember> members = BookMembers("au", "ti", {"A"}, {"one"});
    members.back().name = "1" + std::string(254, 'x') + ".txt";
    EXPECT_TRUE(Load(EncodeContainer(members)));
    EXPECT_EQ("one", m_book.ChapterText(0));

    members.back().name = "1" + std::string(255, 'x') + ".txt";
    EXPECT_FALSE(Load(EncodeContainer(members)));
    members.back().name = "1" + std::string(70000, 'x') + ".txt";
    EXPECT_FALSE(Load(EncodeContainer(members)));

    // A name that runs to the end of the file without its terminator ends the walk.
    std::string bytes = ValidBook();
    PutU16(bytes, NamePositionAt(4), static_cast<uint32_t>(bytes.size() - 2));
    EXPECT_FALSE(Load(bytes));
}

TEST_F(MalformedFile, RecordSizeBelowItsHeaderIsSkipped) {
    std::string bytes = ValidBook();
    PutU32(bytes, RecordSizeAt(4), 0);
    EXPECT_FALSE(Load(bytes));

    bytes = ValidBook();
    PutU32(bytes, RecordSizeAt(1), 0);  // options.bin is not needed
    EXPECT_TRUE(Load(bytes));

    std::vector<TestMember> members = BookMembers("au", "ti", {"A"}, {"one"});
    members.back().flag = 2;
    bytes = EncodeContainer(members);
    EXPECT_TRUE(Load(bytes));
    for (uint32_t size : {0u, 1u, 4u}) {
        PutU32(bytes, RecordSizeAt(4), size);
        EXPECT_FALSE(Load(bytes)) << size;
    }
}

// A record that reaches beyond the end is a file cut short, whichever member it belongs to; nothing
// is allocated for it.
TEST_F(MalformedFile, SizesReachingBeyondTheFileFailTheLoadBeforeAnyAllocation) {
    for (uint32_t size : {0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x10000000u, 230u}) {
        for (unsigned member : {1u, 4u}) {
            std::string bytes = ValidBook();
            PutU32(bytes, RecordSizeAt(member), size);
            EXPECT_FALSE(Load(bytes)) << size << " at " << member;
        }
    }
    // A size that only reaches beyond the file once added to its position in 32 bits.
    std::string bytes = ValidBook();
    PutU32(bytes, RecordSizeAt(4), 0xFFFFFFFFu - GetU32(bytes, DataPositionAt(4)) + 2);
    EXPECT_FALSE(Load(bytes));
}

TEST_F(MalformedFile, PositionsBeyondTheFileEndTheWalk) {
    const std::size_t size = ValidBook().size();
    for (uint32_t position : {0xFFFFFFFFu, 0xFFFFFFF0u, 0x80000000u, 0x7FFFFFFFu, uint32_t(size)}) {
        std::string bytes = ValidBook();
        PutU32(bytes, DataPositionAt(1), position);
        EXPECT_FALSE(Load(bytes)) << position;
    }
    std::string bytes = ValidBook();
    PutU16(bytes, NamePositionAt(0), 0xFFFF);
    EXPECT_FALSE(Load(bytes));
}

TEST_F(MalformedFile, UnknownRecordFlagsAreSkipped) {
    std::string bytes = ValidBook();
    for (unsigned flag : {1u, 3u, 0xFFu}) {
        bytes[GetU32(bytes, DataPositionAt(4))] = static_cast<char>(flag);
        EXPECT_FALSE(Load(bytes)) << flag;
    }
    // The member still counts as seen: names are classified before the record is read.
    bytes = ValidBook();
    bytes[GetU32(bytes, DataPositionAt(0))] = 7;
    EXPECT_TRUE(Load(bytes));
}

TEST_F(MalformedFile, ChapterNumbersAreBoundedByWhatAContainerCanHold) {
    std::vector<TestMember> members = BookMembers("au", "ti", {"A"}, {});
    members.push_back({"32000.txt", "last"});
    EXPECT_TRUE(Load(EncodeContainer(members)));
    EXPECT_EQ(CBook::kMaxChapters, m_book.ChapterCount());
    EXPECT_EQ("last", m_book.ChapterText(CBook::kMaxChapters - 1));

    for (const char* name : {"32001.txt", "4294967297.txt", "99999999999999999999999.txt"}) {
        members.back().name = name;
        EXPECT_FALSE(Load(EncodeContainer(members))) << name;
    }

    members = BookMembers("au", "ti", {std::string(CBook::kMaxChapters, '\n')}, {"one"});
    EXPECT_FALSE(Load(EncodeContainer(members)));
}

TEST_F(MalformedFile, OverlappingRecordsAreNotReadOverAndOver) {
    const unsigned count = 31999;
    const std::string names(
        "bookmark.bin\0title.txt\0contents.txt\0"
        "1.txt\0",
        42);
    const uint32_t namesStart = 6 + 10 * count,
                   recordsStart = namesStart + static_cast<uint32_t>(names.size());
    const std::string records =
        '\0' + std::string(8, '\0') + '\0' + "a\nt" + '\0' + "A" + '\0' + std::string(std::size_t{64} * 1024, 'x');
    const uint32_t nameOffsets[] = {0, 13, 23, 36}, recordOffsets[] = {0, 9, 13, 15},
                   recordSizes[] = {9, 4, 2, 64 * 1024 + 1};

    std::string bytes(namesStart, '\0');
    PutU16(bytes, 0, 0x4B76);
    PutU16(bytes, 2, count);
    for (unsigned i = 0; i < count; ++i) {
        unsigned kind = i < 3 ? i : 3;  // every entry after the third is 1.txt on one shared record
        PutU16(bytes, NamePositionAt(i), namesStart + nameOffsets[kind]);
        PutU32(bytes, DataPositionAt(i), recordsStart + recordOffsets[kind]);
        PutU32(bytes, RecordSizeAt(i), recordSizes[kind]);
    }
    bytes += names + records;
    EXPECT_FALSE(Load(bytes));
}

// A book cut anywhere is rejected, however much of it came before the cut: opening it and saving
// again would lose the rest.
TEST_F(MalformedFile, EveryTruncationOfABookIsRejected) {
    std::vector<TestMember> flagTwo = BookMembers("au", "ti", {"A", "B"}, {"one", ""});
    for (TestMember& member : flagTwo)
        member.flag = 2;
    const std::vector<std::string> books = {
        EncodeContainer(BookMembers("", "", {}, {})),
        EncodeContainer(BookMembers("au", "ti", {}, {})),
        ValidBook(),
        EncodeContainer(BookMembers("au", "ti", {"A", "", "C"}, {"one", "", std::string(300, 't')})),
        EncodeContainer(flagTwo),
    };
    ASSERT_EQ(183u, books[0].size());
    for (const std::string& bytes : books) {
        ASSERT_TRUE(Load(bytes));
        for (std::size_t cut = 0; cut < bytes.size(); ++cut)
            EXPECT_FALSE(Load(bytes.substr(0, cut))) << cut << " of " << bytes.size();
    }
}

TEST_F(MalformedFile, RandomDamageNeverBreaksTheLoader) {
    const std::string valid =
        EncodeContainer(BookMembers("au", "ti", {"A", "B"}, {"one", std::string(300, 't')}));
    const unsigned members = 6;
    std::mt19937 random(2024);
    for (int round = 0; round < 1500; ++round) {
        std::string bytes = valid;
        for (auto damage = 1 + random() % 4; damage > 0; --damage) {
            switch (random() % 4) {
                case 0:
                    bytes[random() % bytes.size()] = static_cast<char>(random());
                    break;
                case 1:
                    PutU32(bytes, DataPositionAt(random() % members), random());
                    break;
                case 2:
                    PutU32(bytes, RecordSizeAt(random() % members), random() % 2 ? random() : random() % 400);
                    break;
                default:
                    PutU16(bytes, NamePositionAt(random() % members), random() % bytes.size());
                    break;
            }
        }
        Load(bytes);
    }
}

}  // namespace
