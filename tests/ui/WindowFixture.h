#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/ScriptedUserMessages.h"
#include "common/TemporaryDirectory.h"
#include "register/KramoRegister.h"
#include "settings/KramoSettings.h"
#include "ui/UserInterface.h"

namespace KramoTest {

// A program directory with its data folder and window description, the text-file store over
// it, and the real windows built from "kramo.glade"; the boxes are answered by a script.
class WindowFixture : public testing::Test {
  protected:
    // Seller files are written before the windows open; call Open() after writing them.
    void WriteSellerFile(const std::string& name, const std::string& content);
    void Open();
    // Before Open(): work in this program directory (kept afterwards) instead of a fresh one,
    // as a program started again over the same folder does.
    void UseProgramDirectory(const std::string& path) { programPath_ = path; }

    // Re-reads the data folder with a new store, as the next start of the program would.
    std::unique_ptr<Kramo::DataAccessInterface> ReopenStore() const;
    // The program's store re-reads the data folder (after a test wrote seller files).
    void ReplaceStore() { kramoRegister_.ReplaceStore(ReopenStore()); }

    Kramo::DataAccessInterface& Store() { return kramoRegister_.Store(); }
    KramoDialogs::UserInterface& Windows() { return *windows_; }
    Kramo::KramoSettings& Settings() { return *settings_; }
    const std::vector<std::string>& SearchFailures() const { return searchFailures_; }
    std::string ProgramDirectory() const { return programPath_ + "/"; }
    Kramo::KramoRegister& Register() { return kramoRegister_; }
    KramoDialogs::MainWindow& Main() { return windows_->Main(); }
    ScriptedUserMessages& Boxes() { return *boxes_; }
    std::string DataDirectory() const { return programPath_ + "/data/"; }

    template <typename Widget>
    Widget& MainWidget(const char* name) {
        Widget* widget = nullptr;
        mainXml_->get_widget(name, widget);
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no widget ") + name);
        }
        return *widget;
    }

    // The texts of one column of the main window's item list, top to bottom.
    std::vector<std::string> ItemColumn(const Gtk::TreeModelColumn<Glib::ustring>& column);
    // The rows of the import report window: "file | state | seller | items | reason" for a
    // file, its warnings below it indented by four spaces.
    std::vector<std::string> ImportReportRows();
    std::vector<std::string> SellerComboTexts();
    std::vector<std::string> CheckoutSellerComboTexts();
    void SelectItemRows(const std::vector<int>& rows);
    // The field's whole text selected, so that the next scan replaces it. Another test on the
    // display may take the selection over meanwhile (the toolkit then drops it); the next scan
    // replaces the text all the same.
    static bool SelectedForTheNextScan(Gtk::Entry& field);
    void DrainEvents();
    // Keeps handling events for a while: a button pressed by Enter answers after a moment.
    void DrainEventsFor(int milliseconds);

  private:
    class RecordingReporter : public Kramo::ExceptionReporter {
      public:
        void HandleException(const std::exception& failure) override {
            failures.push_back(failure.what());
        }
        std::vector<std::string> failures;
    };

    TemporaryDirectory programDirectory_;
    std::string programPath_ = programDirectory_.Path();
    RecordingReporter reporter_;
    std::unique_ptr<Kramo::KramoSettings> settings_;
    Kramo::KramoRegister kramoRegister_;
    std::vector<std::string> searchFailures_;
    Kramo::ItemSearch itemSearch_{
        [this]() -> Kramo::DataAccessInterface& { return kramoRegister_.Store(); },
        [this](const std::exception& failure) { searchFailures_.push_back(failure.what()); }};
    std::unique_ptr<KramoDialogs::UserInterface> windows_;
    std::unique_ptr<ScriptedUserMessages> boxes_;
    Glib::RefPtr<Gnome::Glade::Xml> mainXml_;
    // The program works in its own directory (the XLS import copies sheets there).
    std::string formerWorkingDirectory_;

  public:
    ~WindowFixture() override;
};

}  // namespace KramoTest
