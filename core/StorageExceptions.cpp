#include "core/StorageExceptions.h"

#include "support/FormatStream.h"
#include "support/Translation.h"

namespace Kramo {

// The refusals are read in the desk's boxes, so their texts are the user's language.

const char* DataStorageException::what() const noexcept {
    // TRANSLATORS: the general failure of the data store, shown when nothing more is known.
    return _("DataStorageException");
}

const char* WrongSellerException::what() const noexcept {
    return _("Wrong Seller");
}

const char* WrongItemException::what() const noexcept {
    return _("Wrong Item");
}

const char* NotImplementedException::what() const noexcept {
    return _("Functionality not implemented");
}

const char* WrongItemCategoryException::what() const noexcept {
    return _("Wrong Item category");
}

const char* WrongSellerCategoryException::what() const noexcept {
    return _("Wrong Seller category");
}

const char* ItemsNotInStockException::what() const noexcept {
    return _("Tovar sa medzitým predal alebo odstránil na inej pokladni.");
}

const char* RecordChangedException::what() const noexcept {
    return _("Záznam medzitým zmenila iná pokladňa.");
}

SellerCodeTakenException::SellerCodeTakenException(const std::string& code)
    : code_(code),
      message_((FormatStream(_("Kód predajcu %s už má iný predajca.")) << code).str()) {}

const char* UnknownOutcomeException::what() const noexcept {
    return _(
        "Nedá sa zistiť, či sa nákup zapísal do databázy. Dokončite ho znova, keď bude "
        "databáza dostupná: zapíše sa najviac raz.");
}

}  // namespace Kramo
