#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace brennock {

class Account;

// The checks the setters of payments, deposits and cash sales share: a named list record must
// exist before a transaction points at it. Each raises with the source "Brennock:" + className.

// The account of that full name; null for an empty name. An unknown one raises 2019 "Invalid
// account specified".
std::shared_ptr<Account> RequireTxnAccount(std::string_view className, const std::string& name);
// An unknown non-empty payment method raises 2028 "Invalid payment method specified".
void RequirePaymentMethod(std::string_view className, const std::string& name);

}  // namespace brennock
