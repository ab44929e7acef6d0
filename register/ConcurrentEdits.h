#pragma once

namespace Kramo {

enum class EditedRecord { Item, Seller };

// What the user is told when a write of an item or a seller found it changed, or removed, by
// another desk since it was read: nothing of the edit was written.
void TellChangedElsewhere(EditedRecord record);
void TellRemovedElsewhere(EditedRecord record);

}  // namespace Kramo
