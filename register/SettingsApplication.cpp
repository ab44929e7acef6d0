#include "SettingsApplication.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/StorageExceptions.h"
#include "register/ExceptionHandlers.h"
#include "settings/ProgramFolders.h"
#include "storage/CachedDataTextfile.h"
#include "storage/DataPostgresPqxx.h"
#include "support/FileHelpers.h"
#include "support/FormatText.h"
#include "support/Log.h"
#include "support/Translation.h"
#include "support/UserMessages.h"

namespace Kramo {
namespace {

std::unique_ptr<DataAccessInterface> OpenDatabaseStore(KramoSettings& settings) {
    const PostgresConnection connection{settings.ServerAddress(), settings.User(),
                                        settings.Password(),      settings.DatabaseName(),
                                        settings.Port(),          settings.DatabaseTimeout()};
    // With the database the sale's name is the one kept there, for every cash desk alike.
    std::string saleName = settings.SaleName();
    auto store = std::make_unique<DataPostgresPqxx>(
        connection, saleName, [](const std::exception& failure) { HandleException(failure); });
    settings.SetSaleName(saleName);
    return store;
}

// Boxes list this many files at most; the log names them all.
constexpr std::size_t ReportedFiles = 10;

// One box for every seller file that was skipped or set aside.
void ReportLoadedFolder(const std::vector<std::string>& report) {
    if (report.empty()) {
        return;
    }
    std::string text;
    for (std::size_t i = 0; i < report.size() && i < ReportedFiles; ++i) {
        text += report[i] + "\n";
    }
    if (report.size() > ReportedFiles) {
        text += FormatText(_("… a ďalšie (%zu), všetky sú uvedené v kramo-log.txt.\n"),
                           report.size() - ReportedFiles);
    }
    ShowErrorBox(text, _("Niektoré súbory v priečinku s údajmi program nenačítal"));
}

std::unique_ptr<DataAccessInterface> OpenStore(KramoSettings& settings) {
    if (!settings.DatabaseInLocalFiles()) {
        return OpenDatabaseStore(settings);
    }
    // A fresh installation, or settings naming a new folder: the sellers' files need a home.
    // An installed program's bazaar folder may be new as a whole.
    if (!settings.BazaarDirectory().empty()) {
        ProgramFolders::CreateFolders(settings.BazaarDirectory());
    }
    CreateDirectoryIfMissing(settings.DataDirectory());
    auto store = std::make_unique<CachedDataTextfile>(settings.DataDirectory());
    ReportLoadedFolder(store->LoadReport());
    return store;
}

}  // namespace

void ApplySettings(KramoSettings& settings, KramoRegister& kramoRegister,
                   UserInterfaceBase* userInterface) {
    if (settings.FontSize() != -1 && userInterface != nullptr) {
        userInterface->InstallFontStyle(settings.FontSize());
    }
    kramoRegister.ReleaseStore();

    std::string error;
    std::string primary = _("Error initing dialog.");
    std::string detail;
    try {
        kramoRegister.ReplaceStore(OpenStore(settings));
    } catch (const DataFolderInUseException& failure) {
        error = failure.what();
        primary = _("Údaje sú už otvorené v inom programe Kramo");
        // The folder goes in by hand: a path may be longer than a formatted text holds.
        detail =
            _("Priečinok s údajmi „%s“ už používa iný spustený program Kramo. Pokračujte "
              "v ňom, alebo ho zatvorte a spustite tento program znova.");
        const std::size_t at = detail.find("%s");
        if (at != std::string::npos) {
            detail.replace(at, 2, failure.Folder());
        }
    } catch (const DataStorageException& failure) {
        error = failure.what();
    } catch (...) {
        error = "Error initializing data connection";
    }
    if (error.empty()) {
        return;
    }
    LogMessage(LogError, "%s\n", error.c_str());
    ShowErrorBox(detail.empty() ? error : detail, primary);
    throw std::runtime_error(error);
}

}  // namespace Kramo
