#pragma once

#include <string>

namespace KramoBench {

// A data directory as a large sale leaves it: 2,000 seller files of 200 items each, written
// once per run and removed at exit.
class LargeSale {
  public:
    static constexpr int SellerCount = 2000;
    static constexpr int ItemsPerSeller = 200;

    // Before the sale ends: every seller selling, every item in stock.
    static const LargeSale& Selling();
    // After the sale: items in all six states, a third of the sellers handed back, a third
    // still selling.
    static const LargeSale& Settled();

    ~LargeSale();
    LargeSale(const LargeSale&) = delete;
    LargeSale& operator=(const LargeSale&) = delete;

    const std::string& Directory() const { return directory_; }

  private:
    explicit LargeSale(bool settled);
    void WriteSellerFile(int seller, bool settled) const;

    std::string directory_;
};

// The largest resident size the process has had, in MB.
double PeakResidentMegabytes();

}  // namespace KramoBench
