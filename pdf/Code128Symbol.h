#pragma once

#include <string>
#include <vector>

namespace Kramo {

// A Code 128 symbol encoded by libzint, as its bars measured in modules from the symbol's
// left edge. The quiet zones are not part of it: whoever places the symbol keeps them clear.
class Code128Symbol {
  public:
    // Code 128 wants ten modules of white on either side.
    static constexpr double QuietZoneModules = 10.0;

    struct Bar {
        double x = 0.0;
        double width = 0.0;
    };

    // Throws std::runtime_error with libzint's reason when the text cannot be encoded.
    explicit Code128Symbol(const std::string& text);

    const std::vector<Bar>& Bars() const { return bars_; }
    // The symbol's width without the quiet zones.
    double Modules() const { return modules_; }

  private:
    std::vector<Bar> bars_;
    double modules_ = 0.0;
};

}  // namespace Kramo
