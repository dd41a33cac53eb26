// The XML document wrapper and its positional view, walked over whatever loads: every node's
// names, values, text and markup, its attributes and its children by position (which agree with
// iteration and end in Nothing on both sides); the markup of a loaded document loads again and
// writes the same; a text that does not load leaves an empty document with a reason.
#include "brennock/xml/xml_document.h"

#include <cstdint>
#include <string>
#include <vector>

#include "brennock/errors/automation_error.h"
#include "brennock/internal/util/text.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_node.h"
#include "fuzz/fuzz_support.h"

namespace brennock::fuzz {
namespace {

// Everything a reader can ask of one node and its attributes, written out.
void Visit(const XmlNode& node, std::string& out) {
  out += std::to_string(node.nodeType());
  out += ' ';
  out += node.nodeName();
  out += ' ';
  out += node.baseName();
  out += '[';
  out += node.nodeValue();
  out += "][";
  out += node.text();
  out += "]\n";
  Require(node.nodeTypedValue() == node.text(), "nodeTypedValue differs from text");
  node.xml();
  XmlAttributes attributes = node.attributes();
  for (int32_t i = 0; i < attributes.length(); ++i) {
    XmlAttribute attribute = attributes.item(i);
    Require(static_cast<bool>(attribute), "an attribute inside the list is Nothing");
    out += ' ';
    out += attribute.xml();
    Require(attributes.getNamedItem(attribute.nodeName()).nodeName() == attribute.nodeName(),
            "getNamedItem misses an attribute", attribute.nodeName());
    Require(attribute.baseName().size() <= attribute.nodeName().size(), "attribute baseName");
  }
  Require(!attributes.item(attributes.length()) && !attributes.item(-1),
          "attributes outside the list are not Nothing");
}

// The tree below root, breadth by position with an explicit stack (no recursion on deep input).
std::string Walk(const XmlNode& root) {
  std::string out;
  std::vector<XmlNode> pending{root};
  while (!pending.empty()) {
    XmlNode node = pending.back();
    pending.pop_back();
    Visit(node, out);
    XmlNodeList children = node.childNodes();
    const int32_t length = children.length();
    Require(node.hasChildNodes() == (length > 0), "hasChildNodes disagrees with length");
    Require(!children.item(length) && !children.item(-1),
            "children outside the list are not Nothing");
    int32_t position = 0;
    for (XmlNode child : children) {
      Require(child == children.item(position), "iteration and item() disagree");
      ++position;
    }
    Require(position == length, "iteration and length disagree");
    // Backwards by position, a fresh list each step, as callers walk it.
    for (int32_t i = length - 1; i >= 0; --i) pending.push_back(node.childNodes().item(i));
  }
  return out;
}

}  // namespace
}  // namespace brennock::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brennock;
  using fuzz::Require;
  std::string text(reinterpret_cast<const char*>(data), size);
  XmlDocument document;
  if (!document.loadXML(text)) {
    XmlParseError error = document.parseError();
    Require(error.errorCode == 1 && !error.reason.empty(), "a failed load without a reason");
    // The position counts in the UTF-8 text parsed: a single-byte text decoded grows up to
    // three times (windows-1252's euro sign).
    Require(error.filepos >= 0 && error.filepos <= 3 * static_cast<int64_t>(size),
            "a failed load's position is outside the text");
    Require(document.childNodes().length() == 0 && !document.documentElement(),
            "a failed load left nodes");
    try {
      document.documentElement().childNodes();
      fuzz::Fail("Nothing did not raise");
    } catch (const AutomationError& error) {
      Require(error.Number() == 91, "Nothing raised another error");
    }
    return 0;
  }
  Require(document.parseError().errorCode == 0, "a loaded document reports an error");
  Require(static_cast<bool>(document.documentElement()), "a loaded document without a root");
  fuzz::Walk(document);
  // What the document writes loads again; once the loader has normalised its line ends (a CR
  // in text is written as it is, as MSXML writes it, and reads back as a LF) it writes the same.
  const std::string markup = document.xml();
  // A reference to a lone surrogate loads (as MSXML takes it) but has no UTF-8 to write back.
  if (!IsValidUtf8(markup)) return 0;
  XmlDocument again;
  Require(again.loadXML(markup), "the written markup does not load", markup);
  fuzz::Walk(again);
  const std::string normalised = again.xml();
  XmlDocument third;
  Require(third.loadXML(normalised), "the written markup does not load", normalised);
  Require(third.xml() == normalised, "the written markup changes when loaded again",
          normalised + "\n---\n" + third.xml());
  // Replacing the root's content by a text: the text reads back trimmed, the rest stays valid.
  XmlNode root = document.documentElement();
  root.setText(" x ");
  Require(root.text() == "x", "setText does not read back", root.text());
  return 0;
}
