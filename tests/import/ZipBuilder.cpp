#include "ZipBuilder.h"

#include <gsf/gsf-outfile-zip.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>

#include <map>
#include <memory>
#include <stdexcept>

namespace KramoTest {
namespace {

struct Unref {
    void operator()(void* object) const { g_object_unref(object); }
};
template <typename T>
using Handle = std::unique_ptr<T, Unref>;

void Close(GsfOutput* output) {
    if (!gsf_output_close(output)) {
        throw std::runtime_error("zip part not written");
    }
}

}  // namespace

ZipBuilder& ZipBuilder::Add(std::string name, std::string content) {
    for (auto& part : parts_) {
        if (part.first == name) {
            part.second = std::move(content);
            return *this;
        }
    }
    parts_.emplace_back(std::move(name), std::move(content));
    return *this;
}

void ZipBuilder::Write(const std::string& path) const {
    Handle<GsfOutput> file(gsf_output_stdio_new(path.c_str(), nullptr));
    Handle<GsfOutfile> zip(file ? gsf_outfile_zip_new(file.get(), nullptr) : nullptr);
    if (!zip) {
        throw std::runtime_error("zip not opened: " + path);
    }
    // Folders stay open until every part is written; the container closes them in turn.
    std::map<std::string, Handle<GsfOutfile>> folders;
    for (const auto& [name, content] : parts_) {
        GsfOutfile* parent = zip.get();
        std::string::size_type start = 0;
        for (auto slash = name.find('/'); slash != std::string::npos;
             start = slash + 1, slash = name.find('/', start)) {
            auto& folder = folders[name.substr(0, slash)];
            if (!folder) {
                folder.reset(GSF_OUTFILE(gsf_outfile_new_child(
                    parent, name.substr(start, slash - start).c_str(), TRUE)));
            }
            parent = folder.get();
        }
        Handle<GsfOutput> part(gsf_outfile_new_child(parent, name.substr(start).c_str(), FALSE));
        gsf_output_write(part.get(), content.size(),
                         reinterpret_cast<const guint8*>(content.data()));
        Close(part.get());
    }
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        Close(GSF_OUTPUT(folder->second.get()));
    }
    Close(GSF_OUTPUT(zip.get()));
    Close(file.get());
}

ZipBuilder ZipBuilder::Xlsx(const std::string& rows, const std::string& sharedStrings) {
    const std::string relationships =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    const std::string type = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    ZipBuilder zip;
    zip.Add("_rels/.rels", relationships + "<Relationship Id=\"rId1\" Type=\"" + type +
                               "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    zip.Add("xl/workbook.xml",
            "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
            "xmlns:r=\"" +
                type.substr(0, type.size() - 1) +
                "\"><sheets>"
                "<sheet name=\"Predajca\" sheetId=\"1\" r:id=\"rId1\"/>"
                "<sheet name=\"Druhy\" sheetId=\"2\" r:id=\"rId2\"/></sheets></workbook>");
    zip.Add("xl/_rels/workbook.xml.rels",
            relationships + "<Relationship Id=\"rId2\" Type=\"" + type +
                "worksheet\" Target=\"worksheets/sheet2.xml\"/><Relationship Id=\"rId1\" Type=\"" +
                type +
                "worksheet\" Target=\"/xl/worksheets/sheet1.xml\"/><Relationship "
                "Id=\"rId3\" Type=\"" +
                type + "sharedStrings\" Target=\"sharedStrings.xml\"/></Relationships>");
    zip.Add("xl/worksheets/sheet1.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet "
            "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
                rows + "</sheetData></worksheet>");
    zip.Add("xl/worksheets/sheet2.xml", "damaged: never read");
    if (!sharedStrings.empty()) {
        zip.Add("xl/sharedStrings.xml",
                "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">" +
                    sharedStrings + "</sst>");
    }
    return zip;
}

ZipBuilder ZipBuilder::Ods(const std::string& rows) {
    ZipBuilder zip;
    zip.Add("mimetype", "application/vnd.oasis.opendocument.spreadsheet");
    zip.Add("content.xml",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><office:document-content "
            "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
            "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
            "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body>"
            "<office:spreadsheet><table:table table:name=\"Predajca\">" +
                rows +
                "</table:table><table:table table:name=\"Druhy\"><table:table-row>"
                "<table:table-cell office:value-type=\"string\"><text:p>iný</text:p>"
                "</table:table-cell></table:table-row></table:table></office:spreadsheet>"
                "</office:body></office:document-content>");
    return zip;
}

}  // namespace KramoTest
