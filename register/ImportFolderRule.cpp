#include "ImportFolderRule.h"

#include <filesystem>
#include <system_error>

#include "support/Translation.h"

namespace Kramo {
namespace {

// Compared as folders on the disk: a link or a trailing '/' names the same folder.
bool SameFolder(const std::string& one, const std::string& other) {
    std::error_code error;
    return std::filesystem::equivalent(one, other, error);
}

// Any entry of that name counts, a dangling link too.
bool Holds(const std::string& folder, const char* name) {
    std::error_code error;
    return std::filesystem::symlink_status(std::filesystem::path(folder) / name, error).type() !=
           std::filesystem::file_type::not_found;
}

}  // namespace

// Translated where the box shows it.
const char* const RefusedImportFolderTitle = N_("Z tohto priečinka sa nedá importovať");

std::optional<std::string> RefusedImportFolder(const std::string& folder,
                                               const KramoSettings& settings) {
    if (!SameFolder(folder, settings.DataDirectory()) &&
        !SameFolder(folder, settings.ProgramDirectory()) && !Holds(folder, "kramo.glade") &&
        !Holds(folder, "kramo.xml")) {
        return std::nullopt;
    }
    // The folder goes in by hand: a path may be longer than a formatted text holds.
    std::string refusal =
        _("Priečinok %s patrí programu alebo jeho údajom (je to priečinok programu, priečinok data "
          "alebo obsahuje kramo.glade či kramo.xml). Import presúva všetky súbory priečinka do "
          "podpriečinkov finished a error, preto sa tu nespustí. Vyberte priečinok, v ktorom "
          "sú len hárky predajcov.");
    const std::size_t at = refusal.find("%s");
    if (at != std::string::npos) {
        refusal.replace(at, 2, folder);
    }
    return refusal;
}

}  // namespace Kramo
