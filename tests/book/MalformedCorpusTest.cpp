// Loads every file that make_book_files.py built, each breaking one rule, and checks the verdict
// its manifest gives, within the time and memory bounds of any load.
// Usage: malformed_corpus_test [gtest options] DIR
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "Book.h"
#include "LoadProbe.h"

namespace {

std::string g_strDir;

struct Case {
    std::string file;
    std::string verdict;
    std::string what;
};

std::vector<Case> Manifest() {
    std::vector<Case> cases;
    std::ifstream in(g_strDir + "/manifest.txt");
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        Case entry;
        std::getline(fields, entry.file, '\t');
        std::getline(fields, entry.verdict, '\t');
        std::getline(fields, entry.what);
        cases.push_back(entry);
    }
    return cases;
}

TEST(MalformedCorpus, EveryFileGetsItsVerdictWithinTheBounds) {
    const std::vector<Case> cases = Manifest();
    ASSERT_FALSE(cases.empty()) << "no manifest in " << g_strDir;
    auto book = std::make_unique<CBook>();
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.file + ": " + entry.what);
        ASSERT_TRUE(entry.verdict == "valid" || entry.verdict == "invalid") << entry.verdict;
        CLoadProbe probe(*book, g_strDir + "/" + entry.file);
        EXPECT_EQ(entry.verdict == "valid", probe.Load());
        // A walk that only measures the chapter texts comes to the same verdict.
        CBook::LoadReport report;
        EXPECT_EQ(entry.verdict == "valid", book->LoadFromFile((g_strDir + "/" + entry.file).c_str(), false, report));
        EXPECT_EQ(entry.verdict == "valid", report.problem.empty()) << report.problem;
        // These files are small: a load of any of them stays within its size and the constant.
        std::ifstream file(g_strDir + "/" + entry.file, std::ios::binary | std::ios::ate);
        EXPECT_LE(probe.Peak(), static_cast<std::size_t>(file.tellg()) + CLoadProbe::kSlack);
    }
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: malformed_corpus_test [gtest options] DIR\n");
        return 2;
    }
    g_strDir = argv[1];
    return RUN_ALL_TESTS();
}
