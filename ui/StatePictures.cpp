#include "StatePictures.h"

#include "core/ItemStatus.h"

namespace KramoDialogs {

StatePictures::StatePictures() {
    for (std::size_t status = 0; status < Colours.size(); ++status) {
        pictures_[status] = Gdk::Pixbuf::create(Gdk::COLORSPACE_RGB, false, 8, Width, Height);
        // fill takes RGBA.
        pictures_[status]->fill((Colours[status] << 8) | 0xFF);
    }
}

Glib::RefPtr<Gdk::Pixbuf> StatePictures::Of(int32_t status) const {
    const bool known = status >= 0 && status < static_cast<int32_t>(Colours.size());
    return pictures_[static_cast<std::size_t>(known ? status : Kramo::Undefined)];
}

}  // namespace KramoDialogs
