#include "brennock/transactions/txn_references.h"

#include "brennock/internal/errors/raise.h"
#include "brennock/lists/account.h"
#include "brennock/model/qc_list_object_ref.h"

namespace brennock {

std::shared_ptr<Account> RequireTxnAccount(std::string_view className, const std::string& name) {
  if (name.empty()) return nullptr;
  auto account = std::dynamic_pointer_cast<Account>(ResolveListObject(qoListAccounts, name));
  if (!account) RaiseFromClass(className, errInvalidTxnAccount);
  return account;
}

void RequirePaymentMethod(std::string_view className, const std::string& name) {
  if (!name.empty() && !ResolveListObject(qoListPaymentMethods, name))
    RaiseFromClass(className, errInvalidPaymentMethod);
}

}  // namespace brennock
