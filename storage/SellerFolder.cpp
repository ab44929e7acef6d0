#include "SellerFolder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "core/StorageExceptions.h"
#include "storage/DataTextfile.h"
#include "storage/SellerFileNames.h"
#include "support/FileFinder.h"
#include "support/FileHelpers.h"
#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

// A file read, with what tells which of two files of one seller was written last.
struct Candidate {
    LoadedSellerFile file;
    timespec modified{};
    timespec changed{};
};

bool operator<(const timespec& a, const timespec& b) {
    return std::tie(a.tv_sec, a.tv_nsec) < std::tie(b.tv_sec, b.tv_nsec);
}

// Written last: the later modification; then a file under the name its content gives it
// (not a copy under another name); then the later change of the entry (a rename sets it);
// then the name that sorts first.
bool WrittenBefore(const Candidate& a, const Candidate& b) {
    const auto canonical = [](const Candidate& c) {
        const Seller& seller = c.file.seller;
        return c.file.name == SellerFileName(seller.ID, seller.SHORT_CODE, seller.NAME);
    };
    if (a.modified < b.modified || b.modified < a.modified) {
        return a.modified < b.modified;
    }
    if (canonical(a) != canonical(b)) {
        return canonical(b);
    }
    if (a.changed < b.changed || b.changed < a.changed) {
        return a.changed < b.changed;
    }
    return a.file.name > b.file.name;
}

void RemoveLeftoverTemporaryFiles(const std::string& directory) {
    const std::shared_ptr<FileFinder> finder = FileFinder::Acquire();
    for (bool found = finder->FindFirst(directory + "*.tmp*"); found; found = finder->FindNext()) {
        const std::string& name = finder->FoundName();
        if (!finder->FoundIsDirectory() && IsSellerTemporaryFileName(name)) {
            LogMessage(LogInfo, "Removing '%s', left by a write that was cut short\n",
                       name.c_str());
            std::remove((directory + name).c_str());
        }
    }
}

std::vector<std::string> TextFileNames(const std::string& directory) {
    std::vector<std::string> names;
    const std::shared_ptr<FileFinder> finder = FileFinder::Acquire();
    for (bool found = finder->FindFirst(directory + "*.txt"); found; found = finder->FindNext()) {
        names.push_back(finder->FoundName());
    }
    return names;
}

// The file read, or nothing when it is skipped (logged and reported).
std::optional<Candidate> ReadCandidate(DataTextfile& reader, const std::string& directory,
                                       const std::string& name, const Seller& opened,
                                       std::vector<std::string>& report) {
    const std::string path = directory + name;
    Candidate candidate{{name, opened, {}}, {}, {}};
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        LogMessage(LogError, "Skipping '%s': not a regular file\n", path.c_str());
        report.push_back(
            (FormatStream(_("„%s“ nie je obyčajný súbor, nenačítal sa.")) << name).str());
        return std::nullopt;
    }
    candidate.modified = status.st_mtim;
    candidate.changed = status.st_ctim;
    try {
        reader.LoadFromTxtFile(path, candidate.file.seller, candidate.file.items);
    } catch (const std::exception& failure) {
        LogMessage(LogError, "Skipping '%s', it cannot be read: %s\n", path.c_str(),
                   failure.what());
        report.push_back((FormatStream(_("„%s“ sa nedá prečítať, nenačítal sa.")) << name).str());
        return std::nullopt;
    }
    const int32_t id = candidate.file.seller.ID;
    if (id < 1 || id > MaxSellerId) {
        LogMessage(LogError, "Skipping '%s': seller ID %i out of range\n", path.c_str(), id);
        report.push_back((FormatStream(_("„%s“ má v hlavičke neplatné číslo predajcu (%i), "
                                         "nenačítal sa a zostal nezmenený."))
                          << name << id)
                             .str());
        return std::nullopt;
    }
    return candidate;
}

// A name in the set-aside folder that no earlier set-aside file has: "name", "name (2)", ...
std::string FreeSetAsideName(const std::string& folder, const std::string& name) {
    const std::string stem = name.substr(0, name.size() - 4);  // without ".txt"
    const std::string extension = name.substr(stem.size());
    std::string candidate = name;
    struct stat status {};
    for (int number = 2; ::lstat((folder + candidate).c_str(), &status) == 0; ++number) {
        candidate = stem + FormatText(" (%i)", number) + extension;
    }
    return candidate;
}

// Moves the file into the set-aside folder; the name it got there, or nothing.
std::optional<std::string> SetAside(const std::string& directory, const std::string& name) {
    const std::string folder = directory + SetAsideFolderName + "/";
    if (!CreateDirectoryIfMissing(folder)) {
        return std::nullopt;
    }
    const std::string target = FreeSetAsideName(folder, name);
    if (std::rename((directory + name).c_str(), (folder + target).c_str()) != 0) {
        return std::nullopt;
    }
    return target;
}

void ReportSetAside(const std::string& directory, const Candidate& kept, const Candidate& other,
                    std::vector<std::string>& report) {
    const std::string& keptName = kept.file.name;
    const std::string& name = other.file.name;
    const int32_t id = kept.file.seller.ID;
    const std::optional<std::string> target = SetAside(directory, name);
    if (!target) {
        LogMessage(LogError, "Two files of seller %i: kept '%s', could not set aside '%s'\n", id,
                   keptName.c_str(), name.c_str());
        report.push_back((FormatStream(_("Predajca %i má viac súborov: platí novší „%s“, starší "
                                         "„%s“ sa nedal odložiť a nenačítal sa."))
                          << id << keptName << name)
                             .str());
        return;
    }
    LogMessage(LogError, "Two files of seller %i: kept '%s', set aside '%s' as '%s/%s'\n", id,
               keptName.c_str(), name.c_str(), SetAsideFolderName, target->c_str());
    if (*target == name) {
        report.push_back((FormatStream(_("Predajca %i má viac súborov: platí novší „%s“, starší "
                                         "„%s“ je odložený v priečinku „%s“."))
                          << id << keptName << name << SetAsideFolderName)
                             .str());
        return;
    }
    // TRANSLATORS: the last name is the one the older file got in the set-aside folder.
    report.push_back((FormatStream(_("Predajca %i má viac súborov: platí novší „%s“, starší „%s“ "
                                     "je odložený v priečinku „%s“ ako „%s“."))
                      << id << keptName << name << SetAsideFolderName << *target)
                         .str());
}

}  // namespace

std::vector<LoadedSellerFile> LoadSellerFolder(DataTextfile& reader, const std::string& directory,
                                               const Seller& opened,
                                               std::vector<std::string>& report) {
    RemoveLeftoverTemporaryFiles(directory);
    std::vector<Candidate> candidates;
    for (const std::string& name : TextFileNames(directory)) {
        if (std::optional<Candidate> candidate =
                ReadCandidate(reader, directory, name, opened, report)) {
            candidates.push_back(std::move(*candidate));
        }
    }
    // The newest file of each seller.
    std::map<int32_t, const Candidate*> newest;
    for (const Candidate& candidate : candidates) {
        const Candidate*& kept = newest[candidate.file.seller.ID];
        if (kept == nullptr || WrittenBefore(*kept, candidate)) {
            kept = &candidate;
        }
    }
    std::vector<LoadedSellerFile> files;
    for (const Candidate& candidate : candidates) {
        const Candidate& kept = *newest.at(candidate.file.seller.ID);
        if (&kept == &candidate) {
            files.push_back(candidate.file);
        } else {
            ReportSetAside(directory, kept, candidate, report);
        }
    }
    return files;
}

}  // namespace Kramo
