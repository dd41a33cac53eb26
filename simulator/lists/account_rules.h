#pragma once

#include <string_view>

#include "simulator/lists/list_record.h"
#include "simulator/status_codes.h"

namespace brennock::simulator {

// QuickBooks' own rules for the chart of accounts, beyond those every list shares.

// A new account (before: null) or a changed one: it has a known account type, the type of its
// parent, and keeps its type while it has subaccounts or is one of QuickBooks' special accounts.
Status CheckAccount(const ListRecord& account, const ListRecord* parent, const ListRecord* before,
                    bool has_subaccounts);
// QuickBooks keeps its special accounts (Accounts Receivable, Undeposited Funds ...).
Status CheckAccountDelete(const ListRecord& account);

}  // namespace brennock::simulator
