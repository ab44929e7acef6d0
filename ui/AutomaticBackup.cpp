#include "AutomaticBackup.h"

#include <glibmm/main.h>

#include "register/DocumentNames.h"
#include "support/FormatStream.h"
#include "support/Log.h"
#include "support/Translation.h"
#include "support/UserMessages.h"

namespace KramoDialogs {

AutomaticBackup::AutomaticBackup(const Kramo::KramoSettings& settings) : settings_(settings) {
    // Counted in minutes, so that a changed interval applies from the next minute on.
    timer_ = Glib::signal_timeout().connect_seconds(
        sigc::mem_fun(*this, &AutomaticBackup::OnMinute), 60);
    written_.connect(sigc::mem_fun(*this, &AutomaticBackup::OnWritten));
}

AutomaticBackup::~AutomaticBackup() {
    timer_.disconnect();
    if (writer_.joinable()) {
        writer_.join();
    }
}

bool AutomaticBackup::OnMinute() {
    const int every = settings_.BackupEveryMinutes();
    if (every > 0 && ++minutesWaited_ >= every && BackUpNow()) {
        minutesWaited_ = 0;
    }
    return true;
}

bool AutomaticBackup::BackUpNow() {
    std::string folder = settings_.BackupFolder();
    if (busy_ || folder.empty() || !settings_.DatabaseInLocalFiles()) {
        return false;
    }
    if (folder.back() != '/') {
        folder += '/';
    }
    std::optional<Kramo::DataBackup> backup;
    try {
        backup = Kramo::DataBackup::Read(settings_.DataDirectory());
    } catch (const Kramo::DataBackupException& failure) {
        Report(failure);
        return true;  // tried; the next one comes at the usual time
    }
    if (writer_.joinable()) {
        writer_.join();  // finished already: its outcome has been handled
    }
    busy_ = true;
    target_ = Kramo::FreeFilePath(folder, Kramo::TimeStampedFileName("Zaloha", "zip"));
    writer_ = std::thread([this, backup = std::move(*backup), target = target_, folder,
                           keep = settings_.BackupKeep()] {
        std::optional<Kramo::DataBackupException> failure;
        try {
            backup.WriteTo(target);
            Kramo::DataBackup::Prune(folder, keep);
        } catch (const Kramo::DataBackupException& caught) {
            failure = caught;
        }
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            failure_ = std::move(failure);
        }
        written_.emit();
    });
    return true;
}

void AutomaticBackup::OnWritten() {
    std::optional<Kramo::DataBackupException> failure;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        failure.swap(failure_);
    }
    busy_ = false;
    if (failure) {
        Report(*failure);
    } else {
        Kramo::LogMessage(Kramo::LogInfo, "Automatic backup written to '%s'\n", target_.c_str());
    }
}

void AutomaticBackup::Report(const Kramo::DataBackupException& failure) {
    Kramo::LogMessage(Kramo::LogError, "Automatic backup failed: %s\n", failure.what());
    // Once per kind: a stick pulled out would otherwise bring a box every few minutes.
    if (reported_.insert(failure.FailedStep()).second) {
        Kramo::ShowErrorBox((Kramo::FormatStream(_("%s Predaj pokračuje; ďalšia automatická "
                                                   "záloha sa skúsi o nastavený čas."))
                             << failure.UserText())
                                .str(),
                            _("Automatická záloha údajov"));
    }
}

}  // namespace KramoDialogs
