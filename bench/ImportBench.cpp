#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "LargeSale.h"
#include "import/FolderImport.h"
#include "import/SellerSheetImport.h"
#include "storage/CachedDataTextfile.h"
#include "support/FormatText.h"
#include "support/Log.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const char* const Formats[] = {"xls", "xlsx"};

// The description of the sellers' sheets of 100 items each, for the tests' sheet writer.
std::string SheetDescription(const char* format, int sheets) {
    std::string description;
    for (int index = 0; index < sheets; ++index) {
        description +=
            Kramo::FormatText("sheet\tsheet-%03i.%s\tPredajca č. %i\tS%03i\thárok na meranie\n",
                              index, format, index, index);
        for (int item = 0; item < 100; ++item) {
            description += Kramo::FormatText("item\t%i\tDetská bunda veľkosť %i\t%0.2f\n", item + 1,
                                             item % 40 + 80, 1.5 + item % 30);
        }
    }
    return description;
}

// The sheets, written by independent writers (xlwt, openpyxl).
fs::path WriteSheets(const char* format, int sheets) {
    const fs::path made =
        fs::temp_directory_path() / Kramo::FormatText("kramo-bench-sheets-%s-%i", format, sheets);
    fs::remove_all(made);
    fs::create_directories(made);
    const std::string script = KRAMO_SOURCE_DIR "/tests/data/make_bazaar_sheets.py";
    const std::string target = made.string();
    const std::string description = (fs::temp_directory_path() / "kramo-bench-sheets.txt").string();
    std::ofstream(description) << SheetDescription(format, sheets);
    std::vector<char*> arguments = {
        const_cast<char*>("/usr/bin/python3"), const_cast<char*>(script.c_str()),
        const_cast<char*>(target.c_str()), const_cast<char*>(description.c_str()), nullptr};
    pid_t child = 0;
    int status = 0;
    if (posix_spawn(&child, arguments[0], nullptr, nullptr, arguments.data(), environ) != 0 ||
        waitpid(child, &status, 0) != child || status != 0) {
        throw std::runtime_error("could not write the benchmark sheets");
    }
    return made;
}

// Each folder is written once per run, whatever the repetitions.
const fs::path& SheetFolder(const char* format, int sheets) {
    static std::map<std::pair<std::string, int>, fs::path> folders;
    fs::path& folder = folders[{format, sheets}];
    if (folder.empty()) {
        folder = WriteSheets(format, sheets);
    }
    return folder;
}

// The sheets of 100 items in one format into an empty text-file store, every file moved to
// "finished". Arguments: the format (0 xls, 1 xlsx) and the number of sheets.
void BM_ImportFolder(benchmark::State& state) {
    Kramo::SetLogLevel(0);
    const char* format = Formats[state.range(0)];
    const int sheets = static_cast<int>(state.range(1));
    const fs::path& folder = SheetFolder(format, sheets);
    const fs::path work = fs::temp_directory_path() / "kramo-bench-import";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(work);
        fs::create_directories(work / "data");
        fs::copy(folder, work / "sheets");
        Kramo::CachedDataTextfile store((work / "data").string() + "/");
        KramoExcel::FolderImport folderImport(store, (work / "data").string() + "/", work.string());
        state.ResumeTiming();
        const KramoExcel::FolderImport::Summary summary =
            folderImport.Run((work / "sheets").string() + "/");
        if (summary.correct != sheets) {
            state.SkipWithError("not every sheet was imported");
        }
    }
    // The whole process's peak: run one case alone to compare the sizes of the folders.
    state.counters["peak_rss_MB"] = KramoBench::PeakResidentMegabytes();
    fs::remove_all(work);
}
// Only the reading of the same sheets, without the store's writes and the files' moves, which
// wait for the disk.
void BM_ReadSheets(benchmark::State& state) {
    Kramo::SetLogLevel(0);
    const char* format = Formats[state.range(0)];
    const int sheets = static_cast<int>(state.range(1));
    const fs::path& folder = SheetFolder(format, sheets);
    std::vector<std::string> paths;
    for (const auto& entry : fs::directory_iterator(folder)) {
        paths.push_back(entry.path().string());
    }
    const std::string copyFolder = fs::temp_directory_path().string();
    for (auto _ : state) {
        for (const std::string& path : paths) {
            if (KramoExcel::ImportSellerSheet(path, copyFolder, copyFolder).items.size() != 100) {
                state.SkipWithError("a sheet was not read");
            }
        }
    }
    state.counters["peak_rss_MB"] = KramoBench::PeakResidentMegabytes();
}
// The same folder as XLS and as xlsx, and a fifth of it to show memory flat in the sheets.
void FolderSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"xlsx", "sheets"})
        ->Args({0, 500})
        ->Args({1, 500})
        ->Args({1, 100})
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
}
BENCHMARK(BM_ReadSheets)->Apply(FolderSizes);
BENCHMARK(BM_ImportFolder)->Apply(FolderSizes);

}  // namespace
