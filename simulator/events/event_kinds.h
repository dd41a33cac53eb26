#pragma once

#include <string_view>

namespace brennock::simulator {

// "List" or "Txn": the family QuickBooks reports changes of a qbXML object name in (the values of
// ListEventType and TxnEventType in the qbXML catalogue); empty for a type it raises no data
// events for.
std::string_view EventFamily(std::string_view type);
// Whether the family's subscriptions take that type, or that operation ("Add", "Modify",
// "Delete"; "Merge" for lists).
bool IsEventType(std::string_view family, std::string_view type);
bool IsEventOperation(std::string_view family, std::string_view operation);

}  // namespace brennock::simulator
