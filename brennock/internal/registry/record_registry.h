#pragma once

#include <span>
#include <string_view>

#include "brennock/internal/model/record_kind.h"

namespace brennock {

// Every kind of QuickBooks record, one row each: the one table the company's master collections
// and Lists, the global accessors, the simulator and the `brennock` command all read. The lists
// come first, those a company walks in Lists in the order it walks them, then the transactions.
// Adding a kind is a row here plus its record class. The table is handed down to the layers below
// when the program starts (FindRecordKindByObject in record_kind.h finds a row by object type).
std::span<const RecordKind> RecordRegistry();
std::span<const RecordKind> ListRegistry();
std::span<const RecordKind> TransactionRegistry();

// The row of a list type or a qbXML name ("CustomerMsg"); null when none. Lists of several record
// kinds (items, terms) share a list type: the first of their rows answers.
const RecordKind* FindListKind(qoEnumListType list);
const RecordKind* FindListKindByStem(std::string_view stem);
// By the command's word, ignoring letter case, '-' and '_' ("Customer-Type"), or by qbXML name.
const RecordKind* FindListKindByCommand(std::string_view word);

}  // namespace brennock
