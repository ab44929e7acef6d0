#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/RecordedSale.h"

namespace Kramo {

// The text store's own record of the sales of its desk: a file in the data folder with one
// line per sale and one per storno, only ever appended to. The seller files keep their format;
// this file is read for the cash-up and to know which sales are done. Its name does not end
// in ".txt", so the loader of seller files never takes it for one.
class SaleJournal {
  public:
    static constexpr const char* FileName = "kramo-predaje.csv";

    // Reads the file when there is one. The file comes from the disk and may have been edited
    // or cut by a crash: a line that cannot be read is logged and skipped, never trusted.
    explicit SaleJournal(std::string path);

    // The sales on record in the order of the file, cancelled ones marked so.
    const std::vector<RecordedSale>& Sales() const { return sales_; }
    // The sale on record under the key, or null.
    const RecordedSale* Find(const std::string& key) const;

    // Appends the sale's line and flushes it to the disk; only then the sale is kept. A line
    // that cannot be written is taken back from the file and std::runtime_error is thrown.
    // The key must not be on record yet.
    void AddSale(const RecordedSale& sale);
    // Appends the storno of the sale on record under the key, likewise; the time is the
    // storno's. Nothing for an unknown key or a sale cancelled already.
    void AddCancellation(const std::string& key, const Timestamp& time);

  private:
    void Read();
    // Takes one line of the file; false for a line that cannot be read.
    bool TakeLine(const std::string& line);
    void Append(const std::string& line);

    std::string path_;
    std::vector<RecordedSale> sales_;
    std::map<std::string, std::size_t> positions_;  // index in sales_ by key
};

}  // namespace Kramo
