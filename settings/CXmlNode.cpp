#include "settings/CXmlNode.h"

#include <algorithm>
#include <iterator>

#include "support/TextHelpers.h"

namespace Kramo {
namespace {

CXmlNode& AtIndex(std::list<CXmlNode>& list, std::size_t index) {
    if (index >= list.size()) {
        return CXmlNode::Null();
    }
    return *std::next(list.begin(), static_cast<std::ptrdiff_t>(index));
}

CXmlNode& ByName(std::list<CXmlNode>& list, const std::string& name) {
    const auto found = std::find_if(list.begin(), list.end(), [&name](const CXmlNode& node) {
        return EqualIgnoringCase(node.GetName(), name);
    });
    return found == list.end() ? CXmlNode::Null() : *found;
}

}  // namespace

CXmlNode::CXmlNode(AddKey, Kind kind, std::string name, std::string text, CXmlNode* parent)
    : kind_(kind), name_(std::move(name)), text_(std::move(text)), parent_(parent) {}

// A file of thousands of nested elements must not exhaust the stack when its tree goes away:
// the subtree is taken apart level by level instead of by one destructor call per level.
CXmlNode::~CXmlNode() {
    std::list<CXmlNode> pending;
    pending.splice(pending.end(), children_);
    while (!pending.empty()) {
        pending.splice(pending.end(), pending.front().children_);
        pending.pop_front();
    }
}

CXmlNode& CXmlNode::Null() {
    static CXmlNode null(AddKey{}, Element, "!null child!", "!null child!", nullptr);
    return null;
}

CXmlNode& CXmlNode::Add(std::list<CXmlNode>& list, Kind kind, const std::string& name,
                        const std::string& text) {
    if (IsNull()) {
        return *this;
    }
    return list.emplace_back(AddKey{}, kind, name, text, this);
}

CXmlNode& CXmlNode::AddChild(const std::string& name) {
    return Add(children_, Element, name, std::string());
}

CXmlNode& CXmlNode::AddAttribute(const std::string& name, const std::string& value) {
    return Add(attributes_, Attribute, name, value);
}

void CXmlNode::SetText(std::string text) {
    // A value set on a missed lookup would otherwise turn up in every later miss.
    if (!IsNull()) {
        text_ = std::move(text);
    }
}

void CXmlNode::SetValueInt(std::int32_t value) {
    SetText(std::to_string(value));
}

CXmlNode& CXmlNode::GetChild(std::size_t index) {
    return AtIndex(children_, index);
}

CXmlNode& CXmlNode::GetAttribute(std::size_t index) {
    return AtIndex(attributes_, index);
}

CXmlNode& CXmlNode::FindChild(const std::string& name) {
    return ByName(children_, name);
}

CXmlNode& CXmlNode::FindAttribute(const std::string& name) {
    return ByName(attributes_, name);
}

}  // namespace Kramo
