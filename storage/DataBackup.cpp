#include "DataBackup.h"

#include <gsf/gsf-outfile-zip.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "storage/SellerFileNames.h"
#include "support/FileHandle.h"
#include "support/FileHelpers.h"
#include "support/FolderLock.h"
#include "support/FormatStream.h"
#include "support/Translation.h"

namespace Kramo {

namespace {

using Step = DataBackupException::Step;

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using GObjectHandle = std::unique_ptr<T, GObjectUnref>;

// The window description lies in the data folder but belongs to the program, not the sale.
constexpr const char* WindowFileName = "kramo.glade";

bool BelongsToBackup(const std::string& name) {
    return name != FolderLock::FileName && name != WindowFileName &&
           !IsSellerTemporaryFileName(name);
}

std::string ReadWhole(const std::string& path) {
    FileHandle file = OpenRegularFile(path, "rb");
    if (!file) {
        throw DataBackupException(Step::Reading, path, std::strerror(errno));
    }
    std::string content;
    char buffer[8192];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        content.append(buffer, count);
    }
    if (std::ferror(file.get())) {
        throw DataBackupException(Step::Reading, path, "read error");
    }
    return content;
}

bool IsBackupName(const std::string& name) {
    const std::string prefix = DataBackup::NamePrefix;
    const std::string extension = ".zip";
    return name.size() > prefix.size() + extension.size() && name.rfind(prefix, 0) == 0 &&
           name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

void AddMember(GsfOutfile& zip, const DataBackup::File& file) {
    GObjectHandle<GsfOutput> member(gsf_outfile_new_child(&zip, file.name.c_str(), FALSE));
    const bool written = member &&
                         gsf_output_write(member.get(), file.content.size(),
                                          reinterpret_cast<const guint8*>(file.content.data())) &&
                         gsf_output_close(member.get());
    if (!written) {
        throw DataBackupException(Step::Writing, file.name, "could not pack the file");
    }
}

}  // namespace

DataBackupException::DataBackupException(Step step, std::string path, const std::string& reason)
    : std::runtime_error((step == Step::Reading ? "Backup could not read '"
                                                : "Backup could not "
                                                  "write '") +
                         path + "': " + reason),
      step_(step),
      path_(std::move(path)) {}

std::string DataBackupException::UserText() const {
    const char* text = step_ == Step::Reading
                           ? _("Zálohu sa nepodarilo urobiť: súbor %s sa nedá prečítať.")
                           : _("Zálohu sa nepodarilo zapísať do súboru %s (plný alebo vybratý "
                               "disk, priečinok bez práva zápisu?). Nič neúplné tam nezostalo.");
    return (FormatStream(text) << path_).str();
}

DataBackup DataBackup::Read(const std::string& dataDirectory) {
    // Here, in the thread that reads, not in the one that may pack: the library's start is
    // not made for two threads at once.
    gsf_init();
    std::error_code error;
    std::vector<std::string> names;
    for (std::filesystem::directory_iterator entry(dataDirectory, error), end;
         !error && entry != end; entry.increment(error)) {
        std::error_code typeError;
        const std::string name = entry->path().filename().string();
        if (entry->is_regular_file(typeError) && BelongsToBackup(name)) {
            names.push_back(name);
        }
    }
    if (error) {
        throw DataBackupException(Step::Reading, dataDirectory, error.message());
    }
    std::sort(names.begin(), names.end());
    std::vector<File> files;
    for (const std::string& name : names) {
        files.push_back({name, ReadWhole(dataDirectory + name)});
    }
    return DataBackup(std::move(files));
}

std::string DataBackup::Zip() const {
    GObjectHandle<GsfOutput> memory(gsf_output_memory_new());
    GError* error = nullptr;
    GObjectHandle<GsfOutfile> zip(gsf_outfile_zip_new(memory.get(), &error));
    if (!zip) {
        const std::string reason = error != nullptr ? error->message : "no zip writer";
        g_clear_error(&error);
        throw DataBackupException(Step::Writing, "zip", reason);
    }
    for (const File& file : files_) {
        AddMember(*zip, file);
    }
    // Closing the zip writes its directory and closes the memory behind it.
    if (!gsf_output_close(GSF_OUTPUT(zip.get()))) {
        throw DataBackupException(Step::Writing, "zip", "could not finish the zip file");
    }
    const auto* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory.get()));
    return std::string(reinterpret_cast<const char*>(bytes),
                       static_cast<std::size_t>(gsf_output_size(memory.get())));
}

void DataBackup::WriteTo(const std::string& path) const {
    std::string content;
    try {
        content = Zip();
    } catch (const DataBackupException& failure) {
        throw DataBackupException(Step::Writing, path, failure.what());
    }
    if (ReplaceFileContents(path, path + ".part", content) != Replacement::Done) {
        throw DataBackupException(Step::Writing, path, std::strerror(errno));
    }
}

std::vector<std::string> DataBackup::Prune(const std::string& folder, int keep) {
    std::vector<std::string> backups;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        std::error_code typeError;
        const std::string name = entry->path().filename().string();
        if (IsBackupName(name) && entry->is_regular_file(typeError)) {
            backups.push_back(name);
        }
    }
    std::vector<std::string> removed;
    if (keep < 1 || backups.size() <= static_cast<std::size_t>(keep)) {
        return removed;
    }
    std::sort(backups.begin(), backups.end());
    backups.resize(backups.size() - static_cast<std::size_t>(keep));
    for (const std::string& name : backups) {
        if (std::remove((folder + name).c_str()) == 0) {
            removed.push_back(name);
        }
    }
    return removed;
}

}  // namespace Kramo
