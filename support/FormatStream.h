#pragma once

#include <string>
#include <type_traits>

namespace Kramo {

// printf-compatible formatting for texts of any length, with arguments given by type:
//   FormatStream("host=%s port=%i") << host << port
// Each argument fills the next conversion with the same flags, width and precision that
// printf would use, so the result equals printf's for matching arguments.
class FormatStream {
  public:
    explicit FormatStream(std::string format) : format_(std::move(format)) {}

    FormatStream& operator<<(const std::string& value);
    FormatStream& operator<<(const char* value) { return *this << std::string(value); }
    // A char prints as a character under %c and %s, as its code under the numeric conversions.
    FormatStream& operator<<(char value);
    FormatStream& operator<<(bool value) { return *this << static_cast<int>(value); }

    template <typename Integer, std::enable_if_t<std::is_integral_v<Integer>, int> = 0>
    FormatStream& operator<<(Integer value) {
        // Unsigned conversions of a negative value show it as printf does for its own width.
        using Unsigned = std::make_unsigned_t<Integer>;
        return AppendInteger(static_cast<long long>(value),
                             static_cast<unsigned long long>(static_cast<Unsigned>(value)),
                             std::to_string(value));
    }
    FormatStream& operator<<(double value);
    FormatStream& operator<<(float value) { return *this << static_cast<double>(value); }

    // The formatted text, with the format's remaining literal text.
    std::string str() const;

  private:
    struct Conversion {
        std::string modifiers;  // flags, width and precision as written
        char letter = 's';
    };

    FormatStream& AppendInteger(long long value, unsigned long long unsignedValue,
                                const std::string& asText);
    // Copies literal text up to the next conversion into the output and consumes that
    // conversion; false when the format has no conversion left.
    bool NextConversion(Conversion& conversion);

    std::string format_;
    std::string::size_type position_ = 0;
    std::string output_;
};

}  // namespace Kramo
