#pragma once

#include <cstddef>
#include <string>

namespace irr {
namespace io {

enum EXML_NODE {
    EXN_NONE = 0,
    EXN_ELEMENT = 1,
    EXN_ELEMENT_END = 2,
    EXN_TEXT = 3,
    EXN_COMMENT = 4,
    EXN_CDATA = 5,
    EXN_UNKNOWN = 6,
};

// A pull reader: every Read moves to the next node of the document, whose parts the getters
// then show.
class IIrrXMLReader {
  public:
    virtual ~IIrrXMLReader() = default;

    // False when the input is exhausted.
    virtual bool Read() = 0;
    virtual EXML_NODE GetNodeType() const = 0;
    // Attributes of the current element start; an index past the count gives an empty text.
    virtual std::size_t GetAttributeCount() const = 0;
    virtual const std::string& GetAttributeName(std::size_t index) const = 0;
    virtual const std::string& GetAttributeValue(std::size_t index) const = 0;
    // Name and data are one text: the name of an element, the content of other nodes.
    virtual const std::string& GetNodeName() const = 0;
    virtual const std::string& GetNodeData() const = 0;
    // The current element start closed itself ("/>").
    virtual bool IsEmptyElement() const = 0;
};

}  // namespace io
}  // namespace irr
