#include "ItemLabels.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "pdf/Code128Symbol.h"
#include "support/FormatText.h"
#include "support/Translation.h"

namespace Kramo {
namespace {

constexpr float PointsPerMm = 72.0f / 25.4f;
constexpr float A4HeightPoints = 841.0f;
constexpr const char* RegularFont = "Helvetica";
constexpr const char* BoldFont = "Helvetica-Bold";
// 0.33 mm bars scan from office printers at 300 dpi and thermal printers at 203 dpi alike;
// a symbol too long for the label gets narrower bars, never a clipped quiet zone.
constexpr float PreferredModuleMm = 0.33f;
constexpr float HorizontalPaddingMm = 4.0f;
constexpr float VerticalPaddingMm = 2.5f;
constexpr float LongestBarsMm = 15.0f;

float Mm(double millimetres) {
    return static_cast<float>(millimetres) * PointsPerMm;
}

// One label's room on the page, in points: its inner box less the padding.
struct LabelBox {
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
};

LabelBox BoxAt(const LabelLayout& layout, int position) {
    const int column = position % layout.columns;
    const int row = position / layout.columns;
    LabelBox box;
    box.left = Mm(layout.leftMarginMm + column * layout.labelWidthMm + HorizontalPaddingMm);
    box.top =
        A4HeightPoints - Mm(layout.topMarginMm + row * layout.labelHeightMm + VerticalPaddingMm);
    box.width = Mm(layout.labelWidthMm - 2.0 * HorizontalPaddingMm);
    box.height = Mm(layout.labelHeightMm - 2.0 * VerticalPaddingMm);
    return box;
}

unsigned int FontPoints(float points) {
    return static_cast<unsigned int>(std::max(4.0f, std::floor(points)));
}

void DrawBarcode(PdfCanvas& canvas, const std::string& text, const LabelBox& box, float top,
                 float bottom) {
    const Code128Symbol symbol(text);
    const double modulesWithQuietZones = symbol.Modules() + 2.0 * Code128Symbol::QuietZoneModules;
    const float module =
        std::min(Mm(PreferredModuleMm), box.width / static_cast<float>(modulesWithQuietZones));
    const float height = std::min(top - bottom, Mm(LongestBarsMm));
    const float symbolLeft =
        box.left + (box.width - static_cast<float>(symbol.Modules()) * module) / 2.0f;
    std::vector<PageRectangle> bars;
    bars.reserve(symbol.Bars().size());
    for (const Code128Symbol::Bar& bar : symbol.Bars()) {
        bars.push_back({static_cast<float>(bar.x), 0.0f, static_cast<float>(bar.width), 1.0f});
    }
    canvas.FillRectangles(bars, module, height, symbolLeft, top - height);
}

void DrawLabel(PdfCanvas& canvas, const ItemLabel& label, const LabelBox& box) {
    const float codeSize = std::min(18.0f, box.height * 0.22f);
    const float nameSize = std::min(9.0f, box.height * 0.11f);
    const float saleSize = std::min(7.0f, box.height * 0.08f);
    const float gap = box.height * 0.04f;

    float baseline = box.top - codeSize * 0.8f;
    canvas.SetFont(BoldFont);
    canvas.SetFontSizePoints(FontPoints(codeSize * 0.75f));
    const float priceWidth = std::min(canvas.TextWidth(label.price), box.width / 2.0f);
    canvas.WriteTextAt(box.left + box.width - priceWidth, baseline, priceWidth, label.price);
    canvas.SetFontSizePoints(FontPoints(codeSize));
    canvas.WriteTextAt(box.left, baseline, box.width - priceWidth - gap,
                       FormatText("%s-%i", label.sellerCode.c_str(), label.number));

    baseline -= gap + nameSize;
    canvas.SetFont(RegularFont);
    canvas.SetFontSizePoints(FontPoints(nameSize));
    canvas.WriteTextAt(box.left, baseline, box.width, label.name);

    const float bottom = box.top - box.height;
    canvas.SetFontSizePoints(FontPoints(saleSize));
    canvas.WriteTextAt(box.left, bottom + saleSize * 0.25f, box.width, canvas.SaleName());

    DrawBarcode(canvas, label.barcode, box, baseline - gap - nameSize * 0.25f,
                bottom + saleSize + gap);
}

}  // namespace

LabelSheets::LabelSheets(PdfCanvas& canvas, const LabelLayout& layout, int firstFreeLabel)
    : canvas_(canvas),
      layout_(layout),
      position_(std::clamp(firstFreeLabel, 1, layout.LabelsPerSheet()) - 1) {}

void LabelSheets::Add(const ItemLabel& label) {
    if (count_ == 0 || position_ == layout_.LabelsPerSheet()) {
        position_ = count_ == 0 ? position_ : 0;
        canvas_.NewPage(FormatText(_("Štítky, hárok %i"), ++sheets_));
    }
    DrawLabel(canvas_, label, BoxAt(layout_, position_));
    ++position_;
    ++count_;
}

}  // namespace Kramo
