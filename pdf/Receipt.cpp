#include "Receipt.h"

#include <stdexcept>

#include "pdf/PageLayout.h"
#include "support/Clock.h"
#include "support/FormatText.h"

namespace Kramo {
namespace {

enum ReceiptColumn { Position, Label, Name, Price };

PdfColumns ReceiptColumns() {
    PdfColumns columns;
    columns.AddColumn("#", 5);
    columns.AddColumn("číslo", 10);
    columns.AddColumn("názov", 30);
    columns.AddColumn("cena", 20);
    return columns;
}

Seller SellerOfItem(DataAccessInterface& store, const Item& item) {
    try {
        return store.GetSeller(item.SELLER_ID);
    } catch (const WrongSellerException&) {
        throw std::runtime_error("KramoRegister::FinishCheckout: Seller not found");
    }
}

// The item rows, an empty row and the sum row.
PdfTable ReceiptTable(DataAccessInterface& store, const std::vector<Item>& items) {
    PdfTable table(items.size() + 2, ReceiptColumns().Columns());
    double sum = 0.0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        const Seller seller = SellerOfItem(store, item);
        table.Cell(Position, i) = FormatText("%i", static_cast<int>(i + 1));
        table.Cell(Label, i) = FormatText("%s-%i", seller.SHORT_CODE.c_str(), item.NUMBER);
        table.Cell(Name, i) = item.NAME;
        table.Cell(Price, i) = FormatText("%0.2f", item.PRICE);
        sum += item.PRICE;
    }
    const std::size_t sumRow = items.size() + 1;
    table.Cell(Name, sumRow) = "Suma";
    table.Cell(Price, sumRow) = FormatText("%0.2f", sum);
    return table;
}

void WriteReceiptPage(PdfWrapperBase& writer, DataAccessInterface& store,
                      const std::vector<Item>& items) {
    const Timestamp now = CurrentTimestamp();
    writer.NewPage(FormatText("Ucet vystaveny %i-%i-%i %i:%i", now.Year, now.Month, now.Day,
                              now.Hour, now.Minute));
    WritePageDecoration(writer);
    const PdfTable table = ReceiptTable(store, items);
    DrawTableSplitOnPages(writer, 5.0f, 20.0f, table, ReceiptColumns());
}

}  // namespace

void WriteReceipt(PdfWrapperBase& writer, DataAccessInterface& store,
                  const std::vector<Item>& items) {
    try {
        WriteReceiptPage(writer, store, items);
    } catch (const std::runtime_error& failure) {
        throw std::runtime_error(std::string("PDF error:") + failure.what());
    } catch (const std::out_of_range& failure) {
        throw std::runtime_error(std::string("PDF out of range error") + failure.what());
    } catch (...) {
        throw std::runtime_error("PDF error(unknown)");
    }
}

}  // namespace Kramo
