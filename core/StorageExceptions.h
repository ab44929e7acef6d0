#pragma once

#include <exception>
#include <string>
#include <vector>

namespace Kramo {

// The family through which stores report missing records and unsupported operations.
// The shared stores' refusals carry what the desk must show; the others answer what() with their
// fixed text. Both are in the user's language (StorageExceptions.cpp).
class DataStorageException : public std::exception {
  public:
    const char* what() const noexcept override;
};

class WrongSellerException : public DataStorageException {
  public:
    const char* what() const noexcept override;
};

class WrongItemException : public DataStorageException {
  public:
    const char* what() const noexcept override;
};

class NotImplementedException : public DataStorageException {
  public:
    const char* what() const noexcept override;
};

class WrongItemCategoryException : public DataStorageException {
  public:
    const char* what() const noexcept override;
};

class WrongSellerCategoryException : public DataStorageException {
  public:
    const char* what() const noexcept override;
};

// The data folder is in use by another running program, so the store is not opened.
class DataFolderInUseException : public DataStorageException {
  public:
    explicit DataFolderInUseException(const std::string& folder)
        : folder_(folder), message_("Data folder '" + folder + "' is used by another program") {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Folder() const { return folder_; }

  private:
    std::string folder_;
    std::string message_;
};

// A purchase was not recorded because some of its items were sold or removed at another desk
// since they were added; nothing of the purchase was recorded.
class ItemsNotInStockException : public DataStorageException {
  public:
    explicit ItemsNotInStockException(std::vector<int> itemIds) : itemIds_(std::move(itemIds)) {}
    const char* what() const noexcept override;
    const std::vector<int>& ItemIds() const { return itemIds_; }

  private:
    std::vector<int> itemIds_;
};

// A write of an item or a seller found the record changed by another desk since it was read:
// nothing was written. (A record removed meanwhile gives WrongItemException or
// WrongSellerException.)
class RecordChangedException : public DataStorageException {
  public:
    const char* what() const noexcept override;
};

// Another seller holds the short code (letter case aside); nothing was written.
class SellerCodeTakenException : public DataStorageException {
  public:
    explicit SellerCodeTakenException(const std::string& code);
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Code() const { return code_; }

  private:
    std::string code_;
    std::string message_;
};

// The store could not learn whether a write reached the database (the connection broke while
// it committed, and the server could not be asked afterwards). A retry of the same sale under
// the same key records it at most once.
class UnknownOutcomeException : public DataStorageException {
  public:
    const char* what() const noexcept override;
};

}  // namespace Kramo
