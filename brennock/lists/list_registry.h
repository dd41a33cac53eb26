#pragma once

#include <span>
#include <string_view>

#include "brennock/model/list_kind.h"

namespace brennock {

// Every QuickBooks list, one row each: the one table the company's master collections and Lists,
// the global accessors, the simulator and the `brennock` command all read. The lists a company
// walks in Lists come first, in the order it walks them. Adding a list is a row here plus its
// record class.
std::span<const ListRecordKind> ListRegistry();

// The row of a list type or a qbXML name (FindListKindByObject: list_kind.h) ("CustomerMsg"); null
// when none. Lists of several record kinds (items, terms) share a list type: the first of their
// rows answers.
const ListRecordKind* FindListKind(qoEnumListType list);
const ListRecordKind* FindListKindByStem(std::string_view stem);
// By the command's word, ignoring letter case, '-' and '_' ("Customer-Type"), or by qbXML name.
const ListRecordKind* FindListKindByCommand(std::string_view word);

}  // namespace brennock
