// Feeds arbitrary input through the xlsx and ods readers and the seller sheet reading. The
// first byte chooses how: the rest as a whole xlsx or ods file (the zip container itself), or
// as one XML part (a worksheet, the shared strings, an ods content) inside a sound container,
// so that the XML readers are reached without the fuzzer having to pass through deflate.
// Nothing may crash, hang, read out of bounds or exhaust the memory.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzWorkFolder.h"
#include "ZipBuilder.h"
#include "import/SellerSheetImport.h"
#include "support/Log.h"

namespace {

using KramoFuzz::WorkFolder;

std::string WriteFile(const char* name, const std::string& content) {
    const std::string path = WorkFolder() + name;
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
    return path;
}

std::string WriteZip(const char* name, KramoTest::ZipBuilder zip) {
    const std::string path = WorkFolder() + name;
    zip.Write(path);
    return path;
}

std::string InputFile(uint8_t mode, const std::string& rest) {
    using KramoTest::ZipBuilder;
    switch (mode % 5) {
        case 0:
            return WriteFile("input.xlsx", rest);
        case 1:
            return WriteFile("input.ods", rest);
        case 2:
            return WriteZip("sheet.xlsx",
                            ZipBuilder::Xlsx("").Add("xl/worksheets/sheet1.xml", rest));
        case 3:
            return WriteZip("strings.xlsx",
                            ZipBuilder::Xlsx("<row><c r=\"A1\" t=\"s\"><v>0</v></c><c t=\"s\">"
                                             "<v>1</v></c><c t=\"s\"><v>2</v></c></row>",
                                             "<si/>")
                                .Add("xl/sharedStrings.xml", rest));
        default:
            return WriteZip("content.ods", ZipBuilder::Ods("").Add("content.xml", rest));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    Kramo::SetLogLevel(0);
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    // Refusals are answers; nothing else may escape.
    KramoExcel::ImportSellerSheet(InputFile(data[0], rest), WorkFolder(), WorkFolder());
    return 0;
}
