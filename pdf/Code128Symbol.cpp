#include "Code128Symbol.h"

#include <zint.h>

#include <memory>
#include <stdexcept>

namespace Kramo {
namespace {

struct SymbolDelete {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};
using Symbol = std::unique_ptr<zint_symbol, SymbolDelete>;

}  // namespace

Code128Symbol::Code128Symbol(const std::string& text) {
    const Symbol symbol(ZBarcode_Create());
    if (!symbol) {
        throw std::runtime_error("Code 128: out of memory");
    }
    symbol->symbology = BARCODE_CODE128;
    symbol->show_hrt = 0;  // the label prints the code and number itself, larger
    const int encoded =
        ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(text.data()),
                        static_cast<int>(text.size()));
    if (encoded >= ZINT_ERROR || ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR ||
        symbol->vector == nullptr || symbol->width <= 0) {
        throw std::runtime_error("Code 128 of '" + text + "' failed: " + symbol->errtxt);
    }
    // The vector's unit is not the module (libzint scales it); the symbol's width in modules
    // gives the factor.
    const double unitsPerModule = symbol->vector->width / symbol->width;
    modules_ = symbol->width;
    for (const zint_vector_rect* rectangle = symbol->vector->rectangles; rectangle != nullptr;
         rectangle = rectangle->next) {
        bars_.push_back({rectangle->x / unitsPerModule, rectangle->width / unitsPerModule});
    }
}

}  // namespace Kramo
