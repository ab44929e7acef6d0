#pragma once

#include <string>
#include <vector>

#include "settings/IFileReadCallBack.h"
#include "settings/IIrrXMLReader.h"

namespace irr {
namespace io {

// The pull reader over a whole input loaded at construction. UTF-16 and UTF-32 input (known by
// its byte-order mark) is turned into UTF-8; any other input is taken byte for byte.
class CXMLReaderImpl : public IIrrXMLReader {
  public:
    // The settings file is a few hundred bytes; a larger input is refused rather than loaded.
    static constexpr std::size_t MaximumInputSize = 16 * 1024 * 1024;

    // Throws std::length_error for an input over MaximumInputSize.
    explicit CXMLReaderImpl(IFileReadCallBack& input);
    CXMLReaderImpl(const CXMLReaderImpl&) = delete;
    CXMLReaderImpl& operator=(const CXMLReaderImpl&) = delete;

    bool Read() override;
    EXML_NODE GetNodeType() const override { return nodeType_; }
    std::size_t GetAttributeCount() const override { return attributes_.size(); }
    const std::string& GetAttributeName(std::size_t index) const override;
    const std::string& GetAttributeValue(std::size_t index) const override;
    const std::string& GetNodeName() const override { return nodeText_; }
    const std::string& GetNodeData() const override { return nodeText_; }
    bool IsEmptyElement() const override { return isEmptyElement_; }

  private:
    using Position = std::vector<char>::const_iterator;

    struct Attribute {
        std::string name;
        std::string value;
    };

    void ParseTag();
    void ParseElementStart();
    // False when the tag ends here, at '>' or at a malformed attribute.
    bool ParseAttribute();
    void ParseElementEnd();
    void ParseComment();
    void ParseCData();
    void SkipProcessingInstruction();
    void SetNode(EXML_NODE type, std::string text);
    // Moves past the next c, or to the end when there is none.
    void SkipPast(char c);

    std::vector<char> text_;
    Position position_;
    EXML_NODE nodeType_ = EXN_NONE;
    std::string nodeText_;
    std::vector<Attribute> attributes_;
    bool isEmptyElement_ = false;
};

}  // namespace io
}  // namespace irr
