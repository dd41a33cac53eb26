#include "brennock/transactions/bill_payment.h"

#include <limits>

#include "brennock/enums/enumerations.h"
#include "brennock/errors/automation_error.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/errors/value_errors.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/master_collection.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/bill_payment_form_kind.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/transactions/txn_references.h"

namespace brennock {
namespace {

using P = BillPayment;

constexpr std::string_view kCheckStem = "BillPaymentCheck";
constexpr std::string_view kCardStem = "BillPaymentCreditCard";

// Sessions of qbXML 2.1 and older take no memo on a bill payment.
bool MemoTaken() { return SessionQbxmlVersion() > Currency(2.1); }

// A shared row as the record form alone has it.
constexpr Binding<qcBase> RetOnly(Binding<qcBase> row) {
  row.flags = kInRet;
  return row;
}

const BillPayment& AsPayment(const qcBase& record) {
  return static_cast<const BillPayment&>(record);
}

}  // namespace

BillPayment::BillPayment()
    : TxnRecordCore(RegisteredKind<kObjectType>()), appliedTos_(std::make_shared<txnAppliedTos>()) {
  txnDate_ = Date::Today();
}

// The rows of BillPaymentCheckAdd, BillPaymentCheckMod and BillPaymentCheckRet, in the schema's
// order. The payment's account, and what follows it in a request, differ by kind: one row writes
// them (BankAccountRef, then IsToBePrinted or RefNumber; or CreditCardAccountRef and RefNumber).
const RecordBindings& BillPayment::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kAddOnly = kInAdd | kInRet;
  using R = codecs::Ref;
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 12>{{
          Bind<&P::payee_, R>("PayeeEntityRef", kAddOnly),
          Bind<&P::apAccount_, R>("APAccountRef", kAddOnly),
          TxnDateRow(),
          {"BankAccountRef", kAll, &ReadBankAccount, &WriteAccount, nullptr,
           qbxml::ValueType::kRef},
          // The card payments' account: read here, written by the row above.
          {"CreditCardAccountRef", kInRet | kNotInSchema, &ReadCardAccount, nullptr},
          Bind<&P::amount_, codecs::Amount>("Amount", kInRet),
          RetOnly(RefNumberRow()),
          SessionGated<&P::memo_, codecs::Text, &MemoTaken>("Memo", kAll | kSkipEmpty),
          Bind<&P::isToBePrinted_, codecs::Bit>("IsToBePrinted", kInRet),
          {"AppliedToTxnRet", kAll | kLines, &ReadApplied, &WriteApplied, nullptr,
           qbxml::ValueType::kAggregate, &AppliedPending},
          DataExtRow(),
          UserDataRow()[0],
      }});
}

std::string_view BillPayment::FormStem() const noexcept {
  return paymentMethod_ == qbBillPaymentMethodCreditCard ? kCardStem : kCheckStem;
}

int32_t BillPayment::XMLModify(xmlBldr& cxmlbldr) {
  if (paymentMethod_ == qbBillPaymentMethodCreditCard)
    RaiseGeneral(Kind().className, "ModRq not supported");
  return TxnRecordCore::XMLModify(cxmlbldr);
}

void BillPayment::ReadBankAccount(qcBase& record, const FieldElement& element) {
  auto& self = RecordAs<BillPayment>(record);
  codecs::Ref::Read(self.bankAccount_, element);
  self.paymentMethod_ = qbBillPaymentMethodCheck;
}

void BillPayment::ReadCardAccount(qcBase& record, const FieldElement& element) {
  auto& self = RecordAs<BillPayment>(record);
  codecs::Ref::Read(self.creditCardAccount_, element);
  self.paymentMethod_ = qbBillPaymentMethodCreditCard;
}

void BillPayment::WriteAccount(const qcBase& record, RequestWriter& builder, std::string_view,
                               uint16_t, BodyForm form) {
  const BillPayment& self = AsPayment(record);
  const bool card = self.paymentMethod_ == qbBillPaymentMethodCreditCard;
  const qcListObjectRef& account = card ? self.creditCardAccount_ : self.bankAccount_;
  codecs::Ref::Write(account, builder, card ? "CreditCardAccountRef" : "BankAccountRef", 0, form);
  if (form == BodyForm::kRet) return;  // the record form writes the rest in its own rows
  // A check to be printed gets its number when printed; QuickBooks takes one or the other.
  if (!card && self.isToBePrinted_) {
    builder.CreateElement("IsToBePrinted", "1");
  } else {
    builder.CreateElement("RefNumber", self.refNumber_);
  }
}

void BillPayment::ReadApplied(qcBase& record, const FieldElement& element) {
  RecordAs<BillPayment>(record).appliedTos_->AppendLoaded().FromDom(element);
}

void BillPayment::WriteApplied(const qcBase& record, RequestWriter& builder, std::string_view,
                               uint16_t, BodyForm form) {
  for (const auto& entry : *AsPayment(record).appliedTos_) entry->WriteLine(builder, form);
}

bool BillPayment::AppliedPending(const qcBase& record) {
  return AsPayment(record).appliedTos_->ObjectState() != qoObjectStateClean;
}

void BillPayment::BeforeRead() {
  TxnRecordCore::BeforeRead();
  appliedTos_->Reset();
  bankAccount_.SetFullName({});
  creditCardAccount_.SetFullName({});
  isToBePrinted_ = false;
}

void BillPayment::SetPayee(const std::string& value) {
  if (!value.empty() && !ResolveListObject(qoListEntities, value))
    RaiseFromClass(Kind().className, errEntityNotFound);
  ChangeRef(payee_, value, "PayeeEntityRef");
}

void BillPayment::SetAPAccount(const std::string& value) {
  RequireTxnAccount(Kind().className, value);
  ChangeRef(apAccount_, value, "APAccountRef");
}

void BillPayment::SetPaymentMethod(qbEnumBillPaymentMethod value) {
  if (value != qbBillPaymentMethodCheck && value != qbBillPaymentMethodCreditCard)
    RaiseFromClass(Kind().className, errInvalidBillPaymentMethod);
  Change(paymentMethod_, value, "BankAccountRef");
}

void BillPayment::SetBankAccount(const std::string& value) {
  RequireTxnAccount(Kind().className, value);
  ChangeRef(bankAccount_, value, "BankAccountRef");
}

void BillPayment::SetCreditCardAccount(const std::string& value) {
  RequireTxnAccount(Kind().className, value);
  ChangeRef(creditCardAccount_, value, "BankAccountRef");
}

// ---- the collection -----------------------------------------------------------------------------

BillPayments::~BillPayments() = default;

std::string BillPayments::QueryName() const {
  return std::string(cardSide_ ? kCardStem : kCheckStem) + "QueryRq";
}

BillPayments& BillPayments::Cards() {
  if (!cards_) {
    cards_ = std::make_unique<BillPayments>();
    cards_->cardSide_ = true;
  }
  cards_->SetIncludeDataExtensions(IncludeDataExtensions());
  return *cards_;
}

template <class Run>
int32_t BillPayments::Both(Run query) {
  query(*this);
  // A request the first query refused to write (an empty name list ...) is not sent for cards.
  for (const auto& error : *errors_) {
    if (error->Number() == ErrorNumber(errEmptyGetByArray) ||
        error->Number() == ErrorNumber(errWithChildrenOneName))
      return Count();
  }
  BillPayments& cards = Cards();
  query(cards);
  for (const auto& error : *cards.Errors())
    errors_->Add(error->Number(), error->Field(), error->Description());
  for (auto at = cards.MembersBegin(); at != cards.MembersEnd(); ++at) AddMember(*at);
  cards.Clear();
  return Count();
}

int32_t BillPayments::GetByDateMacro(qbEnumDateMacro DateMacro, bool IncludeLineItems,
                                     int32_t MaxReturned, qbEnumPaidStatus PaidStatus,
                                     const std::string& sMDBPath, const std::string& Entity,
                                     bool WithChildren) {
  return Both([&](BillPayments& side) {
    return side.TxnCollectionCore::GetByDateMacro(DateMacro, IncludeLineItems, MaxReturned,
                                                  PaidStatus, sMDBPath, Entity, WithChildren);
  });
}

int32_t BillPayments::GetByDateSpan(Date FromDate, Date ToDate, bool UseModifiedDate,
                                    bool IncludeLineItems, int32_t MaxReturned,
                                    qbEnumPaidStatus PaidStatus, const std::string& sMDBPath,
                                    const std::string& Entity, bool WithChildren) {
  return Both([&](BillPayments& side) {
    return side.TxnCollectionCore::GetByDateSpan(FromDate, ToDate, UseModifiedDate,
                                                 IncludeLineItems, MaxReturned, PaidStatus,
                                                 sMDBPath, Entity, WithChildren);
  });
}

int32_t BillPayments::GetByEntity(const std::vector<std::string>& EntityList, bool WithChildren,
                                  bool IncludeLineItems, int32_t MaxReturned,
                                  qbEnumPaidStatus PaidStatus, const std::string& sMDBPath) {
  return Both([&](BillPayments& side) {
    return side.TxnCollectionCore::GetByEntity(EntityList, WithChildren, IncludeLineItems,
                                               MaxReturned, PaidStatus, sMDBPath);
  });
}

int32_t BillPayments::GetByAccount(const std::vector<std::string>& AccountList, bool WithChildren,
                                   bool IncludeLineItems, int32_t MaxReturned,
                                   qbEnumPaidStatus PaidStatus, const std::string& sMDBPath) {
  return Both([&](BillPayments& side) {
    return side.TxnCollectionCore::GetByAccount(AccountList, WithChildren, IncludeLineItems,
                                                MaxReturned, PaidStatus, sMDBPath);
  });
}

int32_t BillPayments::GetByRefNumber(const std::string& FromRefNumber,
                                     const std::string& ToRefNumber, bool IncludeLineItems,
                                     int32_t MaxReturned, qbEnumPaidStatus PaidStatus,
                                     const std::string& sMDBPath) {
  return Both([&](BillPayments& side) {
    return side.TxnCollectionCore::GetByRefNumber(FromRefNumber, ToRefNumber, IncludeLineItems,
                                                  MaxReturned, PaidStatus, sMDBPath);
  });
}

int32_t BillPayments::GetByRefNumberMatch(const std::string& MatchString, qbEnumMatchType MatchType,
                                          bool IncludeLineItems, int32_t MaxReturned,
                                          qbEnumPaidStatus PaidStatus,
                                          const std::string& sMDBPath) {
  return Both([&](BillPayments& side) {
    return side.TxnCollectionCore::GetByRefNumberMatch(MatchString, MatchType, IncludeLineItems,
                                                       MaxReturned, PaidStatus, sMDBPath);
  });
}

int32_t BillPayments::GetAll(bool IncludeLineItems, int32_t MaxReturned,
                             qbEnumPaidStatus PaidStatus, const std::string& sMDBPath) {
  return Both([&](BillPayments& side) {
    return side.TxnCollectionCore::GetAll(IncludeLineItems, MaxReturned, PaidStatus, sMDBPath);
  });
}

int32_t BillPayments::GetBySingleEntity(const std::string& Entity, bool WithChildren,
                                        bool IncludeLineItems, const std::string& sMDBPath) {
  return Both([&](BillPayments& side) {
    return side.TxnCollectionCore::GetBySingleEntity(Entity, WithChildren, IncludeLineItems,
                                                     sMDBPath);
  });
}

int32_t BillPayments::GetBySingleAccount(const std::string& Account, bool WithChildren,
                                         bool IncludeLineItems, const std::string& sMDBPath) {
  return Both([&](BillPayments& side) {
    return side.TxnCollectionCore::GetBySingleAccount(Account, WithChildren, IncludeLineItems,
                                                      sMDBPath);
  });
}

std::shared_ptr<BillPayment> BillPayments::GetByTxnID(const std::string& TxnId,
                                                      bool IncludeLineItems,
                                                      const std::string& sMDBPath) {
  auto found =
      std::static_pointer_cast<BillPayment>(LookupTxnID(TxnId, IncludeLineItems, sMDBPath));
  if (found || !sMDBPath.empty()) return found;
  // Not a payment by check: ask for a card payment, and file it here.
  BillPayments& cards = Cards();
  auto card =
      std::static_pointer_cast<BillPayment>(cards.LookupTxnID(TxnId, IncludeLineItems, sMDBPath));
  cards.Clear();
  if (!card) return nullptr;  // the check side's refusal stays in Errors
  errors_->Clear();
  AddMember(card);
  return card;
}

int32_t BillPayments::Delete(const std::string& TxnId, bool bRemove) {
  bool card = false;
  for (const auto& payment : *this)
    if (payment->TxnIdView() == TxnId) card = payment->FormStem() == kCardStem;
  if (!card) return TxnCollectionCore::Delete(TxnId, bRemove);
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregate("TxnDelRq", "requestID", "1");
  builder.CreateElement("TxnDelType", kCardStem);
  builder.CreateElement("TxnID", TxnId);
  builder.EndAggregate("TxnDelRq");
  builder.NewSendRequest();
  if (builder.ErrNumber() != 0) RaiseError(errDeleteFailed, Stem(), builder.ErrMsg());
  if (bRemove) Remove(TxnId);
  return 0;
}

// The object-type table names both kinds "BillPayment": each payment's requests are written with
// the stem of its own kind.
bool BillPayments::AddMemberRequest(PersistentRecord& obj, xmlBldr& builder, bool bQueryRs,
                                    int32_t requestId) {
  auto& payment = static_cast<BillPayment&>(obj);
  std::string_view request = "QueryRs", body = "Ret";
  if (!bQueryRs) {
    switch (obj.ObjectState()) {
      case qoObjectStateClean:
        return false;
      case qoObjectStateNew:
        request = "AddRq";
        body = "Add";
        break;
      case qoObjectStateDirty:
        request = "ModRq";
        body = "Mod";
        break;
    }
  }
  if (requestId > std::numeric_limits<int16_t>::max()) RaiseOverflow();
  const std::string stem(payment.FormStem());
  const std::string requestName = stem + std::string(request);
  const std::string bodyName = stem + std::string(body);
  builder.OpenAggregate(requestName, "requestID", std::to_string(requestId));
  builder.OpenAggregateOnly(bodyName);
  if (bQueryRs) {
    payment.XMLQueryRs(builder);
  } else if (body == "Add") {
    payment.XMLInsert(builder);
  } else {
    payment.XMLModify(builder);
  }
  builder.EndAggregate(bodyName);
  builder.EndAggregate(requestName);
  return true;
}

std::shared_ptr<BillPayment> BillPayments::Add(
    const std::string& Payee, Currency Amount, Date TxnDate, const std::string& APAccount,
    const std::string& BankAccount, const std::string& CreditCardAccount,
    std::optional<bool> IsToBePrinted, const std::string& Memo,
    std::optional<qbEnumBillPaymentMethod> PaymentMethod, const std::string& RefNumber) {
  std::shared_ptr<BillPayment> payment = NewMember();
  if (!Payee.empty()) payment->SetPayee(Payee);
  if (Amount != Currency()) payment->SetAmount(Amount);
  if (!TxnDate.IsNull()) payment->SetTxnDate(TxnDate);
  if (!APAccount.empty()) payment->SetAPAccount(APAccount);
  if (!BankAccount.empty()) payment->SetBankAccount(BankAccount);
  if (!CreditCardAccount.empty()) payment->SetCreditCardAccount(CreditCardAccount);
  if (IsToBePrinted) payment->SetIsToBePrinted(*IsToBePrinted);
  if (!Memo.empty()) payment->SetMemo(Memo);
  if (PaymentMethod) payment->SetPaymentMethod(*PaymentMethod);
  if (!RefNumber.empty()) payment->SetRefNumber(RefNumber);
  FileAdded(payment);
  return payment;
}

void BillPayments::AddPrepared(const std::shared_ptr<BillPayment>& payment) {
  RequireMaster();
  FileAdded(payment);
}

// ---- a vendor's prepared payment ----------------------------------------------------------------

std::shared_ptr<BillPayment> PreparedBillPayment(const Vendor& vendor) {
  if (!vendor.HaveOpenBillsAndCredits()) return nullptr;
  std::shared_ptr<PersistentRecord>& slot = vendor.PreparedPaymentSlot();
  if (!slot) {
    auto payment = std::make_shared<BillPayment>();
    payment->SetPayee(vendor.FullName());
    payment->SetAPAccount(vendor.PaymentAPAccount());
    slot = payment;
  }
  return std::static_pointer_cast<BillPayment>(slot);
}

void PostPreparedBillPayment(const Vendor& vendor) {
  std::shared_ptr<BillPayment> payment = PreparedBillPayment(vendor);
  if (!payment) return;
  auto payments =
      std::dynamic_pointer_cast<BillPayments>(MasterCollection(qoObjectTypeBillPayment));
  if (!payments) RaiseError(errMasterOnly, "Brennock:BillPayment");
  if (payments->PositionOf(*payment) == std::string::npos) payments->AddPrepared(payment);
}

// ---- the form a payment is shown in -------------------------------------------------------------

namespace {

// Which kind of bill payment QuickBooks holds under that TxnID, asked of QuickBooks.
std::string FormKindOf(const std::string& txnId) {
  BillPayments payments;
  std::shared_ptr<BillPayment> payment = payments.GetByTxnID(txnId, false);
  return payment ? std::string(payment->FormStem()) : std::string();
}

bool Register() {
  RegisterBillPaymentFormKind(&FormKindOf);
  return true;
}

const bool registered = Register();

}  // namespace

}  // namespace brennock
