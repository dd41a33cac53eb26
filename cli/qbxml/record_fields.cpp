#include "cli/qbxml/record_fields.h"

#include <cstdint>
#include <span>

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/util/text.h"

namespace brennock::cli {
namespace {

bool HasElementChildren(const XmlNode& node) {
  for (XmlNode child : node.childNodes())
    if (child.nodeType() == NODE_ELEMENT) return true;
  return false;
}

XmlNode ChildNamed(const XmlNode& node, std::string_view name) {
  for (XmlNode child : node.childNodes())
    if (child.nodeType() == NODE_ELEMENT && SameName(child.nodeName(), name)) return child;
  return {};
}

// The text of an element reached by a path: a reference reads as its FullName (else its ListID).
std::string ValueOf(const XmlNode& element) {
  if (!HasElementChildren(element)) return element.text();
  if (XmlNode name = ChildNamed(element, "FullName")) return name.text();
  if (XmlNode id = ChildNamed(element, "ListID")) return id.text();
  return element.text();
}

std::vector<std::string> SplitPath(std::string_view field) {
  std::vector<std::string> steps;
  size_t start = 0;
  while (start <= field.size()) {
    size_t dot = field.find('.', start);
    if (dot == std::string_view::npos) dot = field.size();
    steps.emplace_back(field.substr(start, dot - start));
    start = dot + 1;
  }
  return steps;
}

void Flatten(const XmlNode& node, std::string& prefix,
             std::vector<std::pair<std::string, std::string>>& out) {
  for (XmlNode child : node.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    size_t mark = prefix.size();
    if (!prefix.empty()) prefix += '.';
    prefix += child.nodeName();
    if (HasElementChildren(child)) {
      Flatten(child, prefix, out);
    } else if (!out.empty() && out.back().first == prefix) {
      out.back().second += ", ";
      out.back().second += child.text();
    } else {
      out.emplace_back(prefix, child.text());
    }
    prefix.resize(mark);
  }
}

// The catalogue's entry for a child of shape; children come in schema order, so the search starts
// after the previous child's entry (hint) and wraps around once.
const qbxml::Element* FindInShape(const qbxml::Aggregate* shape, std::string_view name,
                                  size_t& hint) {
  if (!shape) return nullptr;
  std::span<const qbxml::Element> elements = shape->elements;
  for (size_t step = 0; step < elements.size(); ++step) {
    size_t at = (hint + step) % elements.size();
    if (elements[at].name == name) {
      hint = at;
      return &elements[at];
    }
  }
  return nullptr;
}

// JSON's number grammar: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool IsJsonNumber(std::string_view text) {
  size_t i = 0;
  auto digits = [&] {
    size_t start = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i > start;
  };
  if (i < text.size() && text[i] == '-') ++i;
  if (i < text.size() && text[i] == '0') {
    ++i;
  } else if (!digits()) {
    return false;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    if (!digits()) return false;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (!digits()) return false;
  }
  return i == text.size();
}

// A leaf as its catalogue type says. Amounts and prices stay strings: a JSON reader would take
// them as binary floating point and lose their decimals.
void AppendLeafJson(std::string& out, const qbxml::Element* element, const std::string& text) {
  using qbxml::ValueType;
  switch (element ? element->type : ValueType::kText) {
    case ValueType::kBool:
      if (text == "true" || text == "false") {
        out += text;
        return;
      }
      break;
    case ValueType::kInt:
    case ValueType::kQuantity:
    case ValueType::kPercent:
    case ValueType::kFloat:
      if (IsJsonNumber(text)) {
        out += text;
        return;
      }
      break;
    default:
      break;
  }
  AppendJsonString(out, text);
}

void AppendElementsJson(std::string& out, const XmlNode& parent, const qbxml::Aggregate* shape,
                        std::string_view kind) {
  std::vector<XmlNode> children;
  std::vector<std::string> names;
  for (XmlNode child : parent.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    names.push_back(child.nodeName());
    children.push_back(std::move(child));
  }
  auto value = [&out](const XmlNode& node, const qbxml::Element* element) {
    if (HasElementChildren(node))
      AppendElementsJson(out, node, element ? qbxml::Nested(*element) : nullptr, {});
    else
      AppendLeafJson(out, element, node.text());
  };
  out += '{';
  bool first = true;
  if (!kind.empty()) {
    out += "\"Type\":";
    AppendJsonString(out, kind);
    first = false;
  }
  size_t hint = 0;
  std::vector<bool> written(children.size(), false);
  for (size_t i = 0; i < children.size(); ++i) {
    if (written[i]) continue;
    if (!first) out += ',';
    first = false;
    AppendJsonString(out, names[i]);
    out += ':';
    const qbxml::Element* element = FindInShape(shape, names[i], hint);
    // Repeated elements (lines, data extensions, versions) become one array under their name.
    size_t twin = i + 1;
    while (twin < children.size() && names[twin] != names[i]) ++twin;
    if (twin == children.size()) {
      value(children[i], element);
      continue;
    }
    out += '[';
    value(children[i], element);
    for (size_t j = twin; j < children.size(); ++j) {
      if (written[j] || names[j] != names[i]) continue;
      written[j] = true;
      out += ',';
      value(children[j], element);
    }
    out += ']';
  }
  out += '}';
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  size_t clean = 0;  // start of the run not yet copied
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\' && c < 0x80) {
      ++i;
      continue;
    }
    char32_t cp;
    size_t length = DecodeUtf8(text, i, cp);
    if (length > 1) {
      i += length;
      continue;
    }
    out.append(text.substr(clean, i - clean));
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 0xF];
        } else {
          out += "\\ufffd";  // not UTF-8
        }
    }
    clean = ++i;
  }
  out.append(text.substr(clean));
  out += '"';
}

void AppendRecordJson(std::string& out, const XmlNode& ret, std::string_view kind) {
  AppendElementsJson(out, ret, qbxml::FindAggregate(ret.nodeName()), kind);
}

bool SameName(std::string_view a, std::string_view b) noexcept {
  return AsciiEqualsIgnoreCase(a, b);
}

std::string RecordKindName(const XmlNode& ret) {
  std::string name = ret.nodeName();
  if (name.size() > 3 && name.compare(name.size() - 3, 3, "Ret") == 0) name.resize(name.size() - 3);
  return name;
}

FieldReader::FieldReader(std::vector<std::string> fields) : fields_(std::move(fields)) {
  paths_.reserve(fields_.size());
  for (const auto& field : fields_) paths_.push_back({SplitPath(field)});
}

void FieldReader::Read(const XmlNode& ret, std::vector<std::string>& values) const {
  values.assign(fields_.size(), std::string());
  std::vector<bool> found(fields_.size(), false);
  size_t missing = fields_.size();
  for (size_t i = 0; i < paths_.size(); ++i) {
    if (paths_[i].steps.size() == 1 && SameName(paths_[i].steps[0], "Type")) {
      values[i] = RecordKindName(ret);
      found[i] = true;
      --missing;
    }
  }
  for (XmlNode child : ret.childNodes()) {
    if (missing == 0) break;
    if (child.nodeType() != NODE_ELEMENT) continue;
    std::string name = child.nodeName();
    for (size_t i = 0; i < paths_.size(); ++i) {
      if (found[i] || !SameName(paths_[i].steps[0], name)) continue;
      XmlNode at = child;
      for (size_t step = 1; at && step < paths_[i].steps.size(); ++step)
        at = ChildNamed(at, paths_[i].steps[step]);
      if (!at) continue;
      values[i] = ValueOf(at);
      found[i] = true;
      --missing;
    }
  }
}

nlohmann::ordered_json RecordToJson(const XmlNode& ret) {
  // One writer for both: the few records shown whole (info) are read back from its text.
  std::string text;
  AppendRecordJson(text, ret);
  return nlohmann::ordered_json::parse(text);
}

std::vector<std::pair<std::string, std::string>> FlattenRecord(const XmlNode& ret) {
  std::vector<std::pair<std::string, std::string>> out;
  std::string prefix;
  Flatten(ret, prefix, out);
  return out;
}

}  // namespace brennock::cli
