#pragma once

#include <span>
#include <string>
#include <string_view>

namespace brennock::cli {

// A list the `list` command can read, and how QuickBooks is asked for it.
struct ListTypeInfo {
  std::string_view name;           // command-line name ("customertype")
  std::string_view stem;           // qbXML stem: <stem>QueryRq, <stem>Ret
  std::string_view defaultFields;  // comma-separated columns of table and CSV output
  bool mixed;     // the answer holds several record kinds (ItemQuery): fields may ask for Type
  bool iterates;  // the query takes iterator attributes (qbXML 5.0 and later), so it pages
  bool filters;   // the query takes MaxReturned, ActiveStatus, FromModifiedDate and NameFilter
};

std::span<const ListTypeInfo> ListTypes();

// By command-line name, ignoring letter case, '-' and '_' ("Customer-Type"); also by qbXML stem.
// Null when none matches.
const ListTypeInfo* FindListType(std::string_view name);

// "account, class, ..." for help texts and errors.
std::string ListTypeNames();

}  // namespace brennock::cli
