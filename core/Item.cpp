#include "Item.h"

namespace Kramo {

Item Item::NewFrom(const Item& other) {
    Item item;
    item.NAME = other.NAME;
    item.NUMBER = other.NUMBER;
    item.PRICE = other.PRICE;
    item.ITEM_CATEGORY_ID = other.ITEM_CATEGORY_ID;
    item.STATUS = other.STATUS;
    return item;
}

bool Item::operator==(const Item& other) const {
    return NAME == other.NAME && NUMBER == other.NUMBER && PRICE == other.PRICE &&
           ITEM_CATEGORY_ID == other.ITEM_CATEGORY_ID && STATUS == other.STATUS && ID == other.ID &&
           MODIFIED == other.MODIFIED && SELLER_ID == other.SELLER_ID;
}

}  // namespace Kramo
