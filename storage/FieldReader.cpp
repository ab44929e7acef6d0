#include "FieldReader.h"

#include <algorithm>

namespace Kramo {

FieldReader::FieldReader(std::string_view line) : line_(line) {
    std::size_t start = line_.find_first_not_of(Separators);
    while (start != std::string::npos) {
        const std::size_t end = std::min(line_.find_first_of(Separators, start), line_.size());
        fields_.push_back({start, end - start});
        start = line_.find_first_not_of(Separators, end);
    }
}

std::string FieldReader::Field(std::size_t index) const {
    if (index >= fields_.size()) {
        return {};
    }
    const Span& field = fields_[index];
    return line_.substr(field.start, std::min(field.length, MaxFieldLength));
}

}  // namespace Kramo
