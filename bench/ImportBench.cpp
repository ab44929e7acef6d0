#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "import/FolderImport.h"
#include "storage/CachedDataTextfile.h"
#include "support/FormatText.h"
#include "support/Log.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The description of 500 sellers' sheets of 100 items each, for the tests' sheet writer.
std::string SheetDescription() {
    std::string description;
    for (int index = 0; index < 500; ++index) {
        description +=
            Kramo::FormatText("sheet\tsheet-%03i.xls\tPredajca č. %i\tS%03i\thárok na meranie\n",
                              index, index, index);
        for (int item = 0; item < 100; ++item) {
            description += Kramo::FormatText("item\t%i\tDetská bunda veľkosť %i\t%0.2f\n", item + 1,
                                             item % 40 + 80, 1.5 + item % 30);
        }
    }
    return description;
}

// The sheets are written once per run by xlwt, an independent writer.
const fs::path& SheetFolder() {
    static const fs::path folder = [] {
        const fs::path made = fs::temp_directory_path() / "kramo-bench-sheets";
        fs::remove_all(made);
        fs::create_directories(made);
        const std::string script = KRAMO_SOURCE_DIR "/tests/data/make_bazaar_sheets.py";
        const std::string target = made.string();
        const std::string description =
            (fs::temp_directory_path() / "kramo-bench-sheets.txt").string();
        std::ofstream(description) << SheetDescription();
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
    }();
    return folder;
}

// 500 sheets of 100 items into an empty text-file store, every file moved to "finished".
void BM_ImportFolderOf500Sheets(benchmark::State& state) {
    Kramo::SetLogLevel(0);
    const fs::path work = fs::temp_directory_path() / "kramo-bench-import";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(work);
        fs::create_directories(work / "data");
        fs::copy(SheetFolder(), work / "sheets");
        Kramo::CachedDataTextfile store((work / "data").string() + "/");
        KramoExcel::FolderImport folderImport(store, (work / "data").string() + "/", work.string());
        state.ResumeTiming();
        const KramoExcel::FolderImport::Summary summary =
            folderImport.Run((work / "sheets").string() + "/");
        if (summary.correct != 500) {
            state.SkipWithError("not every sheet was imported");
        }
    }
    fs::remove_all(work);
}
BENCHMARK(BM_ImportFolderOf500Sheets)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
