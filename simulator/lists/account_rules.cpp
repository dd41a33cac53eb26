#include "simulator/lists/account_rules.h"

#include <algorithm>

#include "brennock/internal/qbxml/catalogue.h"

namespace brennock::simulator {
namespace {

bool KnownAccountType(std::string_view value) {
  const qbxml::Aggregate* ret = qbxml::FindAggregate("AccountRet");
  const qbxml::Element* field = ret ? qbxml::FindElement(*ret, "AccountType") : nullptr;
  if (!field) return !value.empty();
  auto values = qbxml::EnumValues(*field);
  return std::find(values.begin(), values.end(), value) != values.end();
}

}  // namespace

Status CheckAccount(const ListRecord& account, const ListRecord* parent, const ListRecord* before,
                    bool has_subaccounts) {
  auto refuse = [&](std::string_view why) {
    return before ? MakeStatus(kCannotModify, {"Account", before->full_name, why})
                  : MakeStatus(kCannotSave, {"Account", account.name, why});
  };
  if (!KnownAccountType(account.account_type))
    return MakeStatus(kConversionError, {"string", account.account_type, "AccountType"});
  if (parent && parent->account_type != account.account_type)
    return refuse("A subaccount must be of the same account type as its parent account.");
  if (before && before->account_type != account.account_type) {
    if (!before->Field("SpecialAccountType").empty())
      return refuse("The account type of a special account cannot be changed.");
    if (has_subaccounts)
      return refuse("The account type of an account with subaccounts cannot be changed.");
  }
  return {};
}

Status CheckAccountDelete(const ListRecord& account) {
  if (account.Field("SpecialAccountType").empty()) return {};
  return MakeStatus(kCannotModify, {"Account", account.full_name,
                                    "QuickBooks uses this special account; it cannot be deleted."});
}

}  // namespace brennock::simulator
