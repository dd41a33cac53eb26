// The item lines and links every lined form shares: their rows, the relay of the lines' events,
// the handover of the lines' custom fields after a save, and the line checks of validation.
#include "brennock/internal/transactions/lined_txn_core.h"

#include "brennock/enums/enumerations.h"
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/lists/address.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

LinedTxnCore& Lined(qcBase& record) { return static_cast<LinedTxnCore&>(record); }
const LinedTxnCore& Lined(const qcBase& record) { return static_cast<const LinedTxnCore&>(record); }

}  // namespace

LinedTxnCore::LinedTxnCore(const RecordKind& kind)
    : TxnRecordCore(kind),
      itemLines_(MakeSlabShared<txnItemLines>()),
      sink_(MakeSlabShared<qcEventSink>()) {
  itemLines_->SetOwnerType(kind.objectType);
  itemLines_->SetEventSink(sink_);
  sink_->OnqoEvent = [this](qoEnumEventTypes id, std::string& param) { OnLineEvent(id, param); };
}

LinedTxnCore::~LinedTxnCore() {
  // Lines a client still holds may raise after the transaction is gone: nobody listens then.
  sink_->OnqoEvent = nullptr;
}

std::shared_ptr<txnLinkedTransactions> LinedTxnCore::LinkedTxns() const {
  if (!linkedTxns_) linkedTxns_ = MakeSlabShared<txnLinkedTransactions>();
  return linkedTxns_;
}

void LinedTxnCore::FillAddress(Address& address, const std::string& line1, const std::string& line2,
                               const std::string& line3, const std::string& city,
                               const std::string& state, const std::string& postalCode,
                               const std::string& country) {
  if (!line1.empty()) address.SetLine1(line1);
  if (!line2.empty()) address.SetLine2(line2);
  if (!line3.empty()) address.SetLine3(line3);
  if (!city.empty()) address.SetCity(city);
  if (!state.empty()) address.SetState(state);
  if (!postalCode.empty()) address.SetPostalCode(postalCode);
  if (!country.empty()) address.SetCountry(country);
}

void LinedTxnCore::OnLineEvent(qoEnumEventTypes id, std::string& param) {
  if (id != qoEventWarning) return;
  const auto code = static_cast<qoEnumWarning>(ModConvertDtypes::TextToInt32(param));
  if (OnWarning) OnWarning(code, EnumCodeToText(qoeWarnings, static_cast<int16_t>(code)));
}

void LinedTxnCore::CheckItemLines(qcErrors& errors) {
  int32_t position = 0;
  for (const auto& line : *itemLines_) {
    ++position;
    if (!line->ValidateLine()) AddTableError(errors, errValidateFailed, std::to_string(position));
  }
  itemLines_->TrimTrailingEmpty();
}

void LinedTxnCore::RequireLines(qcErrors& errors, bool linksCount, int32_t otherLines) {
  const bool linked = linkedTxns_ && linkedTxns_->Count() != 0;
  if (itemLines_->Count() == 0 && otherLines == 0 && !(linksCount && linked))
    AddTableError(errors, errNoLines, "");
}

int32_t LinedTxnCore::SavePendingExtensions() {
  int32_t errors = TxnRecordCore::SavePendingExtensions();
  for (const auto& line : *itemLines_) errors += line->SaveLineExtensions(TxnId());
  return errors;
}

void LinedTxnCore::BeforeRead() {
  TxnRecordCore::BeforeRead();
  itemLines_->Reset();
  if (linkedTxns_) linkedTxns_->Reset();
}

void LinedTxnCore::AfterRead() {
  TxnRecordCore::AfterRead();
  // The answer to a save replaced the lines: custom fields set on them are saved next.
  itemLines_->HandOverPendingExtensions();
}

// ---- rows ---------------------------------------------------------------------------------------

void LinedTxnCore::WriteLinkToTxn(const qcBase& record, RequestWriter& builder,
                                  std::string_view element, uint16_t, BodyForm) {
  const auto& links = Lined(record).linkedTxns_;
  if (!links) return;
  for (const auto& link : *links)
    if (!link->TxnId().empty()) builder.CreateElement(element, link->TxnId());
}

void LinedTxnCore::ReadLinkedTxn(qcBase& record, const FieldElement& element) {
  auto link = MakeSlabShared<txnLinkedTransaction>();
  link->FromDom(element);
  Lined(record).LinkedTxns()->Append(std::move(link));
}

void LinedTxnCore::WriteLinkedTxn(const qcBase& record, RequestWriter& builder, std::string_view,
                                  uint16_t, BodyForm) {
  const auto& links = Lined(record).linkedTxns_;
  if (!links) return;
  for (const auto& link : *links) link->WriteRet(builder);
}

void LinedTxnCore::ReadLine(qcBase& record, const FieldElement& element) {
  txnItemLines& lines = *Lined(record).itemLines_;
  // A record's lines come one after another: the first sizes the list for the rest.
  if (lines.Count() == 0) lines.ReserveLoaded(element.RunLength());
  lines.AppendLoaded().LineFromDom(element);
}

void LinedTxnCore::WriteLines(const qcBase& record, RequestWriter& builder, std::string_view,
                              uint16_t, BodyForm form) {
  Lined(record).itemLines_->Write(builder, form == BodyForm::kRet, form == BodyForm::kMod);
}

bool LinedTxnCore::LinesPending(const qcBase& record) {
  return Lined(record).itemLines_->HasChanges();
}

}  // namespace brennock
