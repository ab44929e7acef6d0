#pragma once

#include <exception>
#include <string>

namespace Kramo {

// The family through which stores report missing records and unsupported operations.
// None carries data but the folder of DataFolderInUseException; the others answer what() with
// their fixed text.
class DataStorageException : public std::exception {
  public:
    const char* what() const noexcept override { return "DataStorageException"; }
};

class WrongSellerException : public DataStorageException {
  public:
    const char* what() const noexcept override { return "Wrong Seller"; }
};

class WrongItemException : public DataStorageException {
  public:
    const char* what() const noexcept override { return "Wrong Item"; }
};

class NotImplementedException : public DataStorageException {
  public:
    const char* what() const noexcept override { return "Functionality not implemented"; }
};

class WrongItemCategoryException : public DataStorageException {
  public:
    const char* what() const noexcept override { return "Wrong Item category"; }
};

class WrongSellerCategoryException : public DataStorageException {
  public:
    const char* what() const noexcept override { return "Wrong Seller category"; }
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

}  // namespace Kramo
