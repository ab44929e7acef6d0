#pragma once

#include <gtkmm/button.h>
#include <gtkmm/dialog.h>
#include <gtkmm/label.h>
#include <gtkmm/scrolledwindow.h>
#include <gtkmm/treestore.h>
#include <gtkmm/treeview.h>

#include <functional>
#include <string>

#include "import/ImportReport.h"
#include "settings/KramoSettings.h"

namespace KramoDialogs {

// The report of the last import: a row per file (state, seller, items stored, the reason of a
// refusal) with its warnings as rows below it. It stays open beside the main window until the
// user closes it, and saves the report as a text file.
class ImportReportWindow {
  public:
    // The chosen path for a proposed name in a folder, or empty when the user cancelled.
    using TargetQuestion =
        std::function<std::string(const std::string& folder, const std::string& proposedName)>;

    class Columns : public Gtk::TreeModel::ColumnRecord {
      public:
        Columns() {
            add(file);
            add(state);
            add(seller);
            add(items);
            add(reason);
        }
        Gtk::TreeModelColumn<Glib::ustring> file;
        Gtk::TreeModelColumn<Glib::ustring> state;
        Gtk::TreeModelColumn<Glib::ustring> seller;
        Gtk::TreeModelColumn<Glib::ustring> items;
        Gtk::TreeModelColumn<Glib::ustring> reason;  // or a warning, in a file's child row
    };

    ImportReportWindow(Gtk::Window& parent, const Kramo::KramoSettings& settings,
                       TargetQuestion question);

    // Fills the window with the report and brings it up.
    void Show(const KramoExcel::ImportReport& report);
    // Asks where to and writes the report shown as text; a failure is told in an error box.
    void Save();

    // Tests answer the question instead of a user.
    void SetTargetQuestion(TargetQuestion question) { question_ = std::move(question); }

    Gtk::Dialog& Window() { return dialog_; }
    Gtk::Label& Heading() { return heading_; }
    const Glib::RefPtr<Gtk::TreeStore>& Rows() const { return rows_; }
    const Columns& RowColumns() const { return columns_; }
    Gtk::Button& SaveButton() { return *saveButton_; }
    Gtk::Button& CloseButton() { return *closeButton_; }

  private:
    void BuildView();
    void Fill();
    void OnResponse(int response);

    const Kramo::KramoSettings& settings_;
    TargetQuestion question_;
    KramoExcel::ImportReport report_;
    Gtk::Dialog dialog_;
    Gtk::Label heading_;
    Gtk::ScrolledWindow scroller_;
    Gtk::TreeView view_;
    Columns columns_;
    Glib::RefPtr<Gtk::TreeStore> rows_;
    Gtk::Button* saveButton_ = nullptr;
    Gtk::Button* closeButton_ = nullptr;
};

}  // namespace KramoDialogs
