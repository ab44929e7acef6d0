#include "settings/CXmlWrapperTools.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <vector>

#include "settings/CFileReadCallBack.h"
#include "settings/CXMLReaderImpl.h"
#include "settings/XmlEntities.h"
#include "support/FormatStream.h"
#include "support/Log.h"

namespace Kramo {
namespace {

using irr::io::IIrrXMLReader;

// Closes the current element on its end tag; false when the tag does not fit and reading stops.
bool CloseElement(CXmlNode*& current, const CXmlNode& root, const std::string& endName) {
    if (current == &root) {
        LogMessage(LogError,
                   "CXmlWrapperTools::ReadTreeFromIrrXml() Error while parsing, expecting endtag "
                   "'%s' but already in root node.\n",
                   endName.c_str());
        return false;
    }
    if (endName != current->GetName()) {
        LogMessage(LogError,
                   "CXmlWrapperTools::ReadTreeFromIrrXml() Error while parsing, expecting endtag "
                   "'%s' but found '%s' instead.\n",
                   endName.c_str(), current->GetName().c_str());
        return false;
    }
    current = current->GetParent();
    return true;
}

// Opens an element with its attributes; a self-closing one is closed again at once.
bool OpenElement(IIrrXMLReader& reader, CXmlNode*& current, const CXmlNode& root) {
    const std::string name = reader.GetNodeName();
    current = &current->AddChild(name);
    for (std::size_t i = 0; i < reader.GetAttributeCount(); ++i) {
        current->AddAttribute(reader.GetAttributeName(i), reader.GetAttributeValue(i));
    }
    return !reader.IsEmptyElement() || CloseElement(current, root, name);
}

// Reads the next node into the tree; false when reading stops.
bool ApplyNode(IIrrXMLReader& reader, CXmlNode*& current, const CXmlNode& root) {
    switch (reader.GetNodeType()) {
        case irr::io::EXN_NONE:
            return false;
        case irr::io::EXN_ELEMENT:
            return OpenElement(reader, current, root);
        case irr::io::EXN_TEXT:
            current->SetText(reader.GetNodeData());
            return true;
        case irr::io::EXN_ELEMENT_END:
            return CloseElement(current, root, reader.GetNodeName());
        case irr::io::EXN_COMMENT:
        case irr::io::EXN_CDATA:
        case irr::io::EXN_UNKNOWN:
            return true;
    }
    return true;
}

// Only the entities the reader replaces, so that every value reads back as it was written.
std::string Escaped(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        const auto entity = std::find_if(std::begin(XmlEntities), std::end(XmlEntities),
                                         [c](const XmlEntity& e) { return e.character == c; });
        if (entity != std::end(XmlEntities)) {
            result += entity->text;
        } else {
            result += c;
        }
    }
    return result;
}

// The pieces of the file; remembers whether any of them failed to reach it.
class XmlOutput {
  public:
    explicit XmlOutput(ConvFile::CConvFile& file) : file_(file) {}

    void Put(const FormatStream& piece) {
        const std::string text = piece.str();
        if (file_.Write(text) != text.size()) {
            failed_ = true;
        }
    }
    bool Failed() const { return failed_; }

  private:
    ConvFile::CConvFile& file_;
    bool failed_ = false;
};

// Everything of an element up to its children: name, attributes, text and, when it has no
// children, its end.
void WriteElement(XmlOutput& output, const CXmlNode& element, const std::string& indent) {
    output.Put(FormatStream("%s<%s") << indent << element.GetName());
    for (const CXmlNode& attribute : element.Attributes()) {
        output.Put(FormatStream("%s%s%s%s=\"%s\"")
                   << "\n"
                   << indent << "\t" << attribute.GetName() << Escaped(attribute.GetText()));
    }
    if (element.GetAttributeCount() > 0) {
        output.Put(FormatStream("%s%s%s") << "\n" << indent << "\t");
    }
    if (element.GetChildCount() > 0) {
        output.Put(FormatStream(">%s%s") << "\n" << Escaped(element.GetText()));
    } else if (!element.GetText().empty()) {
        output.Put(FormatStream(">%s%s</%s>%s") << Escaped(element.GetText()) << "\n"
                                                << element.GetName() << "\n");
    } else {
        output.Put(FormatStream(" />%s") << "\n");
    }
}

}  // namespace

bool CXmlWrapperTools::ReadTreeFromIrrXml(IIrrXMLReader& reader, CXmlNode& root) {
    LogMessage(LogInfo, "CXmlWrapperTools::ReadTreeFromIrrXml() reading xml into '%s' root.\n",
               root.GetName().c_str());
    CXmlNode* current = &root;
    bool stopped = false;
    while (!stopped && reader.Read()) {
        stopped = !ApplyNode(reader, current, root);
    }
    LogMessage(LogInfo, "CXmlWrapperTools::ReadTreeFromIrrXml() file read.\n");
    return !stopped && current == &root;
}

CXmlWrapperTools::WriteResult CXmlWrapperTools::WriteSimpleXmlFile(ConvFile::CConvFile& file,
                                                                   const CXmlNode& root) {
    if (!file.IsOpen()) {
        LogMessage(LogError, "CXmlWrapperTools::WriteSimpleXmlFile() target file not opened.\n");
        return FileNotOpen;
    }
    XmlOutput output(file);
    output.Put(FormatStream("%s") << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n");

    // Depth first without recursion: one open sibling range per element being written.
    using Sibling = std::list<CXmlNode>::const_iterator;
    std::vector<std::pair<Sibling, Sibling>> open{{root.Children().begin(), root.Children().end()}};
    std::string indent;
    while (!open.empty()) {
        auto& [next, end] = open.back();
        if (next == end) {
            open.pop_back();
            if (!open.empty()) {
                indent.pop_back();
                const CXmlNode& parent = *std::prev(open.back().first);
                output.Put(FormatStream("%s</%s>%s") << indent << parent.GetName() << "\n");
            }
            continue;
        }
        const CXmlNode& element = *next++;
        WriteElement(output, element, indent);
        if (element.GetChildCount() > 0) {
            open.emplace_back(element.Children().begin(), element.Children().end());
            indent += '\t';
        }
    }
    return output.Failed() ? WriteFailed : Written;
}

bool CXmlWrapperTools::ReadTreeFromDiskFile(const std::string& path, CXmlNode& root,
                                            bool* wellFormed) {
    if (wellFormed != nullptr) {
        *wellFormed = false;
    }
    std::unique_ptr<irr::io::IIrrXMLReader> reader;
    try {
        irr::io::CFileReadCallBack input(path);
        reader = std::make_unique<irr::io::CXMLReaderImpl>(input);
    } catch (const std::exception&) {
        // The file is too large for memory or for the reader's limit.
        LogMessage(LogError, "CXmlWrapperTools::ReadTreeFromDiskFile() error.\n");
        return false;
    }
    const bool wellFormedTree = ReadTreeFromIrrXml(*reader, root);
    if (wellFormed != nullptr) {
        *wellFormed = wellFormedTree;
    }
    return true;
}

}  // namespace Kramo
