#include "cli/qbxml/record_body.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <regex>

#include "brennock/internal/util/text.h"
#include "cli/app/cli_errors.h"

namespace brennock::cli {
namespace {

using qbxml::ValueType;

const qbxml::Element* ElementNamed(const qbxml::Aggregate& shape, std::string_view name,
                                   size_t& index) {
  for (size_t i = 0; i < shape.elements.size(); ++i) {
    if (AsciiEqualsIgnoreCase(shape.elements[i].name, name)) {
      index = i;
      return &shape.elements[i];
    }
  }
  return nullptr;
}

std::string FieldNames(const qbxml::Aggregate& shape) {
  std::string names;
  for (const qbxml::Element& element : shape.elements) {
    if (!names.empty()) names += ", ";
    names += element.name;
  }
  return names;
}

bool IsDecimal(std::string_view text) {
  static const std::regex kDecimal(R"([-+]?(\d+(\.\d*)?|\.\d+))");
  return std::regex_match(text.begin(), text.end(), kDecimal);
}

}  // namespace

bool CheckedValue(const qbxml::Element& element, std::string_view text, std::string& value,
                  std::string& why) {
  value.assign(text);
  switch (element.type) {
    case ValueType::kBool:
      if (AsciiEqualsIgnoreCase(text, "true") || text == "1") {
        value = "true";
      } else if (AsciiEqualsIgnoreCase(text, "false") || text == "0") {
        value = "false";
      } else {
        why = "is not true or false";
        return false;
      }
      return true;
    case ValueType::kInt: {
      int64_t number = 0;
      auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
      if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
          number < INT32_MIN || number > INT32_MAX) {
        why = "is not a whole number";
        return false;
      }
      return true;
    }
    case ValueType::kAmount:
    case ValueType::kPrice:
    case ValueType::kQuantity:
    case ValueType::kPercent:
    case ValueType::kFloat:
      if (!IsDecimal(text)) {
        why = "is not a number";
        return false;
      }
      return true;
    case ValueType::kDate: {
      static const std::regex kDate(R"(\d{4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01]))");
      if (!std::regex_match(text.begin(), text.end(), kDate)) {
        why = "is not a date like 2024-03-01";
        return false;
      }
      return true;
    }
    case ValueType::kDateTime: {
      static const std::regex kDateTime(
          R"(\d{4}-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01])T([01]\d|2[0-3]):[0-5]\d:[0-5]\d([+-]\d\d:\d\d)?)");
      if (!std::regex_match(text.begin(), text.end(), kDateTime)) {
        why = "is not a date and time like 2024-03-01T08:30:00";
        return false;
      }
      return true;
    }
    case ValueType::kEnum: {
      std::string choices;
      for (std::string_view choice : qbxml::EnumValues(element)) {
        if (AsciiEqualsIgnoreCase(choice, text)) {
          value.assign(choice);
          return true;
        }
        if (!choices.empty()) choices += ", ";
        choices += choice;
      }
      why = "is not one of " + choices;
      return false;
    }
    case ValueType::kRef:
    case ValueType::kAggregate:
      why = "is a group of fields";
      return false;
    default:
      break;
  }
  if (!IsValidUtf8(text)) {
    why = "is not UTF-8 text";
    return false;
  }
  if (element.maxLength != 0 && Utf8Length(text) > element.maxLength) {
    why = "is longer than " + std::to_string(element.maxLength) + " characters";
    return false;
  }
  return true;
}

RecordBody::RecordBody(const qbxml::Aggregate& shape, std::string label)
    : shape_(shape), label_(std::move(label)) {}

void RecordBody::SetAssignment(std::string_view assignment) {
  size_t equals = assignment.find('=');
  if (equals == std::string_view::npos || equals == 0)
    throw UsageError("--set wants Field=Value, not '" + std::string(assignment) + "'");
  Set(assignment.substr(0, equals), assignment.substr(equals + 1));
}

void RecordBody::Set(std::string_view path, std::string_view value) {
  const qbxml::Aggregate* shape = &shape_;
  Node* at = &root_;
  std::string reached;
  size_t start = 0;
  for (;;) {
    size_t dot = path.find('.', start);
    std::string_view step = path.substr(start, dot == std::string_view::npos ? dot : dot - start);
    bool last = dot == std::string_view::npos;
    size_t index = 0;
    const qbxml::Element* element = shape ? ElementNamed(*shape, step, index) : nullptr;
    if (!element) {
      std::string where = reached.empty() ? "a " + label_ : reached;
      throw UsageError("unknown field '" + std::string(path) + "': " + where + " has no field '" +
                       std::string(step) + "'; its fields: " + FieldNames(*shape));
    }
    if (!reached.empty()) reached += '.';
    reached += element->name;
    bool group = element->type == ValueType::kRef || element->type == ValueType::kAggregate;
    if (last) {
      Node leaf{index, element, {}, {}};
      if (element->type == ValueType::kRef) {
        // A reference names its record by full name.
        size_t nameIndex = 0;
        const qbxml::Element* name = ElementNamed(*qbxml::Nested(*element), "FullName", nameIndex);
        if (!name) throw UsageError(reached + " takes its fields, not a name");
        leaf.children.push_back({nameIndex, name, std::string(value), {}});
      } else if (group) {
        throw UsageError(reached + " is a group of fields; set one of them, such as " + reached +
                         "." + std::string(qbxml::Nested(*element)->elements.front().name));
      } else if (std::string why; !CheckedValue(*element, value, leaf.value, why)) {
        throw UsageError("bad value for " + reached + ": '" + std::string(value) + "' " + why);
      }
      // A field given twice keeps the last value, unless it repeats.
      auto twin = std::find_if(at->children.begin(), at->children.end(),
                               [&](const Node& node) { return node.index == index; });
      if (twin != at->children.end() && !(element->flags & qbxml::kRepeats))
        *twin = std::move(leaf);
      else
        at->children.push_back(std::move(leaf));
      return;
    }
    if (!group) throw UsageError(reached + " has no fields below it");
    auto child = std::find_if(at->children.begin(), at->children.end(),
                              [&](const Node& node) { return node.index == index; });
    if (child == at->children.end()) {
      at->children.push_back({index, element, {}, {}});
      child = at->children.end() - 1;
    }
    at = &*child;
    shape = qbxml::Nested(*element);
    start = dot + 1;
  }
}

bool RecordBody::Has(std::string_view name) const {
  for (const Node& node : root_.children)
    if (AsciiEqualsIgnoreCase(node.element->name, name)) return true;
  return false;
}

void RecordBody::AppendChildren(std::string& out, const Node& node) {
  std::vector<const Node*> ordered;
  ordered.reserve(node.children.size());
  for (const Node& child : node.children) ordered.push_back(&child);
  // Repeated elements keep the order they were given in.
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Node* a, const Node* b) { return a->index < b->index; });
  for (const Node* child : ordered) {
    out += '<';
    out += child->element->name;
    out += '>';
    if (child->children.empty())
      AppendXmlEscaped(out, child->value, XmlEscaping::kText);
    else
      AppendChildren(out, *child);
    out += "</";
    out += child->element->name;
    out += '>';
  }
}

void RecordBody::AppendXml(std::string& out) const { AppendChildren(out, root_); }

}  // namespace brennock::cli
