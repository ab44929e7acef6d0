#include "ConcurrentEdits.h"

#include "support/Log.h"
#include "support/Translation.h"
#include "support/UserMessages.h"

namespace Kramo {
namespace {

constexpr const char* NotWritten = N_("Zmena sa nezapísala.");

}  // namespace

void TellChangedElsewhere(EditedRecord record) {
    LogMessage(LogNotice, "Edit not written: the %s was changed at another desk\n",
               record == EditedRecord::Item ? "item" : "seller");
    ShowErrorBox(
        record == EditedRecord::Item
            ? _("Tovar medzitým zmenila iná pokladňa. Zobrazuje sa jeho aktuálny stav.")
            : _("Predajcu medzitým zmenila iná pokladňa. Zobrazujú sa jeho aktuálne údaje."),
        _(NotWritten));
}

void TellRemovedElsewhere(EditedRecord record) {
    LogMessage(LogNotice, "Edit not written: the %s was removed at another desk\n",
               record == EditedRecord::Item ? "item" : "seller");
    ShowErrorBox(record == EditedRecord::Item ? _("Tovar medzitým odstránila iná pokladňa.")
                                              : _("Predajcu medzitým odstránila iná pokladňa."),
                 _(NotWritten));
}

}  // namespace Kramo
