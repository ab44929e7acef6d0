#include "FieldReader.h"

#include <algorithm>

namespace Kramo {

FieldReader::FieldReader(std::string_view line) {
    std::size_t start = line.find_first_not_of(Separators);
    while (start != std::string_view::npos) {
        const std::size_t end = line.find_first_of(Separators, start);
        fields_.push_back(line.substr(start, end == std::string_view::npos ? end : end - start));
        start = line.find_first_not_of(Separators, end);
    }
}

std::string FieldReader::Field(std::size_t index) const {
    if (index >= fields_.size()) {
        return {};
    }
    const std::string_view field = fields_[index];
    return std::string(field.substr(0, std::min(field.size(), MaxFieldLength)));
}

}  // namespace Kramo
