#include "import/StructuredStorage.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/LogCapture.h"
#include "common/TemporaryDirectory.h"

namespace {

using KramoExcel::StructuredStorage;
using KramoTest::TemporaryDirectory;

// A compound document with one stream of the given name, written by the library's own writer.
void WriteCompoundDocument(const std::string& path, const char* streamName,
                           const std::string& content) {
    GsfOutput* file = gsf_output_stdio_new(path.c_str(), nullptr);
    ASSERT_NE(file, nullptr);
    GsfOutfile* document = gsf_outfile_msole_new(file);
    GsfOutput* stream = gsf_outfile_new_child(document, streamName, FALSE);
    gsf_output_write(stream, content.size(), reinterpret_cast<const guint8*>(content.data()));
    gsf_output_close(stream);
    g_object_unref(stream);
    gsf_output_close(GSF_OUTPUT(document));
    g_object_unref(document);
    g_object_unref(file);
}

TEST(StructuredStorage, ReadsTheNamedStreamWhole) {
    TemporaryDirectory directory;
    const std::string content(10000, 'w');
    WriteCompoundDocument(directory.File("a.xls"), "Workbook", content);
    StructuredStorage storage;
    ASSERT_TRUE(storage.Open(directory.File("a.xls")));
    std::vector<uint8_t> buffer;
    EXPECT_EQ(storage.ReadStream("WORKBOOK", buffer), StructuredStorage::Success);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), content);
}

TEST(StructuredStorage, MissingStreamGivesAnEmptyBuffer) {
    TemporaryDirectory directory;
    WriteCompoundDocument(directory.File("b.xls"), "Book", "old format");
    StructuredStorage storage;
    ASSERT_TRUE(storage.Open(directory.File("b.xls")));
    std::vector<uint8_t> buffer = {1, 2, 3};
    EXPECT_EQ(storage.ReadStream("Workbook", buffer), StructuredStorage::CallFailed);
    EXPECT_TRUE(buffer.empty());
}

TEST(StructuredStorage, EmptyStreamIsASuccess) {
    TemporaryDirectory directory;
    WriteCompoundDocument(directory.File("c.xls"), "Workbook", "");
    StructuredStorage storage;
    ASSERT_TRUE(storage.Open(directory.File("c.xls")));
    std::vector<uint8_t> buffer;
    EXPECT_EQ(storage.ReadStream("Workbook", buffer), StructuredStorage::Success);
    EXPECT_TRUE(buffer.empty());
}

TEST(StructuredStorage, OtherFilesAreNoCompoundDocuments) {
    TemporaryDirectory directory;
    directory.WriteFile("text.xls", "this is text");
    directory.WriteFile("empty.xls", "");
    StructuredStorage storage;
    EXPECT_FALSE(storage.Open(directory.File("text.xls")));
    EXPECT_FALSE(storage.Open(directory.File("empty.xls")));
    EXPECT_FALSE(storage.Open(directory.File("none.xls")));
    std::vector<uint8_t> buffer;
    EXPECT_EQ(storage.ReadStream("Workbook", buffer), StructuredStorage::CallFailed);
}

// Every FAT entry of the file pointing at its own sector: a chain that loops forever.
TEST(StructuredStorage, SectorChainThatLoopsEndsQuickly) {
    TemporaryDirectory directory;
    WriteCompoundDocument(directory.File("loop.xls"), "Workbook", std::string(20000, 'x'));
    std::ifstream input(directory.File("loop.xls"), std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(input)),
                            std::istreambuf_iterator<char>());
    // The first FAT sector's number stands at header offset 0x4C; the FAT follows at
    // (sector + 1) * 512. Point each entry to its own sector.
    const uint32_t fatSector = static_cast<uint8_t>(bytes[0x4C]) | static_cast<uint8_t>(bytes[0x4D])
                                                                       << 8;
    const std::size_t fat = (fatSector + 1) * 512u;
    ASSERT_LE(fat + 512, bytes.size());
    for (uint32_t entry = 0; entry < 128; ++entry) {
        if (entry == fatSector)
            continue;
        for (int b = 0; b < 4; ++b)
            bytes[fat + entry * 4 + b] = static_cast<char>(entry >> (8 * b));
    }
    directory.WriteFile("loop.xls", std::string(bytes.begin(), bytes.end()));

    const auto start = std::chrono::steady_clock::now();
    StructuredStorage storage;
    std::vector<uint8_t> buffer;
    if (storage.Open(directory.File("loop.xls"))) {
        storage.ReadStream("Workbook", buffer);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_LE(buffer.size(), 20000u);
}

// A document cut short, as an interrupted copy leaves it: the reader's complaints go to the
// log, not to the terminal.
TEST(StructuredStorage, CutDocumentIsReportedInTheLog) {
    TemporaryDirectory directory;
    WriteCompoundDocument(directory.File("cut.xls"), "Workbook", std::string(20000, 'x'));
    std::filesystem::resize_file(directory.File("cut.xls"), 6000);
    const KramoTest::LogCapture log;
    testing::internal::CaptureStderr();
    StructuredStorage storage;
    std::vector<uint8_t> buffer;
    if (storage.Open(directory.File("cut.xls"))) {
        EXPECT_NE(storage.ReadStream("Workbook", buffer), StructuredStorage::Success);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(log.Text().find("Compound document:"), std::string::npos) << log.Text();
}

}  // namespace
