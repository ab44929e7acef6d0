#include <glibmm/init.h>
#include <gtkmm/main.h>

#include <clocale>
#include <exception>
#include <memory>
#include <string>

#include "core/StorageExceptions.h"
#include "register/CentralInstance.h"
#include "settings/ProgramFolders.h"
#include "support/FileFinder.h"
#include "support/FileHelpers.h"
#include "support/Log.h"
#include "support/Translation.h"
#include "ui/UserInterface.h"
#include "ui/VanishedWindows.h"

namespace {

using Kramo::LogMessage;
using Kramo::LogNotice;

// The report of a failure that ended the start-up or the main loop, as the log shows it.
std::string FailureReport() {
    try {
        throw;
    } catch (const Kramo::DataStorageException& failure) {
        return std::string("DataStorageException: ") + failure.what();
    } catch (const std::exception& failure) {
        return std::string("std::exception: ") + failure.what();
    } catch (const std::exception* failure) {
        return std::string("Wrong format of exception - pointer - std::exception: ") +
               failure->what();
    } catch (...) {
        return "Unknown exception.";
    }
}

void RunProgram(Kramo::CentralInstance& central) {
    LogMessage(LogNotice, "Loading and applying settings\n");
    central.Settings().LoadSettings();
    central.ApplySettings();

    LogMessage(LogNotice, "SetupDialogs\n");
    Kramo::UserInterfaceBase& windows = *central.UserInterface();
    if (!windows.SetupDialogs()) {
        // Incomplete windows are never run: the start-up ends in order.
        throw std::runtime_error("The windows could not be built.");
    }
    windows.LoadSellers();

    LogMessage(LogNotice, "Gtk::Main::run()\n");
    windows.Run();
}

}  // namespace

int main(int argc, char** argv) {
    // An installed program logs into the user's state folder, a build folder where it runs.
    const Kramo::ProgramFolders folders = Kramo::ProgramFolders::ForRunningProgram();
    if (folders.Installed()) {
        Kramo::ProgramFolders::CreateFolders(Kramo::DirectoryOfPath(folders.LogFile()));
    }
    Kramo::SetLogFile(folders.LogFile());
    Kramo::SetLogLevel(3);
    LogMessage(LogNotice, "=== Kramo starting ===\n");
    LogMessage(LogNotice, "main2 starting\n");

    LogMessage(LogNotice, "Call to Glib::init\n");
    Glib::init();

    LogMessage(LogNotice, "Creating central instance\n");
    Kramo::CentralInstance::SetUserInterfaceFactory([](Kramo::CentralInstance& central) {
        return std::make_unique<KramoDialogs::UserInterface>(central.Settings(), central.Register(),
                                                             central.Search());
    });
    Kramo::CentralInstance& central = Kramo::CentralInstance::Instance();

    LogMessage(LogNotice, "Creating conv funcs\n");
    std::shared_ptr<Kramo::FileFinder> fileFinder = Kramo::FileFinder::Acquire();

    LogMessage(LogNotice, "Gtk::Main\n");
    Gtk::Main toolkit(argc, argv);
    KramoDialogs::SurviveVanishedWindows();
    // The toolkit takes the user's locale; numbers in files, documents and SQL use a point.
    std::setlocale(LC_NUMERIC, "C");
    // The interface speaks the language of the desktop's locale where a catalogue has it.
    Kramo::StartTranslations(folders.LocaleDirectory());

    try {
        RunProgram(central);
    } catch (...) {
        const std::string report = FailureReport();
        LogMessage(Kramo::LogError, "Exception - %s\n", report.c_str());
    }

    LogMessage(LogNotice, "Finishing application...\n");
    fileFinder.reset();
    LogMessage(LogNotice, "Removing central instance\n");
    Kramo::CentralInstance::Remove();
    LogMessage(LogNotice, "Finished.\n");
    return 0;
}
