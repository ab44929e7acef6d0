#pragma once

#include <string>

namespace Kramo {

// Hands a finished PDF to a CUPS printer through libcups, never through a shell or lp. The
// scheduler is the one the usual client configuration names (CUPS_SERVER, client.conf).
class ReceiptPrinter {
  public:
    // The printer's CUPS name; empty for the default destination.
    explicit ReceiptPrinter(std::string printerName) : printerName_(std::move(printerName)) {}

    // Sends the file as one job under the title and answers its job number. A job the
    // scheduler does not take throws std::runtime_error naming the printer and CUPS's reason;
    // so does a scheduler that does not answer within a few seconds.
    int Print(const std::string& path, const std::string& title) const;

    // Where the receipt goes, as the question and the report say it: "na tlačiarni „…“".
    std::string OnPrinter() const;

  private:
    std::string printerName_;
};

}  // namespace Kramo
