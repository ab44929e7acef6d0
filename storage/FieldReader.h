#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace Kramo {

// The fields of one line of a seller file. '|', '*', CR and LF separate fields, and a run of
// them counts as one boundary: hand-made files often carry "**" or a trailing CR. A run at the
// start of the line is skipped without counting.
class FieldReader {
  public:
    static constexpr std::string_view Separators = "|*\r\n";
    // Longer fields are cut to this many characters.
    static constexpr std::size_t MaxFieldLength = 254;

    explicit FieldReader(std::string_view line);

    // Field `index`, counted from 0; empty beyond the end of the line.
    std::string Field(std::size_t index) const;
    // True for a line of nothing but separators, such as a blank line.
    bool IsEmpty() const { return fields_.empty(); }

    static bool IsSeparator(char c) { return Separators.find(c) != std::string_view::npos; }

  private:
    struct Span {
        std::size_t start;
        std::size_t length;
    };

    // Its own copy, so that a reader made from a temporary text stays valid.
    std::string line_;
    std::vector<Span> fields_;
};

}  // namespace Kramo
