#include "brennock/lists/account.h"

#include "brennock/enums/enumerations.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/master_list.h"
#include "brennock/internal/util/text.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

constexpr size_t kMaxNumberLength = 7;
constexpr size_t kMaxBankNumberLength = 25;
constexpr size_t kMaxDescriptionLength = 29;

// U+00B7, between an account's number and its name.
constexpr std::string_view kNumberSeparator = " \u00B7 ";

// A reference kept as its full name only: the account shows it and never sends it back.
struct RefFullName {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kRef;
  static void Read(ShortText& member, const FieldElement& element) {
    for (FieldElement child : element.Children()) {
      if (child.baseName() != "FullName") continue;
      std::string scratch;
      member.assign(child.TextView(scratch));
    }
  }
  static bool Empty(const ShortText& member) noexcept { return member.empty(); }
  static void Write(const ShortText& member, RequestWriter& builder, std::string_view element,
                    uint16_t, BodyForm) {
    builder.OpenAggregateOnly(element);
    builder.CreateElement("FullName", member.view());
    builder.EndAggregate(element);
  }
};

// The same rows, read from responses and never written back.
template <size_t N>
constexpr std::array<Binding<qcBase>, N> Unwritten(std::array<Binding<qcBase>, N> rows) {
  for (Binding<qcBase>& row : rows) row = ReadOnly(row);
  return rows;
}

const Account& AccountOf(const qcBase& record) { return static_cast<const Account&>(record); }

}  // namespace

// The query-result form keeps what the account was added with (AccountNumber, BankNumber and
// Desc even when empty; the opening balance, which QuickBooks never sends back, when positive)
// and what QuickBooks computes for it (Sublevel, LastCheckNumber, the balances), in schema order;
// identity, time stamps and the other read-only values are not written.
const RecordBindings& Account::Bindings() {
  using T = codecs::Text;
  constexpr uint16_t kAddRet = kInAdd | kInRet;
  constexpr auto kHierarchy = HierarchyRows();
  BRENNOCK_BINDINGS(
      qcBase, Unwritten(RetHeadRows()),
      std::array{kHierarchy[0], ReadOnly(kHierarchy[1]), kHierarchy[2], kHierarchy[3],
                 kHierarchy[4]},
      std::array{
          Bind<&Account::accountType_, codecs::EnumTag<qoeAccountType>>("AccountType", kAddRet),
          ReadOnly(Bind<&Account::specialAccountType_, T>("SpecialAccountType", kInRet)),
          Bind<&Account::number_, T>("AccountNumber", kAddRet),
          Bind<&Account::bankNumber_, T>("BankNumber", kAddRet),
          Bind<&Account::lastCheckNumber_, T>("LastCheckNumber", kInRet),
          Bind<&Account::description_, T>("Desc", kAddRet),
          Bind<&Account::balance_, codecs::Amount>("Balance", kInRet),
          Bind<&Account::totalBalance_, codecs::Amount>("TotalBalance", kInRet),
          ReadOnly(Bind<&Account::taxCode_, RefFullName>("SalesTaxCodeRef", kInRet)),
          Binding<qcBase>{"TaxLineInfoRet", kInRet,
                          [](qcBase& record, const FieldElement& element) {
                            Account& account = RecordAs<Account>(record);
                            for (FieldElement child : element.Children()) {
                              if (child.baseName() == "TaxLineID")
                                codecs::Int16::Read(account.taxLineId_, child);
                              else if (child.baseName() == "TaxLineName")
                                T::Read(account.taxLineName_, child);
                            }
                          }},
          ReadOnly(Bind<&Account::cashFlowClassification_, T>("CashFlowClassification", kInRet)),
          ReadOnly(Bind<&Account::currency_, RefFullName>("CurrencyRef", kInRet)), DataExtRow(),
          // Older non-US releases named the tax code TaxCodeRef.
          ReadOnly(Bind<&Account::taxCode_, RefFullName>("TaxCodeRef", kInRet | kNotInSchema)),
          // Taken by Add only; QuickBooks does not send them back.
          Binding<qcBase>{"OpenBalance", kAddRet | kNotInSchema,
                          [](qcBase& record, const FieldElement& element) {
                            codecs::Amount::Read(RecordAs<Account>(record).openingBalance_,
                                                 element);
                          },
                          [](const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form) {
                            if (AccountOf(record).openingBalance_ > Currency())
                              codecs::Amount::Write(AccountOf(record).openingBalance_, builder,
                                                    element, flags, form);
                          }},
          Binding<qcBase>{"OpenBalanceDate", kAddRet | kNotInSchema,
                          [](qcBase& record, const FieldElement& element) {
                            codecs::Date::Read(RecordAs<Account>(record).openingBalanceDate_,
                                               element);
                          },
                          [](const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form) {
                            const Account& account = AccountOf(record);
                            Date date = account.openingBalanceDate_;
                            if (form == BodyForm::kAdd) {
                              // A balance is opened on a day: today when none was given.
                              if (!(account.openingBalance_ > Currency())) return;
                              if (date.IsNull()) date = Date::Today();
                            }
                            codecs::Date::Write(date, builder, element, flags, form);
                          }}},
      UserDataRow());
}

std::string Account::OpeningBalanceDate() const {
  if (openingBalanceDate_.IsNull()) return {};
  return ModConvertDtypes::DateToText(openingBalanceDate_);
}

void Account::SetOpeningBalanceDate(const std::string& value) {
  Date date = ModConvertDtypes::TextToDate(value);
  Assign(openingBalanceDate_, date, true);
}

std::string Account::NameWithNumber() const {
  if (number_.empty()) return name_;
  std::string out;
  out.reserve(number_.size() + kNumberSeparator.size() + name_.size());
  out.append(number_).append(kNumberSeparator).append(name_);
  return out;
}

std::string Account::FullNameWithNumber() const {
  const std::string fullName = FullName();
  auto accounts = std::dynamic_pointer_cast<brennock::Accounts>(MasterList(qoListAccounts));
  std::string out;
  for (size_t start = 0; start < fullName.size();) {
    size_t end = fullName.find(':', start);
    if (end == std::string::npos) break;  // the last level is this account
    std::string path = fullName.substr(0, end);
    if (accounts && accounts->ItemExists(path)) {
      out += accounts->Item(path)->NameWithNumber();
    } else {
      out.append(fullName, start, end - start);
    }
    out += ':';
    start = end + 1;
  }
  out += NameWithNumber();
  return out;
}

Currency Account::RollUpBalances() {
  Currency total = balance_;
  std::shared_ptr<qcListObjectRefs> children = Children();
  for (int32_t i = 1; i <= children->Count(); ++i) {
    if (auto child = std::dynamic_pointer_cast<Account>(children->Object(i)))
      total += child->RollUpBalances();
  }
  return total;
}

void Account::CheckRules(qcErrors& errors) {
  CheckName(errors);
  std::string parent = Parent();
  if (!parent.empty()) {
    auto found = std::dynamic_pointer_cast<Account>(ResolveListObject(qoListAccounts, parent));
    if (!found) {
      AddTableError(errors, errInvalidParent, "Parent");
    } else if (found->accountType_ != accountType_) {
      AddTableError(errors, errParentAccountType, "Parent");
    }
  }
  if (Utf8Length(number_) > kMaxNumberLength)
    AddTableError(errors, errAccountNumberTooLong, "Number");
  if (Utf8Length(bankNumber_) > kMaxBankNumberLength)
    AddTableError(errors, errBankNumberTooLong, "BankNumber");
  if (Utf8Length(description_) > kMaxDescriptionLength)
    AddTableError(errors, errAccountDescTooLong, "Description");
}

// ---- the collection ----------------------------------------------------------------------------

std::shared_ptr<Account> Accounts::Add(qbEnumAccountType AccountType, const std::string& Name,
                                       const std::string& Parent, const std::string& BankNumber,
                                       const std::string& Description, bool IsActive,
                                       const std::string& Number, Currency OpeningBalance,
                                       const std::string& OpeningBalanceDate) {
  std::shared_ptr<Account> account = NewMember();
  Fill(*account, Name, IsActive, Parent);
  account->accountType_ = AccountType;
  account->bankNumber_ = BankNumber;
  account->description_ = Description;
  account->number_ = Number;
  if (OpeningBalance != Currency()) account->openingBalance_ = OpeningBalance;
  if (!OpeningBalanceDate.empty())
    account->openingBalanceDate_ = ModConvertDtypes::TextToDate(OpeningBalanceDate);
  FileNew(account);
  return account;
}

int32_t Accounts::GetByAccountType(qbEnumAccountType AccountType, int32_t MaxReturned,
                                   const std::string& sMDBPath) {
  // Resolved first, so an unknown type writes no half request.
  std::string tag = EnumCodeToXmlText(qoeAccountType, static_cast<int16_t>(AccountType));
  if (tag.empty()) RaiseLibraryError(errInvalidEnumString);
  return RunListQuery(MaxReturned, sMDBPath,
                      [&](xmlBldr& builder) { builder.CreateElement("AccountType", tag); });
}

std::string_view Accounts::RefusedField() const { return kQuickBooksResponseField; }

}  // namespace brennock
