// Every input the fuzzer ever crashed on, and the seeds, through the fuzz target once more.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsIn(const char* folder) {
    std::vector<fs::path> inputs;
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::path(QB_FUZZ_DIR) / folder)) {
        if (entry.is_regular_file() && entry.path().filename() != "README")
            inputs.push_back(entry.path());
    }
    return inputs;
}

void Replay(const fs::path& input) {
    std::ifstream in(input, std::ios::binary);
    ASSERT_TRUE(in) << input;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(input.string());
    // The target aborts on any broken promise of the loader; a sanitizer build also stops on the
    // memory faults the fuzzer found.
    EXPECT_EQ(0, LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

TEST(FuzzReplay, CrashInputs) {
    for (const fs::path& input : InputsIn("crashes"))
        Replay(input);
}

TEST(FuzzReplay, SeedCorpus) {
    std::vector<fs::path> seeds = InputsIn("corpus");
    EXPECT_FALSE(seeds.empty());
    for (const fs::path& input : seeds)
        Replay(input);
}

}  // namespace
