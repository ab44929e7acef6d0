#include "XlsxWorkbook.h"

#include <stdexcept>

#include "import/GridBuilder.h"
#include "import/LibraryWarningsToLog.h"
#include "import/XlsxSheet.h"
#include "import/XmlStreamReader.h"
#include "support/FormatText.h"
#include "support/TextHelpers.h"
#include "support/Translation.h"

namespace KramoExcel {
namespace {

const char* const OfficeDocumentType = "/officeDocument";
const char* const WorksheetType = "/worksheet";
const char* const SharedStringsType = "/sharedStrings";

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string FolderOf(const std::string& part) {
    const std::string::size_type slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

// A relationship's target as a part name: relative to the part's folder unless it starts at
// the container's root; "." and ".." resolved, never above the root.
std::string ResolveTarget(const std::string& sourcePart, const std::string& target) {
    const std::string path =
        !target.empty() && target[0] == '/' ? target : FolderOf(sourcePart) + target;
    std::vector<std::string> names;
    for (const std::string& name : Kramo::SplitText(path, "/")) {
        if (name == "..") {
            if (!names.empty()) {
                names.pop_back();
            }
        } else if (name != ".") {
            names.push_back(name);
        }
    }
    std::string resolved;
    for (const std::string& name : names) {
        resolved += (resolved.empty() ? "" : "/") + name;
    }
    return resolved;
}

std::string RelationshipsPart(const std::string& part) {
    const std::string folder = FolderOf(part);
    return folder + "_rels/" + part.substr(folder.size()) + ".rels";
}

}  // namespace

XlsxWorkbook::Relationships XlsxWorkbook::ReadRelationships(const ZipContainer& zip,
                                                            const std::string& part) {
    Relationships relationships;
    const std::string relationshipsPart = RelationshipsPart(part);
    if (!zip.Has(relationshipsPart)) {
        return relationships;
    }
    ZipEntry entry = zip.Open(relationshipsPart);
    XmlStreamReader xml(entry);
    while (xml.Next()) {
        if (!xml.IsStart() || !xml.Is("Relationship") ||
            xml.Attribute("TargetMode").value_or("") == "External") {
            continue;
        }
        const auto id = xml.Attribute("Id");
        const auto target = xml.Attribute("Target");
        if (id && target) {
            relationships[*id] = {xml.Attribute("Type").value_or(""), ResolveTarget(part, *target)};
        }
    }
    return relationships;
}

std::string XlsxWorkbook::TargetOfType(const Relationships& relationships,
                                       const std::string& type) {
    for (const auto& [id, relationship] : relationships) {
        if (EndsWith(relationship.type, type)) {
            return relationship.target;
        }
    }
    return {};
}

std::string XlsxWorkbook::WorkbookPart(const ZipContainer& zip) {
    const std::string named = TargetOfType(ReadRelationships(zip, ""), OfficeDocumentType);
    return named.empty() ? "xl/workbook.xml" : named;
}

std::string XlsxWorkbook::FirstWorksheetPart(const ZipContainer& zip, const std::string& workbook,
                                             const Relationships& relationships) {
    ZipEntry entry = zip.Open(workbook);
    XmlStreamReader xml(entry);
    while (xml.Next()) {
        if (!xml.IsStart() || !xml.Is("sheet")) {
            continue;
        }
        // The sheets in the workbook's order; a chart sheet before them is not the seller's.
        const auto found = relationships.find(xml.PrefixedAttribute("id").value_or(""));
        if (found != relationships.end() && EndsWith(found->second.type, WorksheetType)) {
            return found->second.target;
        }
    }
    throw std::runtime_error(_("zošit neobsahuje žiadny hárok"));
}

std::vector<std::string> XlsxWorkbook::ReadSharedStrings(const ZipContainer& zip,
                                                         const std::string& part) {
    std::vector<std::string> strings;
    if (part.empty() || !zip.Has(part)) {
        return strings;  // a cell that names one is refused
    }
    ZipEntry entry = zip.Open(part);
    XmlStreamReader xml(entry);
    std::size_t bytes = 0;
    while (xml.Next()) {
        if (!xml.IsStart() || !xml.Is("si")) {
            continue;
        }
        if (strings.size() == GridBuilder::MaxCells) {
            throw std::runtime_error(Kramo::FormatText(
                _("zošit má viac ako %zu rôznych textov, toľko ich program nenačíta"),
                GridBuilder::MaxCells));
        }
        strings.push_back(XlsxSheet::ReadRichText(xml));
        bytes += strings.back().size();
        GridBuilder::CheckSheetText(bytes);
    }
    return strings;
}

void XlsxWorkbook::LoadFile(const std::string& path) {
    LibraryWarningsToLog warnings("Zip container");
    const ZipContainer zip(path);
    const std::string workbook = WorkbookPart(zip);
    const Relationships relationships = ReadRelationships(zip, workbook);
    const std::string sheetPart = FirstWorksheetPart(zip, workbook, relationships);
    const std::vector<std::string> sharedStrings =
        ReadSharedStrings(zip, TargetOfType(relationships, SharedStringsType));
    GridBuilder builder;
    ZipEntry sheet = zip.Open(sheetPart);
    XlsxSheet(sharedStrings).Read(sheet, builder);
    grid_ = builder.Finish();
}

}  // namespace KramoExcel
