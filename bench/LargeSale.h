#pragma once

#include <string>

namespace Kramo {

constexpr int SellerCount = 2000;
constexpr int ItemsPerSeller = 200;

// A data directory as a large sale leaves it: 2,000 seller files of 200 items each, written
// once per run and removed at exit.
class LargeSale {
  public:
    LargeSale();
    ~LargeSale();
    LargeSale(const LargeSale&) = delete;
    LargeSale& operator=(const LargeSale&) = delete;

    static const LargeSale& Instance();

    const std::string& Directory() const { return directory_; }

  private:
    void WriteSellerFile(int seller) const;

    std::string directory_;
};

}  // namespace Kramo
