#include "brennock/internal/xml/xml_markup.h"

#include <cstring>

#include "brennock/internal/util/text.h"
#include "brennock/internal/xml/xml_blanks.h"

namespace brennock::detail {

namespace {

void AppendEscapedText(std::string_view value, std::string& out) {
  AppendXmlEscaped(out, value, XmlEscaping::kText);
}

void AppendCdata(std::string_view value, std::string& out) {
  // "]]>" cannot stand inside one section; it is split across two.
  out += "<![CDATA[";
  std::size_t run = 0;
  for (std::size_t at = value.find("]]>"); at != std::string_view::npos;
       at = value.find("]]>", at + 1)) {
    out.append(value, run, at + 2 - run);
    out += "]]><![CDATA[";
    run = at + 2;
  }
  out.append(value, run, value.size() - run);
  out += "]]>";
}

void AppendStartTag(pugi::xml_node element, std::string& out) {
  out += '<';
  out += element.name();
  for (pugi::xml_attribute attribute : element.attributes()) {
    out += ' ';
    out += attribute.name();
    out += "=\"";
    AppendEscapedAttribute(attribute.value(), out);
    out += '"';
  }
}

// Leaf nodes and the opening of elements; returns true when the element's children follow.
bool AppendOpening(pugi::xml_node node, std::string& out) {
  switch (node.type()) {
    case pugi::node_element:
      AppendStartTag(node, out);
      if (node.first_child()) {
        out += '>';
        return true;
      }
      out += "/>";
      return false;
    case pugi::node_pcdata:
      AppendEscapedText(node.value(), out);
      return false;
    case pugi::node_cdata:
      AppendCdata(node.value(), out);
      return false;
    case pugi::node_comment:
      out += "<!--";
      out += node.value();
      out += "-->";
      return false;
    case pugi::node_pi:
      out += "<?";
      out += node.name();
      if (*node.value() != '\0') {
        out += ' ';
        out += node.value();
      }
      out += "?>";
      return false;
    case pugi::node_declaration:
      // The declaration loses its encoding: the markup is a string, not bytes.
      out += "<?xml";
      for (pugi::xml_attribute attribute : node.attributes()) {
        if (std::strcmp(attribute.name(), "encoding") == 0) continue;
        out += ' ';
        out += attribute.name();
        out += "=\"";
        AppendEscapedAttribute(attribute.value(), out);
        out += '"';
      }
      out += "?>";
      return false;
    case pugi::node_doctype:
      out += "<!DOCTYPE ";
      out += node.value();
      out += '>';
      return false;
    default:
      return false;
  }
}

}  // namespace

void AppendEscapedAttribute(std::string_view value, std::string& out) {
  AppendXmlEscaped(out, value, XmlEscaping::kAttribute);
}

void AppendMarkup(pugi::xml_node root, std::string& out) {
  // Iterative, so that deeply nested input cannot exhaust the stack.
  pugi::xml_node node = root;
  while (true) {
    if (AppendOpening(node, out)) {
      node = node.first_child();
      continue;
    }
    while (true) {
      if (node == root) return;
      if (pugi::xml_node next = node.next_sibling()) {
        node = next;
        break;
      }
      node = node.parent();
      out += "</";
      out += node.name();
      out += '>';
    }
  }
}

std::string NodeText(pugi::xml_node node) {
  switch (node.type()) {
    case pugi::node_pcdata:
    case pugi::node_cdata:
    case pugi::node_comment:
    case pugi::node_pi:
      return std::string(TrimBlanks(node.value()));
    case pugi::node_declaration:
      return DeclarationData(node);
    case pugi::node_element:
    case pugi::node_document:
      break;
    default:
      return {};
  }
  pugi::xml_node first = node.first_child();
  if (!first) return {};
  // The common case: an element holding one piece of text.
  if (!first.next_sibling() &&
      (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata)) {
    return std::string(TrimBlanks(first.value()));
  }
  std::string text;
  pugi::xml_node at = first;
  while (at) {
    if (at.type() == pugi::node_pcdata || at.type() == pugi::node_cdata) text += at.value();
    if (pugi::xml_node child = at.first_child()) {
      at = child;
      continue;
    }
    while (at != node && !at.next_sibling()) at = at.parent();
    if (at == node) break;
    at = at.next_sibling();
  }
  std::string_view kept = TrimBlanks(text);
  if (kept.size() == text.size()) return text;
  return std::string(kept);
}

std::string DeclarationData(pugi::xml_node declaration) {
  std::string data;
  for (pugi::xml_attribute attribute : declaration.attributes()) {
    if (!data.empty()) data += ' ';
    data += attribute.name();
    data += "=\"";
    data += attribute.value();
    data += '"';
  }
  return data;
}

std::string_view DomNodeName(pugi::xml_node node) {
  switch (node.type()) {
    case pugi::node_document:
      return "#document";
    case pugi::node_pcdata:
      return "#text";
    case pugi::node_cdata:
      return "#cdata-section";
    case pugi::node_comment:
      return "#comment";
    case pugi::node_declaration:
      return "xml";
    case pugi::node_doctype: {
      std::string_view value = node.value();
      std::size_t end = 0;
      while (end < value.size() && !IsXmlBlank(value[end]) && value[end] != '[') ++end;
      return value.substr(0, end);
    }
    default:
      return node.name();
  }
}

std::string_view LocalName(std::string_view qualified) {
  std::size_t colon = qualified.find(':');
  return colon == std::string_view::npos ? qualified : qualified.substr(colon + 1);
}

}  // namespace brennock::detail
