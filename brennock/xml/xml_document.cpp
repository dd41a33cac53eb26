#include "brennock/xml/xml_document.h"

#include <fstream>
#include <iterator>
#include <utility>

#include "brennock/internal/xml/xml_tree.h"

namespace brennock {

XmlDocument::XmlDocument() : XmlNode(std::make_shared<detail::XmlTree>(), nullptr) {
  node_ = tree_->Document().internal_object();
}

bool XmlDocument::loadXML(std::string text) {
  // A fresh tree each time: nodes of the previous content keep theirs alive.
  auto tree = std::make_shared<detail::XmlTree>();
  const bool loaded = tree->Load(std::move(text));
  node_ = tree->Document().internal_object();
  tree_ = std::move(tree);
  return loaded;
}

bool XmlDocument::load(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    auto tree = std::make_shared<detail::XmlTree>();
    tree->Fail("The system cannot locate the object specified.", -1);
    node_ = tree->Document().internal_object();
    tree_ = std::move(tree);
    return false;
  }
  return loadXML(std::string(std::istreambuf_iterator<char>(file), {}));
}

XmlParseError XmlDocument::parseError() const { return tree_->Error(); }

XmlNode XmlDocument::documentElement() const {
  pugi::xml_node document = tree_->Document();
  for (pugi::xml_node child = tree_->FirstChild(document); child;
       child = tree_->NextSibling(child)) {
    if (child.type() == pugi::node_element) return XmlNode(tree_, child.internal_object());
  }
  return {};
}

}  // namespace brennock
