#include "ZipEntry.h"

#include <gsf/gsf-input.h>

#include <algorithm>

#include "support/FormatStream.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace KramoExcel {

ZipEntry::ZipEntry(GsfInput* input, std::string name, std::size_t containerBytes)
    : input_(input), name_(std::move(name)), containerBytes_(containerBytes) {
    const gsf_off_t stated = gsf_input_size(input);
    WithinLimits(stated < 0 ? MaxBytes + 1 : static_cast<std::size_t>(stated));
}

bool ZipEntry::WithinLimits(std::size_t total) {
    if (total > MaxBytes) {
        failure_ = Kramo::FormatText(_("časť zošita %s je po rozbalení väčšia ako %zu MB"),
                                     name_.c_str(), MaxBytes >> 20);
        return false;
    }
    if (total > RatioFreeBytes && total / MaxRatio > containerBytes_) {
        failure_ = Kramo::FormatText(
            _("časť zošita %s sa rozbaľuje na viac ako %zu-násobok veľkosti súboru, čo hárok "
              "predajcu nikdy nepotrebuje"),
            name_.c_str(), MaxRatio);
        return false;
    }
    return true;
}

int ZipEntry::Read(char* buffer, int size) {
    if (!failure_.empty() || size <= 0) {
        return failure_.empty() ? 0 : -1;
    }
    const gsf_off_t remaining = gsf_input_remaining(input_.get());
    const std::size_t count =
        static_cast<std::size_t>(std::clamp<gsf_off_t>(remaining, 0, static_cast<gsf_off_t>(size)));
    if (count == 0) {
        return 0;
    }
    if (!WithinLimits(read_ + count)) {
        return -1;
    }
    if (gsf_input_read(input_.get(), count, reinterpret_cast<guint8*>(buffer)) == nullptr) {
        failure_ = (Kramo::FormatStream(_("časť zošita %s je poškodená")) << name_).str();
        return -1;
    }
    read_ += count;
    return static_cast<int>(count);
}

}  // namespace KramoExcel
