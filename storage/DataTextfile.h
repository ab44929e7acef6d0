#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/DataAccessInterface.h"

namespace Kramo {

class FieldReader;

// The layer of the default store that knows the seller files: one text file per seller in the
// data directory, a header line and one line per item. It holds the fixed category tables but
// no sellers or items; the cached store derives from it and supplies the record operations.
class DataTextfile : public DataAccessInterface {
  public:
    // The directory ends with a path separator; file names are appended to it as they are.
    explicit DataTextfile(std::string dataDirectory);

    // Reads one seller file into the records; returns the ID of its header. The seller's
    // MODIFIED stays as the caller's record had it.
    int LoadFromTxtFile(const std::string& path, Seller& seller, std::vector<Item>& items);

    bool MarkSellerChanging(int sellerId) override;
    // Rewrites the seller's file from the given record and the seller's stored items.
    void UpdateSeller(int sellerId, const Seller& seller) override;
    // Deletes the seller's file; no file is not an error.
    void RemoveSeller(int sellerId) override;
    std::vector<ItemCategory> GetItemCategoriesByIds(const std::vector<int>& ids) override;
    std::vector<ItemCategory> GetItemCategories() override;
    std::vector<ItemCategory> GetItemCategoriesByCodes(const std::vector<char>& codes) override;
    std::vector<SellerCategory> GetSellerCategoriesByIds(const std::vector<int>& ids) override;
    std::vector<SellerCategory> GetSellerCategories() override;
    std::vector<SellerCategory> GetSellerCategoriesByCodes(const std::vector<char>& codes) override;

    const std::string& DataDirectory() const { return dataDirectory_; }

  protected:
    // Replaces the seller's file by one holding the seller and the items in list order, texts
    // cut to the limits of core/TextLimits.h so that every line reads back as written. The
    // new content goes to a temporary file of its own that is renamed over the target, so a
    // crash or a full disk leaves the former file whole; a file under a former name goes last.
    // Failures throw std::runtime_error naming the target.
    void WriteSellerFile(const Seller& seller, const std::vector<Item>& items);

    // The name of the seller's file within the data directory, as loaded or last written;
    // empty when there is none. Only this file is ever replaced or removed for the seller:
    // another file whose name starts with the same number is not the seller's.
    std::string FindSellerFile(int sellerId) const;
    // Notes the file a seller was loaded from.
    void NoteSellerFile(int sellerId, const std::string& name) { fileNames_[sellerId] = name; }

  private:
    std::string SellerLine(const Seller& seller);
    std::string ItemLine(const Item& item);
    void ReadSellerLine(const std::string& line, Seller& seller);
    Item ReadItemLine(const FieldReader& fields, int sellerId);

    std::string dataDirectory_;
    std::vector<ItemCategory> itemCategories_;
    std::vector<SellerCategory> sellerCategories_;
    std::map<int32_t, std::string> fileNames_;
};

}  // namespace Kramo
