#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace brennock::detail {

// Appends the markup of node and its subtree as MSXML serialises a node (see XmlNode::xml()).
void AppendMarkup(pugi::xml_node node, std::string& out);

// The MSXML text of a node: text and CDATA of the subtree, trimmed of leading and trailing
// whitespace.
std::string NodeText(pugi::xml_node node);

// The pseudo-attributes of an XML declaration as written: version="1.0" encoding="...".
std::string DeclarationData(pugi::xml_node declaration);

// The MSXML nodeName of a node ("#text", the tag, the DOCTYPE name ...).
std::string_view DomNodeName(pugi::xml_node node);

// A qualified name without its namespace prefix.
std::string_view LocalName(std::string_view qualified);

// Appends an attribute value escaped for double quotes.
void AppendEscapedAttribute(std::string_view value, std::string& out);

}  // namespace brennock::detail
