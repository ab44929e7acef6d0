#include "ConcurrentEdits.h"

#include "support/Log.h"
#include "support/UserMessages.h"

namespace Kramo {
namespace {

constexpr const char* NotWritten = "Zmena sa nezapísala.";

}  // namespace

void TellChangedElsewhere(EditedRecord record) {
    LogMessage(LogNotice, "Edit not written: the %s was changed at another desk\n",
               record == EditedRecord::Item ? "item" : "seller");
    ShowErrorBox(record == EditedRecord::Item
                     ? "Tovar medzitým zmenila iná pokladňa. Zobrazuje sa jeho aktuálny stav."
                     : "Predajcu medzitým zmenila iná pokladňa. Zobrazujú sa jeho aktuálne údaje.",
                 NotWritten);
}

void TellRemovedElsewhere(EditedRecord record) {
    LogMessage(LogNotice, "Edit not written: the %s was removed at another desk\n",
               record == EditedRecord::Item ? "item" : "seller");
    ShowErrorBox(record == EditedRecord::Item ? "Tovar medzitým odstránila iná pokladňa."
                                              : "Predajcu medzitým odstránila iná pokladňa.",
                 NotWritten);
}

}  // namespace Kramo
