#include "brennock/transactions/deposit.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/transactions/txn_references.h"

namespace brennock {
namespace {

using D = Deposit;

// Deposits are changed through qbXML from this version on.
constexpr int32_t kModifyVersion = 7;

}  // namespace

Deposit::Deposit()
    : TxnRecordCore(RegisteredKind<kObjectType>()),
      lines_(std::make_shared<brennock::DepositLines>()) {
  txnDate_ = Date::Today();
}

// The rows of DepositAdd, DepositMod and DepositRet, in the schema's order. The cash back and
// the lines are aggregates whose names follow the form (CashBackInfoAdd, DepositLineMod ...).
const RecordBindings& Deposit::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  BRENNOCK_BINDINGS(qcBase, IdentityRows(),
                    std::array<Binding<qcBase>, 8>{{
                        TxnDateRow(),
                        Bind<&D::depositToAccount_, codecs::Ref>("DepositToAccountRef", kAll),
                        Bind<&D::memo_, codecs::Text>("Memo", kAll | kSkipEmpty),
                        Bind<&D::total_, codecs::Amount>("DepositTotal", kInRet),
                        {kCashBack, kAll | kLines, &ReadCashBack, &WriteCashBack},
                        {"DepositLineRet", kAll | kLines, &ReadLine, &WriteLines, nullptr,
                         qbxml::ValueType::kAggregate, &LinesPending},
                        DataExtRow(),
                        UserDataRow()[0],
                    }});
}

int32_t Deposit::XMLModify(xmlBldr& cxmlbldr) {
  if (SessionQbxmlVersion() < Currency(kModifyVersion))
    RaiseGeneral(Kind().stem, "ModRq not supported");
  return TxnRecordCore::XMLModify(cxmlbldr);
}

void Deposit::ReadCashBack(qcBase& record, const FieldElement& element) {
  auto& self = RecordAs<Deposit>(record);
  for (FieldElement child : element.Children()) {
    const std::string_view name = child.baseName();
    if (name == "TxnLineID") {
      codecs::Text::Read(self.cashBackLineID_, child);
    } else if (name == "AccountRef") {
      codecs::Ref::Read(self.cashBackAccount_, child);
    } else if (name == "Memo") {
      codecs::Text::Read(self.cashBackMemo_, child);
    } else if (name == "Amount") {
      codecs::Amount::Read(self.cashBackTotal_, child);
    }
  }
}

void Deposit::WriteCashBack(const qcBase& record, RequestWriter& builder, std::string_view,
                            uint16_t, BodyForm form) {
  const auto& self = static_cast<const Deposit&>(record);
  if (self.cashBackTotal_ == Currency()) return;
  const std::string_view element = form == BodyForm::kAdd   ? "CashBackInfoAdd"
                                   : form == BodyForm::kMod ? "CashBackInfoMod"
                                                            : "CashBackInfoRet";
  builder.OpenAggregateOnly(element);
  if (form == BodyForm::kRet) builder.CreateElement("TxnLineID", self.cashBackLineID_);
  codecs::Ref::Write(self.cashBackAccount_, builder, "AccountRef", 0, form);
  if (!self.cashBackMemo_.empty()) builder.CreateElement("Memo", self.cashBackMemo_);
  codecs::Amount::Write(self.cashBackTotal_, builder, "Amount", 0, form);
  builder.EndAggregate(element);
}

void Deposit::ReadLine(qcBase& record, const FieldElement& element) {
  RecordAs<Deposit>(record).lines_->AppendLoaded().FromDom(element);
}

void Deposit::WriteLines(const qcBase& record, RequestWriter& builder, std::string_view, uint16_t,
                         BodyForm form) {
  for (const auto& line : *static_cast<const Deposit&>(record).lines_)
    line->WriteLine(builder, form);
}

bool Deposit::LinesPending(const qcBase& record) {
  return static_cast<const Deposit&>(record).lines_->ObjectState() != qoObjectStateClean;
}

void Deposit::BeforeRead() {
  TxnRecordCore::BeforeRead();
  lines_->Reset();
  cashBackLineID_.clear();
  cashBackMemo_.clear();
  cashBackAccount_.SetFullName({});
  cashBackTotal_ = Currency();
}

void Deposit::SetDepositToAccount(const std::string& value) {
  RequireTxnAccount(Kind().className, value);
  ChangeRef(depositToAccount_, value, "DepositToAccountRef");
}

void Deposit::SetCashBackAccount(const std::string& value) {
  RequireTxnAccount(Kind().className, value);
  ChangeRef(cashBackAccount_, value, kCashBack);
}

void Deposit::CheckRules(qcErrors& errors) {
  if (lines_->Count() == 0) AddTableError(errors, errNoLines, "DepositLines");
  int32_t position = 0;
  for (const auto& line : *lines_) {
    ++position;
    if (!line->Validate()) AddTableError(errors, errValidateFailed, std::to_string(position));
  }
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<Deposit> Deposits::Add(const std::string& DepositToAccount, const std::string& Memo,
                                       Date TxnDate, const std::string& CashBackAccount,
                                       const std::string& CashBackMemo, Currency CashBackTotal) {
  std::shared_ptr<Deposit> deposit = NewMember();
  if (!DepositToAccount.empty()) deposit->SetDepositToAccount(DepositToAccount);
  if (!Memo.empty()) deposit->SetMemo(Memo);
  if (!TxnDate.IsNull()) deposit->SetTxnDate(TxnDate);
  if (!CashBackAccount.empty()) deposit->SetCashBackAccount(CashBackAccount);
  if (!CashBackMemo.empty()) deposit->SetCashBackMemo(CashBackMemo);
  if (CashBackTotal != Currency()) deposit->SetCashBackTotal(CashBackTotal);
  FileAdded(deposit);
  return deposit;
}

}  // namespace brennock
