#include "brennock/transactions/sales_tax_payment_check.h"

#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

using K = SalesTaxPaymentCheck;
constexpr const char* kCollection = "salesTaxCheckLines";

}  // namespace

const BindingTable<salesTaxCheckLine>& salesTaxCheckLine::Bindings() {
  using L = salesTaxCheckLine;
  BRENNOCK_BINDINGS(L,
                    std::array{Bind<&L::txnLineID_, codecs::Text, L>("TxnLineID", kInRet),
                               Bind<&L::salesTaxItem_, codecs::Ref, L>("ItemSalesTaxRef", kInRet),
                               Bind<&L::amount_, codecs::Amount, L>("Amount", kInRet)});
}

void salesTaxCheckLine::FromDom(const FieldElement& element) {
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void salesTaxCheckLine::WriteRet(RequestWriter& builder) const {
  builder.OpenAggregateOnly("SalesTaxPaymentCheckLineRet");
  Bindings().Write(*this, builder, BodyForm::kRet);
  builder.EndAggregate("SalesTaxPaymentCheckLineRet");
}

std::shared_ptr<salesTaxCheckLine> salesTaxCheckLines::Item(int32_t index) const {
  if (!ItemExists(index)) RaiseCollectionPositionOutOfRange(kCollection);
  return items_[static_cast<size_t>(index - 1)];
}

Currency salesTaxCheckLines::Total() const noexcept {
  Currency total;
  for (const auto& line : items_) total = total + line->Amount();
  return total;
}

salesTaxCheckLine& salesTaxCheckLines::AppendLoaded() {
  items_.push_back(MakeSlabShared<salesTaxCheckLine>());
  return *items_.back();
}

SalesTaxPaymentCheck::SalesTaxPaymentCheck()
    : TxnRecordCore(RegisteredKind<kObjectType>()),
      address_(MakeSlabShared<brennock::Address>()),
      lines_(std::make_shared<salesTaxCheckLines>()) {}

// The rows of SalesTaxPaymentCheckRet, in the schema's order.
const RecordBindings& SalesTaxPaymentCheck::Bindings() {
  using R = codecs::Ref;
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 11>{{
          Bind<&K::payee_, R>("PayeeEntityRef", kInRet),
          TxnDateRow(),
          Bind<&K::bankAccount_, R>("BankAccountRef", kInRet),
          Bind<&K::amount_, codecs::Amount>("Amount", kInRet),
          RefNumberRow(),
          Bind<&K::memo_, codecs::Text>("Memo", kInRet | kSkipEmpty),
          Bind<&K::address_, codecs::Shared<codecs::Aggregate>>("Address", kInRet),
          Bind<&K::isToBePrinted_, codecs::Bool>("IsToBePrinted", kInRet),
          {"SalesTaxPaymentCheckLineRet", kInAdd | kInRet | kLines, &ReadLine, &WriteLines},
          DataExtRow(),
          UserDataRow()[0],
      }});
}

std::string SalesTaxPaymentCheck::AmountAsString() const {
  return ModConvertDtypes::AmountInWords(amount_);
}

void SalesTaxPaymentCheck::ReadLine(qcBase& record, const FieldElement& element) {
  RecordAs<K>(record).lines_->AppendLoaded().FromDom(element);
}

// QuickBooks makes the lines itself: a request carrying one is refused before it is sent.
void SalesTaxPaymentCheck::WriteLines(const qcBase& record, RequestWriter& builder,
                                      std::string_view, uint16_t, BodyForm form) {
  const auto& self = static_cast<const K&>(record);
  if (form != BodyForm::kRet) {
    if (self.lines_->Count() != 0) RaiseGeneral("SalesTaxPaymentCheckLine", "Insert not supported");
    return;
  }
  for (const auto& line : *self.lines_) line->WriteRet(builder);
}

void SalesTaxPaymentCheck::BeforeRead() {
  TxnRecordCore::BeforeRead();
  lines_->Reset();
  address_->Reset();
}

}  // namespace brennock
