#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "import/FolderImport.h"
#include "storage/CachedDataTextfile.h"
#include "support/Log.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The sheets are written once per run by xlwt, an independent writer.
const fs::path& SheetFolder() {
    static const fs::path folder = [] {
        const fs::path made = fs::temp_directory_path() / "kramo-bench-sheets";
        fs::remove_all(made);
        fs::create_directories(made);
        const std::string script = KRAMO_SOURCE_DIR "/bench/make_sheets.py";
        const std::string target = made.string();
        std::vector<char*> arguments = {const_cast<char*>("/usr/bin/python3"),
                                        const_cast<char*>(script.c_str()),
                                        const_cast<char*>(target.c_str()),
                                        const_cast<char*>("500"),
                                        const_cast<char*>("100"),
                                        nullptr};
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
