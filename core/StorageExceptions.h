#pragma once

#include <exception>

namespace Kramo {

// The family through which stores report missing records and unsupported operations.
// None carries data; each answers what() with its fixed text.
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

}  // namespace Kramo
