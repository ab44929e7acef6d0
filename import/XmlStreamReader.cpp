#include "XmlStreamReader.h"

#include <libxml/xmlreader.h>

#include <cstring>
#include <stdexcept>

#include "support/FormatStream.h"
#include "support/Log.h"
#include "support/Translation.h"

namespace KramoExcel {
namespace {

const char* Text(const xmlChar* text) {
    return reinterpret_cast<const char*>(text);
}

std::optional<std::string> Owned(xmlChar* value) {
    if (value == nullptr) {
        return std::nullopt;
    }
    std::string text(Text(value));
    xmlFree(value);
    return text;
}

bool Equal(const xmlChar* text, const char* expected) {
    return text != nullptr && std::strcmp(Text(text), expected) == 0;
}

// No network, no DTD loaded, entities left as references (never substituted), and the
// parser's own limits on huge texts kept.
constexpr int ParseOptions = XML_PARSE_NONET;
// No workbook part starts with more than this before its root element.
constexpr std::size_t LongestProlog = 65536;
const char DocumentType[] = "<!DOCTYPE";
constexpr std::size_t DocumentTypeLength = sizeof DocumentType - 1;

}  // namespace

void XmlStreamReader::Releaser::operator()(xmlTextReader* reader) const {
    xmlFreeTextReader(reader);
}

XmlStreamReader::XmlStreamReader(ZipEntry& entry) : entry_(entry) {
    // The parser reads its first bytes already here.
    reader_.reset(
        xmlReaderForIO(&XmlStreamReader::ReadInput, nullptr, this, nullptr, nullptr, ParseOptions));
    if (declaresType_) {
        RefuseDocumentType();
    }
    if (!reader_) {
        throw std::runtime_error(
            (Kramo::FormatStream(_("časť zošita %s sa nedá čítať ako XML")) << entry.Name()).str());
    }
    xmlTextReaderSetStructuredErrorHandler(reader_.get(), &XmlStreamReader::NoteError, this);
}

XmlStreamReader::~XmlStreamReader() = default;

int XmlStreamReader::ReadInput(void* reader, char* buffer, int size) {
    auto* self = static_cast<XmlStreamReader*>(reader);
    const int count = self->entry_.Read(buffer, size);
    if (count > 0 && self->inProlog_ && self->DeclaresDocumentType(buffer, count)) {
        self->declaresType_ = true;
        return -1;
    }
    return count;
}

bool XmlStreamReader::DeclaresDocumentType(const char* bytes, int count) {
    prolog_.append(bytes, static_cast<std::size_t>(count));
    for (; scanned_ + DocumentTypeLength <= prolog_.size(); ++scanned_) {
        if (prolog_[scanned_] != '<' || prolog_[scanned_ + 1] == '?') {
            continue;
        }
        if (prolog_[scanned_ + 1] != '!') {
            inProlog_ = false;  // the root element
            break;
        }
        if (prolog_.compare(scanned_, DocumentTypeLength, DocumentType) == 0) {
            return true;
        }
    }
    if (!inProlog_ || prolog_.size() > LongestProlog) {
        inProlog_ = false;
        prolog_.clear();
    }
    return false;
}

void XmlStreamReader::NoteError(void* reader, xmlErrorPtr error) {
    auto* self = static_cast<XmlStreamReader*>(reader);
    if (self->parserMessage_.empty() && error != nullptr && error->level >= XML_ERR_ERROR &&
        error->message != nullptr) {
        self->parserMessage_ = error->message;
    }
}

void XmlStreamReader::RefuseDocumentType() const {
    throw std::runtime_error(
        (Kramo::FormatStream(_("časť zošita %s obsahuje definíciu typu dokumentu alebo entitu, "
                               "ktoré program z bezpečnostných dôvodov nečíta"))
         << entry_.Name())
            .str());
}

void XmlStreamReader::Fail() const {
    if (declaresType_) {
        RefuseDocumentType();
    }
    if (!entry_.Failure().empty()) {
        throw std::runtime_error(entry_.Failure());
    }
    Kramo::LogMessage(Kramo::LogNotice, "Part '%s' is not well-formed XML: %s",
                      entry_.Name().c_str(),
                      parserMessage_.empty() ? "no reason given\n" : parserMessage_.c_str());
    throw std::runtime_error(
        (Kramo::FormatStream(_("časť zošita %s nie je platné XML")) << entry_.Name()).str());
}

int XmlStreamReader::NodeType() const {
    return xmlTextReaderNodeType(reader_.get());
}

bool XmlStreamReader::Next() {
    const int result = xmlTextReaderRead(reader_.get());
    if (result < 0 || (result == 1 && !parserMessage_.empty())) {
        Fail();
    }
    const int type = result == 1 ? NodeType() : XML_READER_TYPE_NONE;
    if (type == XML_READER_TYPE_DOCUMENT_TYPE || type == XML_READER_TYPE_ENTITY_REFERENCE) {
        RefuseDocumentType();  // one the watch over the first bytes could not see
    }
    return result == 1;
}

bool XmlStreamReader::IsStart() const {
    return NodeType() == XML_READER_TYPE_ELEMENT;
}

bool XmlStreamReader::IsEnd() const {
    return NodeType() == XML_READER_TYPE_END_ELEMENT;
}

bool XmlStreamReader::IsEmptyElement() const {
    return xmlTextReaderIsEmptyElement(reader_.get()) == 1;
}

bool XmlStreamReader::IsText() const {
    switch (NodeType()) {
        case XML_READER_TYPE_TEXT:
        case XML_READER_TYPE_CDATA:
        case XML_READER_TYPE_WHITESPACE:
        case XML_READER_TYPE_SIGNIFICANT_WHITESPACE:
            return true;
        default:
            return false;
    }
}

bool XmlStreamReader::Is(const char* localName) const {
    return Equal(xmlTextReaderConstLocalName(reader_.get()), localName);
}

bool XmlStreamReader::Is(const char* localName, const char* namespaceUri) const {
    return Is(localName) && InNamespace(namespaceUri);
}

bool XmlStreamReader::InNamespace(const char* namespaceUri) const {
    return Equal(xmlTextReaderConstNamespaceUri(reader_.get()), namespaceUri);
}

int XmlStreamReader::Depth() const {
    return xmlTextReaderDepth(reader_.get());
}

std::string XmlStreamReader::Value() const {
    const xmlChar* value = xmlTextReaderConstValue(reader_.get());
    return value == nullptr ? std::string() : std::string(Text(value));
}

std::optional<std::string> XmlStreamReader::Attribute(const char* name,
                                                      const char* namespaceUri) const {
    const auto* attribute = reinterpret_cast<const xmlChar*>(name);
    return Owned(namespaceUri == nullptr
                     ? xmlTextReaderGetAttribute(reader_.get(), attribute)
                     : xmlTextReaderGetAttributeNs(reader_.get(), attribute,
                                                   reinterpret_cast<const xmlChar*>(namespaceUri)));
}

std::optional<std::string> XmlStreamReader::PrefixedAttribute(const char* localName) const {
    std::optional<std::string> found;
    for (int more = xmlTextReaderMoveToFirstAttribute(reader_.get()); more == 1 && !found;
         more = xmlTextReaderMoveToNextAttribute(reader_.get())) {
        if (xmlTextReaderConstNamespaceUri(reader_.get()) != nullptr && Is(localName)) {
            found = Value();
        }
    }
    xmlTextReaderMoveToElement(reader_.get());
    return found;
}

void XmlStreamReader::SkipElement() {
    if (IsEmptyElement()) {
        return;
    }
    const int depth = Depth();
    while (Next()) {
        if (IsEnd() && Depth() == depth) {
            return;
        }
    }
}

}  // namespace KramoExcel
