#include "simulator/records/aggregates.h"

#include <vector>

#include "brennock/internal/util/text.h"
#include "simulator/lists/field_values.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {

using qbxml::ValueType;

std::optional<std::string> NormalizeField(const qbxml::Element& field, std::string_view text,
                                          Status& status) {
  auto value = NormalizeValue(field.type, text);
  if (!value) {
    status = MakeStatus(kConversionError, {KindWord(field.type), text, field.name});
    return std::nullopt;
  }
  if (field.maxLength && Utf8Length(*value) > field.maxLength) {
    status = MakeStatus(kStringTooLong, {*value, field.name});
    return std::nullopt;
  }
  return value;
}

bool RenderAggregate(pugi::xml_node node, const qbxml::Aggregate& shape, std::string_view owner,
                     References& refs, std::string& out, Status& status) {
  XmlWriter w(out);
  for (const auto& field : shape.elements) {
    for (auto child : node.children()) {
      std::string_view name = child.name();
      if (child.type() != pugi::node_element) continue;
      if (name != field.name && !(name.size() == field.name.size() + 3 &&
                                  name.substr(0, field.name.size()) == field.name &&
                                  name.substr(field.name.size()) == "Mod"))
        continue;
      if (field.type == ValueType::kRef) {
        if (child.child("ListID").text().empty() && child.child("FullName").text().empty())
          continue;  // an emptied reference: none
        auto value = refs.Resolve(child, owner, status);
        if (!value) return false;
        refs.Write(out, field.name, *value);
      } else if (field.type == ValueType::kAggregate) {
        w.Open(field.name);
        if (!RenderAggregate(child, *qbxml::Nested(field), owner, refs, out, status)) return false;
        w.Close(field.name);
      } else {
        auto value = NormalizeField(field, child.text().get(), status);
        if (!value) return false;
        if (value->empty()) continue;  // an emptied line: QuickBooks keeps none
        w.Element(field.name, *value);
      }
    }
  }
  return true;
}

bool MergeAggregate(const std::string& current, pugi::xml_node changes,
                    const qbxml::Aggregate& shape, std::string_view owner, References& refs,
                    std::string& out, Status& status) {
  std::string text = "<M>" + current + "</M>";
  pugi::xml_document doc;
  if (!doc.load_buffer(text.data(), text.size()))
    return RenderAggregate(changes, shape, owner, refs, out, status);
  pugi::xml_node merged = doc.first_child();
  for (auto child : changes.children()) {
    if (child.type() != pugi::node_element) continue;
    std::string name = child.name();
    if (name.size() > 3 && name.compare(name.size() - 3, 3, "Mod") == 0)
      name.resize(name.size() - 3);
    while (auto old = merged.child(name.c_str())) merged.remove_child(old);
    merged.append_copy(child).set_name(name.c_str());
  }
  return RenderAggregate(merged, shape, owner, refs, out, status);
}

void WriteStoredField(std::string& out, const qbxml::Element& field, std::string_view value,
                      References& refs) {
  if (field.type == ValueType::kRef) {
    refs.Write(out, field.name, value);
  } else if (field.type == ValueType::kAggregate) {
    XmlWriter w(out);
    w.Open(field.name);
    refs.AppendWithCurrentNames(out, value);
    w.Close(field.name);
  } else {
    XmlWriter(out).Element(field.name, value);
  }
}

void WriteAddressBlock(std::string& out, std::string_view tag, std::string_view address) {
  if (address.empty()) return;
  std::string text = "<A>" + std::string(address) + "</A>";
  pugi::xml_document doc;
  if (!doc.load_buffer(text.data(), text.size())) return;
  pugi::xml_node a = doc.first_child();
  std::vector<std::string> lines;
  for (auto line : {"Addr1", "Addr2", "Addr3", "Addr4", "Addr5"})
    if (*a.child_value(line)) lines.emplace_back(a.child_value(line));
  std::string city = a.child_value("City");
  std::string state = a.child_value("State");
  std::string postal = a.child_value("PostalCode");
  std::string place = city;
  if (!state.empty()) place += (place.empty() ? "" : ", ") + state;
  if (!postal.empty()) place += (place.empty() ? "" : "  ") + postal;
  if (!place.empty()) lines.push_back(place);
  std::string country = a.child_value("Country");
  if (!country.empty() && country != "US" && country != "USA") lines.push_back(country);
  if (lines.empty()) return;
  XmlWriter w(out);
  w.Open(tag);
  for (size_t i = 0; i < lines.size() && i < 5; ++i)
    w.Element(std::string("Addr") + static_cast<char>('1' + i), lines[i]);
  w.Close(tag);
}

}  // namespace brennock::simulator
