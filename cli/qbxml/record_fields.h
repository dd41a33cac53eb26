#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "brennock/xml/xml_node.h"

namespace brennock::cli {

// The record kind of a ...Ret element: "ItemService" for ItemServiceRet.
std::string RecordKindName(const XmlNode& ret);

// Reads chosen fields of records. A field is a dotted path below the record ("Name",
// "BillAddress.City"), matched without regard to letter case. A path that ends at a reference
// ("ParentRef") reads as the FullName inside it; "Type" reads as the record kind. Missing fields
// read as empty text.
class FieldReader {
 public:
  explicit FieldReader(std::vector<std::string> fields);

  const std::vector<std::string>& Fields() const noexcept { return fields_; }
  // The values of the fields for one record, in the order of Fields(). One walk over the
  // record's children serves every field.
  void Read(const XmlNode& ret, std::vector<std::string>& values) const;

 private:
  struct Path {
    std::vector<std::string> steps;
  };
  std::vector<std::string> fields_;
  std::vector<Path> paths_;
};

// The whole record as JSON, in document order: aggregates as objects, repeated elements as arrays,
// values typed by the catalogue's shape of the record's element (CustomerRet): booleans as true
// and false, integers, quantities, percents and floats as numbers written as QuickBooks sent them,
// everything else (amounts and prices too, keeping their decimals) and elements the catalogue
// does not know as strings.
nlohmann::ordered_json RecordToJson(const XmlNode& ret);

// Appends the record as JSON text, shaped as RecordToJson gives it, without building the JSON
// value first (listings write many records). With kind, a "Type" member comes first.
void AppendRecordJson(std::string& out, const XmlNode& ret, std::string_view kind = {});

// Appends text as a JSON string; bytes that are not UTF-8 become U+FFFD.
void AppendJsonString(std::string& out, std::string_view text);

// The record as "path" / "text" pairs ("Address.City"), repeated leaves joined with ", ".
std::vector<std::pair<std::string, std::string>> FlattenRecord(const XmlNode& ret);

// Letter-case-insensitive comparison of ASCII names.
bool SameName(std::string_view a, std::string_view b) noexcept;

}  // namespace brennock::cli
