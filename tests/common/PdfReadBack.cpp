#include "PdfReadBack.h"

#include "common/TemporaryDirectory.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <locale>
#include <regex>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace KramoTest {

ToolRun RunTool(const std::vector<std::string>& arguments) {
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int ends[2];
    if (::pipe(ends) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addclose(&actions, ends[1]);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    ToolRun run;
    if (spawned != 0) {
        ::close(ends[0]);
        throw std::runtime_error("cannot start " + arguments.front());
    }
    std::array<char, 4096> buffer{};
    ssize_t count = 0;
    while ((count = ::read(ends[0], buffer.data(), buffer.size())) > 0) {
        run.output.append(buffer.data(), static_cast<std::size_t>(count));
    }
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> PdfReadBack::Barcodes(int dotsPerInch) const {
    const TemporaryDirectory pages;
    RunTool({"pdftoppm", "-r", std::to_string(dotsPerInch), "-gray", "-png", path_,
             pages.File("page")});
    std::vector<std::string> images;
    for (const auto& entry : std::filesystem::directory_iterator(pages.Path())) {
        images.push_back(entry.path().string());
    }
    std::sort(images.begin(), images.end());
    std::vector<std::string> arguments{"zbarimg", "-q", "--raw"};
    arguments.insert(arguments.end(), images.begin(), images.end());
    std::vector<std::string> barcodes;
    std::istringstream lines(RunTool(arguments).output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) {
            barcodes.push_back(line);
        }
    }
    return barcodes;
}

std::string PdfReadBack::Text() const {
    return RunTool({"pdftotext", "-layout", "-enc", "UTF-8", path_, "-"}).output;
}

std::vector<std::string> PdfReadBack::Pages() const {
    std::vector<std::string> pages;
    std::string text = Text();
    std::string::size_type start = 0;
    std::string::size_type feed = 0;
    while ((feed = text.find('\f', start)) != std::string::npos) {
        pages.push_back(text.substr(start, feed - start));
        start = feed + 1;
    }
    return pages;
}

std::vector<std::string> PdfReadBack::Lines(std::size_t page) const {
    std::vector<std::string> lines;
    std::istringstream stream(Pages().at(page));
    std::string line;
    while (std::getline(stream, line)) {
        line.erase(line.find_last_not_of(' ') + 1);
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::vector<std::string> PdfReadBack::Bookmarks() const {
    // qpdf lists a bookmark's children before its own title: order the titles by depth.
    const std::string json = RunTool({"qpdf", "--json=2", "--json-key=outlines", path_}).output;
    const std::regex title("^\"title\": \"([^\"]*)\"");
    std::vector<std::pair<int, std::string>> found;
    int depth = 0;
    bool inString = false;
    for (auto at = json.begin(); at != json.end(); ++at) {
        std::smatch match;
        // Anchored at this character: a search over the rest at every character would take
        // minutes for a document of some hundred bookmarks.
        if (!inString && std::regex_search(at, json.end(), match, title,
                                           std::regex_constants::match_continuous)) {
            found.emplace_back(depth, match[1]);
            at += match.length(0) - 1;
            continue;
        }
        if (*at == '"' && (at == json.begin() || at[-1] != '\\')) {
            inString = !inString;
        } else if (!inString && (*at == '[' || *at == '{')) {
            ++depth;
        } else if (!inString && (*at == ']' || *at == '}')) {
            --depth;
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& left, const auto& right) { return left.first < right.first; });
    std::vector<std::string> titles;
    for (const auto& entry : found) {
        titles.push_back(entry.second);
    }
    return titles;
}

namespace {

// pdftotext writes its numbers with a decimal point whatever the test's locale.
double Number(const std::string& text) {
    std::istringstream stream(text);
    stream.imbue(std::locale::classic());
    double value = 0.0;
    stream >> value;
    return value;
}

}  // namespace

std::vector<PdfPageWords> PdfReadBack::Words() const {
    const std::string html = RunTool({"pdftotext", "-bbox", "-enc", "UTF-8", path_, "-"}).output;
    const std::regex element(
        "<page width=\"([0-9.]+)\" height=\"([0-9.]+)\">|"
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
        "yMax=\"([0-9.]+)\">([^<]*)</word>");
    std::vector<PdfPageWords> pages;
    for (auto at = std::sregex_iterator(html.begin(), html.end(), element);
         at != std::sregex_iterator(); ++at) {
        const std::smatch& match = *at;
        if (match[1].matched) {
            pages.push_back({Number(match[1]), Number(match[2]), {}});
        } else if (!pages.empty()) {
            pages.back().words.push_back(
                {match[7], Number(match[3]), Number(match[4]), Number(match[5]), Number(match[6])});
        }
    }
    return pages;
}

bool PdfReadBack::StructureIsSound(std::string& report) const {
    const ToolRun run = RunTool({"qpdf", "--check", path_});
    report = run.output;
    return run.exitCode == 0;
}

}  // namespace KramoTest
