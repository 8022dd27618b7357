#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ContainerReader.h"
#include "ContainerWriter.h"
#include "RecordingHandler.h"
#include "TempDir.h"
#include "TestContainer.h"
#include "TestFiles.h"

namespace {

class Container : public ::testing::Test {
protected:
    CTempDir m_dir;
    std::unique_ptr<CContainerWriter> m_pWriter = std::make_unique<CContainerWriter>();
    CContainerWriter& m_writer = *m_pWriter;

    std::string Write(const std::vector<TestMember>& members) {
        for (const TestMember& member : members)
            EXPECT_TRUE(m_writer.AddMember(member.name.c_str(), member.data.data(),
                                           static_cast<uint32_t>(member.data.size())));
        EXPECT_TRUE(m_writer.WriteFile(m_dir.Path("c.bin").c_str()));
        return ReadBytes(m_dir.Path("c.bin"));
    }

    CRecordingHandler Walk(const std::string& bytes) {
        WriteBytes(m_dir.Path("w.bin"), bytes);
        CRecordingHandler handler;
        EXPECT_TRUE(CContainerReader(CFileSystem::Active()).Walk(m_dir.Path("w.bin").c_str(), handler));
        return handler;
    }
};

TEST_F(Container, OneSmallMemberIs21Bytes) {
    EXPECT_EQ(FromHex("4B 76 00 01 00 0C  00 10 00 00 00 12 00 00 00 03  61 00  00 78 79"),
              Write({{"a", "xy"}}));
}

TEST_F(Container, EmptyMemberIsTheFlagByteAlone) {
    std::string bytes = Write({{"e", ""}, {"f", "z"}});
    EXPECT_EQ(1u, GetU32(bytes, RecordSizeAt(0)));
    EXPECT_EQ(FromHex("00 00 7A"), bytes.substr(bytes.size() - 3));

    CRecordingHandler walked = Walk(bytes);
    ASSERT_EQ(2u, walked.m_members.size());
    EXPECT_EQ("", walked.m_members[0].second);
    EXPECT_EQ("z", walked.m_members[1].second);
}

TEST_F(Container, WriterAgreesWithTheFormatForAnyBytes) {
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::vector<TestMember> members;
        for (uint32_t i = 0, count = 1 + static_cast<uint32_t>(random() % 8); i < count; ++i) {
            TestMember member;
            for (auto n = random() % 12; n > 0; --n)
                member.name += static_cast<char>(1 + random() % 255);
            for (auto n = random() % 300; n > 0; --n)
                member.data += static_cast<char>(random() % 256);
            members.push_back(member);
        }
        std::string bytes = Write(members);
        EXPECT_EQ(EncodeContainer(members), bytes);

        CRecordingHandler walked = Walk(bytes);
        ASSERT_EQ(members.size(), walked.m_members.size());
        for (std::size_t i = 0; i < members.size(); ++i) {
            EXPECT_EQ(members[i].name, walked.m_members[i].first);
            EXPECT_EQ(members[i].data, walked.m_members[i].second);
        }
    }
}

TEST_F(Container, QueueIsEmptyAfterEveryWrite) {
    Write({{"a", "xy"}});
    EXPECT_TRUE(m_writer.WriteFile(m_dir.Path("next.bin").c_str()));
    EXPECT_EQ(FromHex("4B 76 00 00 00 00"), ReadBytes(m_dir.Path("next.bin")));

    ASSERT_TRUE(m_writer.AddMember("a", "xy", 2));
    EXPECT_FALSE(m_writer.WriteFile(m_dir.Path("no such dir/x.bin").c_str()));
    EXPECT_TRUE(m_writer.WriteFile(m_dir.Path("after.bin").c_str()));
    EXPECT_EQ(6u, ReadBytes(m_dir.Path("after.bin")).size());
    EXPECT_TRUE(Walk(ReadBytes(m_dir.Path("after.bin"))).m_names.empty());  // count 0 is not walked
}

TEST_F(Container, NamesBlockHolds16000BytesAndRefusesMore) {
    int added = 0;
    for (; added < 1600; ++added)  // 9 bytes and the terminator each
        ASSERT_TRUE(m_writer.AddMember(("n" + std::to_string(10000000 + added)).c_str(), "d", 1));
    EXPECT_FALSE(m_writer.AddMember("", "d", 1));
    std::string bytes = Write({});
    EXPECT_EQ(FromHex("7D 00"), bytes.substr(4, 2));  // 10 x 1600 + 16000
    CRecordingHandler walked = Walk(bytes);
    ASSERT_EQ(1600u, walked.m_members.size());
    EXPECT_EQ("n10001599", walked.m_members.back().first);
}

TEST_F(Container, FlagTwoRecordHandsOverTheBytesAfterItsField) {
    CRecordingHandler walked = Walk(EncodeContainer({{"a", "xyz", 2}, {"b", "", 2}, {"c", "plain"}}));
    ASSERT_EQ(3u, walked.m_members.size());
    EXPECT_EQ("xyz", walked.m_members[0].second);
    EXPECT_EQ("", walked.m_members[1].second);
    EXPECT_EQ("plain", walked.m_members[2].second);
}

TEST_F(Container, WalkFollowsThePositionsNotTheOrder) {
    std::string bytes = EncodeContainer({{"a", "first"}, {"b", "second"}});
    uint32_t first = GetU32(bytes, DataPositionAt(0)), second = GetU32(bytes, DataPositionAt(1));
    PutU32(bytes, DataPositionAt(0), second);
    PutU32(bytes, DataPositionAt(1), first);
    PutU32(bytes, RecordSizeAt(0), 7);
    PutU32(bytes, RecordSizeAt(1), 6);
    CRecordingHandler walked = Walk(bytes);
    ASSERT_EQ(2u, walked.m_members.size());
    EXPECT_EQ("second", walked.m_members[0].second);
    EXPECT_EQ("first", walked.m_members[1].second);
}

TEST_F(Container, BadMagicOrCountIsNotWalked) {
    std::string good = EncodeContainer({{"a", "xy"}});
    for (unsigned count : {0u, 32000u, 65535u}) {
        std::string bytes = good;
        PutU16(bytes, 2, count);
        EXPECT_TRUE(Walk(bytes).m_names.empty()) << count;
    }
    std::string bytes = good;
    bytes[1] = 'w';
    EXPECT_TRUE(Walk(bytes).m_names.empty());
    EXPECT_TRUE(Walk("").m_names.empty());
    EXPECT_TRUE(Walk("K").m_names.empty());

    CRecordingHandler missing;
    EXPECT_FALSE(CContainerReader(CFileSystem::Active()).Walk(m_dir.Path("missing.bin").c_str(), missing));
}

// The walk skips such a record and goes on, but the file was plainly cut or forged: it says so.
TEST_F(Container, RecordReachingBeyondTheEndIsSkippedAndReported) {
    std::string bytes = EncodeContainer({{"a", "one"}, {"b", "two"}});
    PutU32(bytes, RecordSizeAt(0), 0xFFFFFFFFu);
    CRecordingHandler walked = Walk(bytes);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), walked.m_names);
    ASSERT_EQ(1u, walked.m_members.size());
    EXPECT_EQ("two", walked.m_members[0].second);
    EXPECT_EQ(1, walked.m_nCutsShort);
}

TEST_F(Container, CutShortFileHandsOverWhatWasCompleteBeforeTheCut) {
    const std::vector<std::string> names = {"a", "b", "c"};
    std::string bytes = EncodeContainer({{"a", "one"}, {"b", "two"}, {"c", "three"}});
    EXPECT_EQ(0, Walk(bytes).m_nCutsShort);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        CRecordingHandler walked = Walk(bytes.substr(0, cut));
        std::size_t complete = 0;
        for (unsigned i = 0; i < 3; ++i) {
            if (GetU32(bytes, DataPositionAt(i)) + GetU32(bytes, RecordSizeAt(i)) <= cut)
                ++complete;
        }
        EXPECT_EQ(complete, walked.m_members.size()) << cut;
        EXPECT_LE(1, walked.m_nCutsShort) << cut;
        // Names come before their records: a record cut short still had its name handed over.
        ASSERT_LE(walked.m_names.size(), 3u);
        EXPECT_GE(walked.m_names.size(),
                  complete + (complete < 3 && cut > GetU32(bytes, DataPositionAt(complete))));
        EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + walked.m_names.size()),
                  walked.m_names);
    }
}

}  // namespace
