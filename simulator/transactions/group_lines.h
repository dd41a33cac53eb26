#pragma once

#include "brennock/internal/qbxml/catalogue.h"
#include "simulator/transactions/item_facts.h"
#include "simulator/transactions/txn_record.h"
#include "simulator/transactions/txn_rule.h"

namespace brennock::simulator {

// The member line aggregate of a group line ("InvoiceLineRet" in "InvoiceLineGroupRet",
// "ItemLineRet" in "ItemGroupLineRet"); -1 when it has none.
int MemberElement(const qbxml::Aggregate& group_shape);

// A group line of any form becomes the group's definition: one member line per item of the item
// group, each quantity times the group line's, keeping the TxnLineIDs of members that stay; the
// inputs of the members are new lines for the form's rule to complete.
void ExpandGroup(const ItemFacts& group, const qbxml::Aggregate& shape, TxnLine& line,
                 LineInput& input);

}  // namespace brennock::simulator
