#include "brennock/transactions/check.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/lists/account.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

using C = Check;

Check& AsCheck(qcBase& record) { return static_cast<Check&>(record); }
const Check& AsCheck(const qcBase& record) { return static_cast<const Check&>(record); }

}  // namespace

Check::Check()
    : PurchaseTxnCore(RegisteredKind<kObjectType>()),
      address_(MakeSlabShared<brennock::Address>()) {}

// The rows of CheckAdd, CheckMod and CheckRet, in the schema's order.
const RecordBindings& Check::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  using R = codecs::Ref;
  constexpr auto kLines = LineRows("ItemLineRet", "ItemGroupLineRet");
  BRENNOCK_BINDINGS(qcBase, IdentityRows(),
                    std::array<Binding<qcBase>, 15>{{
                        Bind<&C::account_, R>("AccountRef", kAll),
                        Bind<&C::payee_, R>("PayeeEntityRef", kAll),
                        RefNumberRow(),
                        TxnDateRow(),
                        Bind<&C::amount_, codecs::Amount>("Amount", kInRet),
                        ReadOnly(Bind<&C::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
                        Bind<&C::memo_, codecs::Text>("Memo", kAll | kSkipEmpty),
                        {"Address", kAll, &ReadAddress, &WriteAddress, nullptr,
                         qbxml::ValueType::kAggregate, &AddressPending},
                        Bind<&C::isToBePrinted_, codecs::Bit>("IsToBePrinted", kAll),
                        LinkedTxnRow(),
                        ExpenseLinesRow(),
                        kLines[0],
                        kLines[1],
                        DataExtRow(),
                        UserDataRow()[0],
                    }});
}

std::string Check::AmountAsString() const { return ModConvertDtypes::AmountInWords(amount_); }

int32_t Check::XMLModify(xmlBldr& cxmlbldr) {
  if (SessionQbxmlVersion() < Currency(6)) RaiseGeneral(Kind().stem, "ModRq not supported");
  return PurchaseTxnCore::XMLModify(cxmlbldr);
}

void Check::CheckRules(qcErrors& errors) {
  auto account =
      std::dynamic_pointer_cast<brennock::Account>(ResolveListObject(qoListAccounts, Account()));
  if (!account)
    AddTableError(errors, errInvalidAccount, "Account");
  else if (account->AccountType() != qbBank)
    AddTableError(errors, errCheckNeedsBankAccount, "");
  if (isToBePrinted_ && !RefNumber().empty()) AddTableError(errors, errCheckNumberToPrint, "");
  CheckPurchaseRules(errors, false, false);
}

void Check::BeforeRead() {
  PurchaseTxnCore::BeforeRead();
  address_->Reset();
}

void Check::ReadAddress(qcBase& record, const FieldElement& element) {
  AsCheck(record).address_->FromDom(element);
}

void Check::WriteAddress(const qcBase& record, RequestWriter& builder, std::string_view element,
                         uint16_t, BodyForm form) {
  WriteFormAddress(*AsCheck(record).address_, builder, element, form);
}

bool Check::AddressPending(const qcBase& record) {
  return AsCheck(record).address_->ObjectState() != qoObjectStateClean;
}

std::shared_ptr<Check> Checks::Add(const std::string& Account, const std::string& PayeeEntity,
                                   const std::string& RefNumber, Date TxnDate,
                                   const std::string& Memo, std::optional<bool> IsToBePrinted) {
  std::shared_ptr<Check> check = NewMember();
  if (!Account.empty()) check->SetAccount(Account);
  if (!PayeeEntity.empty()) check->SetPayeeEntity(PayeeEntity);
  if (!RefNumber.empty()) check->SetRefNumber(RefNumber);
  if (!TxnDate.IsNull()) check->SetTxnDate(TxnDate);
  if (!Memo.empty()) check->SetMemo(Memo);
  if (IsToBePrinted) check->SetIsToBePrinted(*IsToBePrinted);
  FileAdded(check);
  return check;
}

}  // namespace brennock
