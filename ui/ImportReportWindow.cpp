#include "ImportReportWindow.h"

#include <cerrno>
#include <cstring>

#include "register/DocumentNames.h"
#include "register/PdfDocuments.h"
#include "support/FileHelpers.h"
#include "support/Translation.h"
#include "support/UserMessages.h"

namespace KramoDialogs {
namespace {

constexpr int SaveAnswer = 1;

}  // namespace

ImportReportWindow::ImportReportWindow(Gtk::Window& parent, const Kramo::KramoSettings& settings,
                                       TargetQuestion question)
    : settings_(settings),
      question_(std::move(question)),
      dialog_(_("Správa o importe"), parent, false),
      rows_(Gtk::TreeStore::create(columns_)) {
    dialog_.set_default_size(900, 450);
    dialog_.set_border_width(6);
    dialog_.set_position(Gtk::WIN_POS_CENTER_ON_PARENT);
    heading_.set_alignment(0.0, 0.5);
    heading_.set_selectable(true);
    BuildView();
    Gtk::VBox& content = *dialog_.get_vbox();
    content.set_spacing(6);
    content.pack_start(heading_, Gtk::PACK_SHRINK);
    content.pack_start(scroller_);
    saveButton_ = dialog_.add_button(_("_Uložiť…"), SaveAnswer);
    closeButton_ = dialog_.add_button(_("_Zavrieť"), Gtk::RESPONSE_CLOSE);
    dialog_.set_default_response(Gtk::RESPONSE_CLOSE);
    dialog_.signal_response().connect(sigc::mem_fun(*this, &ImportReportWindow::OnResponse));
    content.show_all();
}

void ImportReportWindow::BuildView() {
    view_.set_model(rows_);
    view_.append_column(_("Súbor"), columns_.file);
    view_.append_column(_("Stav"), columns_.state);
    view_.append_column(_("Predajca"), columns_.seller);
    view_.append_column(_("Položky"), columns_.items);
    view_.append_column(_("Dôvod, upozornenia"), columns_.reason);
    for (Gtk::TreeViewColumn* column : view_.get_columns()) {
        column->set_resizable(true);
    }
    view_.get_column(4)->set_expand(true);
    scroller_.set_policy(Gtk::POLICY_AUTOMATIC, Gtk::POLICY_AUTOMATIC);
    scroller_.set_shadow_type(Gtk::SHADOW_IN);
    scroller_.add(view_);
}

void ImportReportWindow::Show(const KramoExcel::ImportReport& report) {
    report_ = report;
    Fill();
    dialog_.present();
}

void ImportReportWindow::Fill() {
    heading_.set_text(report_.Totals() + "\n" + report_.Source());
    rows_->clear();
    for (const KramoExcel::ImportReport::Entry& entry : report_.Entries()) {
        Gtk::TreeModel::Row row = *rows_->append();
        row[columns_.file] = entry.fileName;
        row[columns_.state] = KramoExcel::ImportReport::StateText(entry.state);
        row[columns_.seller] = KramoExcel::ImportReport::SellerText(entry);
        if (entry.state == KramoExcel::ImportReport::State::Stored) {
            row[columns_.items] = std::to_string(entry.itemsStored);
        }
        row[columns_.reason] = entry.reason;
        for (const std::string& warning : entry.warnings) {
            Gtk::TreeModel::Row below = *rows_->append(row.children());
            below[columns_.reason] = warning;
        }
    }
    view_.expand_all();
}

void ImportReportWindow::OnResponse(int response) {
    if (response == SaveAnswer) {
        Save();
        return;
    }
    dialog_.hide();
}

void ImportReportWindow::Save() {
    const std::string path =
        question_(Kramo::DocumentsFolder(settings_), Kramo::TimeStampedFileName("Import", "txt"));
    if (path.empty()) {
        return;
    }
    if (Kramo::ReplaceFileContents(path, path, report_.Text()) != Kramo::Replacement::Done) {
        Kramo::ShowErrorBox(path + ": " + std::strerror(errno), _("Správu sa nepodarilo uložiť."));
    }
}

}  // namespace KramoDialogs
