#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "brennock/internal/model/record_kind.h"

namespace brennock {
class ListCollectionCore;
class qcListObject;
}  // namespace brennock

namespace brennock::cli {

// The lists of the library's list registry as the command offers them.

// Lists `add` and `delete` work on: the company keeps a master collection of them.
bool IsMasterList(const RecordKind& kind) noexcept;
// Lists whose records the command can make from a name alone (with a parent where they have one).
bool AddsByName(const RecordKind& kind) noexcept;
// Lists `list` reads: QuickBooks has a query for them (tax codes have none in the US schema).
bool IsListable(const RecordKind& kind) noexcept;

// The command words of the registry's lists, sorted, "account, class, ..."; with only, just the
// lists it accepts.
std::string ListWords(bool (*only)(const RecordKind&) noexcept = nullptr);

// A new, unsaved record of a master list in its collection (the company's for kind).
std::shared_ptr<qcListObject> AddRecord(ListCollectionCore& collection, const RecordKind& kind,
                                        const std::string& name, bool active,
                                        const std::string& parent);

}  // namespace brennock::cli
