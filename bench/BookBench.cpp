// Save and load throughput of a large book beside a plain write and read of the same number of
// bytes through the same file API, with the ratios printed at the end.
//   bench_book [--chapters=N] [--chapter-kib=K] [--dir=PATH] [--smoke] [benchmark options]
// Files go to the temporary directory unless --dir names another (--dir=/dev/shm leaves the disk out).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "Book.h"
#include "FileSystem.h"

namespace {

int g_nChapters = 1000;
int g_nChapterKiB = 100;
std::string g_strBookPath, g_strPlainPath;
std::string g_strFileBytes;  // the saved book, written and read by the plain copies

void BM_SaveBook(benchmark::State& state) {
    for (auto _ : state) {
        if (!theBook.SaveToFile(g_strBookPath.c_str()))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(g_strFileBytes.size()));
}

void BM_PlainWrite(benchmark::State& state) {
    CFileSystem& fileSystem = CFileSystem::Active();
    for (auto _ : state) {
        std::string tempPath;
        CFileSystem::Handle file = fileSystem.CreateTemp(g_strPlainPath, tempPath);
        bool ok = file && fileSystem.Write(file, g_strFileBytes.data(), g_strFileBytes.size()) ==
                              g_strFileBytes.size();
        ok = file && fileSystem.Flush(file) && ok;
        ok = file && fileSystem.Close(file) && ok;
        if (!ok || !fileSystem.Replace(tempPath, g_strPlainPath))
            state.SkipWithError("plain write failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(g_strFileBytes.size()));
}

void BM_LoadBook(benchmark::State& state) {
    static CBook loaded;
    for (auto _ : state) {
        if (!loaded.LoadFromFile(g_strBookPath.c_str()))
            state.SkipWithError("load failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(g_strFileBytes.size()));
}

// Reads into memory it allocates, as a load must: into a buffer that is already in use, the same
// read takes about a fifth of the time, the rest being the system handing out fresh pages.
void BM_PlainRead(benchmark::State& state) {
    for (auto _ : state) {
        std::string bytes;
        std::FILE* file = std::fopen(g_strPlainPath.c_str(), "rb");
        long size = file && std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
        if (size >= 0 && std::fseek(file, 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<std::size_t>(size));
            if (std::fread(&bytes[0], 1, bytes.size(), file) != bytes.size())
                state.SkipWithError("plain read failed");
        }
        if (file)
            std::fclose(file);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(g_strFileBytes.size()));
}

BENCHMARK(BM_SaveBook)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainWrite)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBook)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainRead)->UseRealTime()->Unit(benchmark::kMillisecond);

// Remembers each benchmark's times per iteration (the median when repeated) for the ratios.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    CRatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                m_times[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // Throughput of the book operation as a share of the plain copy's.
    void PrintRatio(const char* what, const char* book, const char* plain) {
        if (!m_times.count(book) || !m_times.count(plain))
            return;
        std::printf("%s throughput / plain copy: %.2f real time, %.2f CPU time\n", what,
                    m_times[plain].first / m_times[book].first, m_times[plain].second / m_times[book].second);
    }

private:
    std::map<std::string, std::pair<double, double>> m_times;
};

void FillBook() {
    std::mt19937 random(1);
    std::string text(static_cast<std::size_t>(g_nChapterKiB) * 1024, ' ');
    for (int i = 0; i < g_nChapters; ++i) {
        for (char& c : text)
            c = static_cast<char>('a' + random() % 26);
        theBook.SetChapterTitle(i, "Chapter " + std::to_string(i + 1));
        theBook.SetChapterText(i, text);
    }
    theBook.SetAuthor("Author");
    theBook.SetTitle("Benchmark");
}

// Takes this program's own options out of the argument list.
std::vector<char*> ReadOptions(int argc, char** argv, std::string& dir, bool& smoke) {
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind("--chapters=", 0) == 0)
            g_nChapters = std::atoi(arg.c_str() + 11);
        else if (arg.rfind("--chapter-kib=", 0) == 0)
            g_nChapterKiB = std::atoi(arg.c_str() + 14);
        else if (arg.rfind("--dir=", 0) == 0)
            dir = arg.substr(6);
        else if (arg == "--smoke")
            smoke = true;
        else
            rest.push_back(argv[i]);
    }
    return rest;
}

}  // namespace

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::string dir = fs::temp_directory_path().string();
    bool smoke = false;
    std::vector<char*> args = ReadOptions(argc, argv, dir, smoke);
    // The machine is shared: repeat in random order and compare medians.
    static char repetitions[] = "--benchmark_repetitions=7";
    static char interleave[] = "--benchmark_enable_random_interleaving=true";
    static char aggregates[] = "--benchmark_report_aggregates_only=true";
    static char minTime[] = "--benchmark_min_time=0.01";
    if (smoke) {
        g_nChapters = 10;
        g_nChapterKiB = 4;
        args.push_back(minTime);
    } else {
        args.insert(args.begin() + 1, {repetitions, interleave, aggregates});
    }
    fs::path work = fs::path(dir) / ("qb-bench-" + std::to_string(std::random_device()()));
    fs::create_directories(work);
    g_strBookPath = (work / "bench.book").string();
    g_strPlainPath = (work / "plain.bin").string();

    FillBook();
    if (!theBook.SaveToFile(g_strBookPath.c_str()) || !theBook.LoadFromFile(g_strBookPath.c_str())) {
        std::fprintf(stderr, "cannot save and load the book in %s\n", work.string().c_str());
        return 1;
    }
    FillBook();
    std::FILE* file = std::fopen(g_strBookPath.c_str(), "rb");
    g_strFileBytes.resize(static_cast<std::size_t>(fs::file_size(g_strBookPath)));
    bool read =
        file && std::fread(&g_strFileBytes[0], 1, g_strFileBytes.size(), file) == g_strFileBytes.size();
    if (file)
        std::fclose(file);
    std::FILE* plain = std::fopen(g_strPlainPath.c_str(), "wb");
    if (!read || !plain) {
        std::fprintf(stderr, "cannot prepare the plain copy in %s\n", work.string().c_str());
        return 1;
    }
    std::fwrite(g_strFileBytes.data(), 1, g_strFileBytes.size(), plain);
    std::fclose(plain);
    std::printf("book: %d chapters of %d KiB, file of %zu bytes in %s\n", g_nChapters, g_nChapterKiB,
                g_strFileBytes.size(), work.string().c_str());

    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("save", "BM_SaveBook", "BM_PlainWrite");
    reporter.PrintRatio("load", "BM_LoadBook", "BM_PlainRead");

    std::error_code error;
    fs::remove_all(work, error);
    return 0;
}
