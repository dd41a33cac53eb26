#include "brennock/transactions/inventory_adjustment.h"

#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/transactions/txn_references.h"

namespace brennock {
namespace {

using A = InventoryAdjustment;

}  // namespace

InventoryAdjustment::InventoryAdjustment()
    : TxnRecordCore(RegisteredKind<kObjectType>()), lines_(std::make_shared<invAdjLines>()) {
  txnDate_ = Date::Today();
}

// The rows of InventoryAdjustmentAdd and InventoryAdjustmentRet, in the schema's order. The
// lines are written in the Add form only: QuickBooks' Mod of an adjustment is never sent.
const RecordBindings& InventoryAdjustment::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  using R = codecs::Ref;
  BRENNOCK_BINDINGS(qcBase, IdentityRows(),
                    std::array<Binding<qcBase>, 9>{{
                        Bind<&A::account_, R>("AccountRef", kAll),
                        TxnDateRow(),
                        Bind<&A::refNumber_, codecs::Text>("RefNumber", kAll | kSkipEmpty),
                        Bind<&A::customer_, R>("CustomerRef", kAll),
                        Bind<&A::class_, R>("ClassRef", kAll),
                        Bind<&A::memo_, codecs::Text>("Memo", kAll | kSkipEmpty),
                        {"InventoryAdjustmentLineRet", kInAdd | kInRet | kLines, &ReadLine,
                         &WriteLines, nullptr, qbxml::ValueType::kAggregate, &LinesPending},
                        DataExtRow(),
                        UserDataRow()[0],
                    }});
}

void InventoryAdjustment::ReadLine(qcBase& record, const FieldElement& element) {
  RecordAs<InventoryAdjustment>(record).lines_->AppendLoaded().FromDom(element);
}

void InventoryAdjustment::WriteLines(const qcBase& record, RequestWriter& builder, std::string_view,
                                     uint16_t, BodyForm form) {
  for (const auto& line : *static_cast<const InventoryAdjustment&>(record).lines_)
    line->WriteLine(builder, form);
}

bool InventoryAdjustment::LinesPending(const qcBase& record) {
  return static_cast<const InventoryAdjustment&>(record).lines_->ObjectState() !=
         qoObjectStateClean;
}

void InventoryAdjustment::BeforeRead() {
  TxnRecordCore::BeforeRead();
  lines_->Reset();
}

void InventoryAdjustment::SetAccount(const std::string& value) {
  RequireTxnAccount(Kind().className, value);
  ChangeRef(account_, value, "AccountRef");
}

void InventoryAdjustment::SetCustomer(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListCustomers, value))
    RaiseFromClass(Kind().className, errInvalidCustomer);
  ChangeRef(customer_, value, "CustomerRef");
}

void InventoryAdjustment::SetClass(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListClasses, value))
    RaiseFromClass(Kind().className, errClassNotFound);
  ChangeRef(class_, value, "ClassRef");
}

void InventoryAdjustment::CheckRules(qcErrors& errors) {
  int32_t position = 0;
  for (const auto& line : *lines_) {
    ++position;
    if (!line->Validate()) AddTableError(errors, errValidateFailed, std::to_string(position));
  }
  if (lines_->Count() == 0) AddTableError(errors, errNoLines, "Lines");
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<InventoryAdjustment> InventoryAdjustments::Add(
    const std::string& Account, const std::string& Class, const std::string& Customer,
    const std::string& Memo, const std::string& RefNumber, Date TxnDate, int32_t TxnNumber) {
  std::shared_ptr<InventoryAdjustment> adjustment = NewMember();
  if (!Account.empty()) adjustment->SetAccount(Account);
  if (!Class.empty()) adjustment->SetClass(Class);
  if (!Customer.empty()) adjustment->SetCustomer(Customer);
  if (!Memo.empty()) adjustment->SetMemo(Memo);
  if (!RefNumber.empty()) adjustment->SetRefNumber(RefNumber);
  if (!TxnDate.IsNull()) adjustment->SetTxnDate(TxnDate);
  if (TxnNumber != 0) adjustment->SetTxnNumber(TxnNumber);
  FileAdded(adjustment);
  return adjustment;
}

}  // namespace brennock
