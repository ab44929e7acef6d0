#pragma once

#include <cstdint>
#include <list>
#include <string>

namespace Kramo {

// One element or attribute of an in-memory XML tree. Children and attributes live in lists, so
// the address of a node, and with it every parent pointer, stays valid while the node exists;
// for the same reason a node is neither copied nor moved.
class CXmlNode {
    // Only a node creates the nodes it adds, yet the list must reach the constructor; the
    // explicit constructor keeps others from passing a bare {}.
    struct AddKey {
        explicit AddKey() = default;
    };

  public:
    enum Kind : std::int32_t { Element = 0, Attribute = 1 };

    // An empty document node: an element without name, text or parent.
    CXmlNode() = default;
    CXmlNode(AddKey, Kind kind, std::string name, std::string text, CXmlNode* parent);
    ~CXmlNode();
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;

    // The shared node that every lookup returns when it finds nothing; adding to it or setting
    // its value changes nothing.
    static CXmlNode& Null();
    bool IsNull() const { return this == &Null(); }

    CXmlNode& AddChild(const std::string& name);
    CXmlNode& AddAttribute(const std::string& name, const std::string& value);
    void SetText(std::string text);
    void SetValueInt(std::int32_t value);

    // Positions count from 0; names are compared ignoring ASCII letter case.
    CXmlNode& GetChild(std::size_t index);
    CXmlNode& GetAttribute(std::size_t index);
    CXmlNode& FindChild(const std::string& name);
    CXmlNode& FindAttribute(const std::string& name);

    Kind GetKind() const { return kind_; }
    const std::string& GetName() const { return name_; }
    const std::string& GetText() const { return text_; }
    std::size_t GetChildCount() const { return children_.size(); }
    std::size_t GetAttributeCount() const { return attributes_.size(); }
    CXmlNode* GetParent() const { return parent_; }
    const std::list<CXmlNode>& Children() const { return children_; }
    const std::list<CXmlNode>& Attributes() const { return attributes_; }

  private:
    CXmlNode& Add(std::list<CXmlNode>& list, Kind kind, const std::string& name,
                  const std::string& text);

    Kind kind_ = Element;
    std::string name_;
    std::string text_;
    std::list<CXmlNode> children_;
    std::list<CXmlNode> attributes_;
    CXmlNode* parent_ = nullptr;
};

}  // namespace Kramo
