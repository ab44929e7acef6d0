#pragma once

#include <glibmm/dispatcher.h>
#include <sigc++/connection.h>

#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "settings/KramoSettings.h"
#include "storage/DataBackup.h"

namespace KramoDialogs {

// The backups the settings ask for during the sale: every so many minutes the text store's data
// folder is read at once in the interface thread (a moment: the files are small) and packed and
// written by a thread of its own, so that the cashier never waits for a slow stick. A failure
// is logged and shown once per kind; the sale goes on. The database has its own backups.
class AutomaticBackup {
  public:
    explicit AutomaticBackup(const Kramo::KramoSettings& settings);
    // Waits for a backup still being written.
    ~AutomaticBackup();
    AutomaticBackup(const AutomaticBackup&) = delete;
    AutomaticBackup& operator=(const AutomaticBackup&) = delete;

    // Starts a backup into the settings' folder now; false when none is asked for, the data
    // is in the database or the last backup is still being written.
    bool BackUpNow();
    // Whether a backup is being written; false again once its outcome has been handled.
    bool Busy() const { return busy_; }

  private:
    bool OnMinute();
    void OnWritten();
    void Report(const Kramo::DataBackupException& failure);

    const Kramo::KramoSettings& settings_;
    int minutesWaited_ = 0;
    sigc::connection timer_;
    Glib::Dispatcher written_;
    std::thread writer_;
    bool busy_ = false;
    std::string target_;  // the backup being written
    std::set<Kramo::DataBackupException::Step> reported_;
    std::mutex mutex_;
    std::optional<Kramo::DataBackupException> failure_;  // the writer's outcome, under mutex_
};

}  // namespace KramoDialogs
