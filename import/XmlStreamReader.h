#pragma once

#include <memory>
#include <optional>
#include <string>

#include "import/ZipEntry.h"

typedef struct _xmlTextReader xmlTextReader;
struct _xmlError;

namespace KramoExcel {

// Walks the XML of a zip part node by node (libxml2's xmlTextReader), never holding the
// document as a tree. Nothing is fetched from the network, and a document bringing a document
// type declaration is refused: no entity is ever expanded or loaded.
class XmlStreamReader {
  public:
    explicit XmlStreamReader(ZipEntry& entry);
    ~XmlStreamReader();
    XmlStreamReader(const XmlStreamReader&) = delete;
    XmlStreamReader& operator=(const XmlStreamReader&) = delete;

    // Moves to the next node; false after the end of the document. Throws std::runtime_error
    // with the reason in words when the part cannot be read, is not well-formed XML or
    // declares a document type.
    bool Next();

    bool IsStart() const;  // a start tag, or an empty element
    bool IsEnd() const;    // an end tag (an empty element has none)
    bool IsEmptyElement() const;
    // Character data of any kind, white space included.
    bool IsText() const;
    // The element's local name, whatever its namespace prefix.
    bool Is(const char* localName) const;
    bool Is(const char* localName, const char* namespaceUri) const;
    bool InNamespace(const char* namespaceUri) const;
    int Depth() const;

    // The text of a text node.
    std::string Value() const;
    // An attribute without prefix ("r"), or one in the namespace given.
    std::optional<std::string> Attribute(const char* name,
                                         const char* namespaceUri = nullptr) const;
    // An attribute of the local name in whatever namespace ("r:id" in either OOXML dialect).
    std::optional<std::string> PrefixedAttribute(const char* localName) const;

    // From a start tag, moves to its end (an empty element is its own end).
    void SkipElement();

  private:
    struct Releaser {
        void operator()(xmlTextReader* reader) const;
    };
    static int ReadInput(void* reader, char* buffer, int size);
    static void NoteError(void* reader, ::_xmlError* error);
    // Watches the bytes before the root element for a document type declaration, so that the
    // parser never sees one.
    bool DeclaresDocumentType(const char* bytes, int count);
    [[noreturn]] void Fail() const;
    [[noreturn]] void RefuseDocumentType() const;
    int NodeType() const;

    ZipEntry& entry_;
    std::string prolog_;  // the bytes before the root element, while they come
    std::size_t scanned_ = 0;
    bool inProlog_ = true;
    bool declaresType_ = false;
    std::string parserMessage_;
    std::unique_ptr<xmlTextReader, Releaser> reader_;
};

}  // namespace KramoExcel
