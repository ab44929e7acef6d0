#pragma once

#include <string>
#include <vector>

namespace KramoExcel {

// What one import (one sheet or a folder) did with each file, for the window that shows it
// and for the text file the organiser may keep.
class ImportReport {
  public:
    enum class State {
        Stored,
        Refused,
        NotASheet,  // a file of another kind, left alone
        Stopped,    // the store failed: the run ended at this file
    };

    struct Entry {
        std::string fileName;
        State state = State::Refused;
        std::string sellerCode;  // empty when the file gave no seller
        std::string sellerName;
        int itemsStored = 0;
        std::string reason;  // why it was not stored, in words
        std::vector<std::string> warnings;
        // Counts among the errors of the totals: refused, stopped, or stored but not moved.
        bool error = false;
    };

    // source: the folder or the file imported.
    explicit ImportReport(std::string source = {}) : source_(std::move(source)) {}

    void Add(Entry entry) { entries_.push_back(std::move(entry)); }
    const std::vector<Entry>& Entries() const { return entries_; }
    const std::string& Source() const { return source_; }

    // "Korektne načítaných hárkov: %i Chýb: %i.": files that are no sheets count in neither.
    std::string Totals() const;
    // The state of a file as the report words it.
    static const char* StateText(State state);
    // "AN – Anna Nováková", empty without a seller.
    static std::string SellerText(const Entry& entry);
    // The whole report as UTF-8 text: a heading, then a block per file with its warnings
    // indented.
    std::string Text() const;

  private:
    std::string source_;
    std::vector<Entry> entries_;
};

}  // namespace KramoExcel
