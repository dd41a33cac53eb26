#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "brennock/internal/model/record_core.h"
#include "brennock/internal/util/short_text.h"
#include "brennock/values/date.h"

namespace brennock {

// The identity every transaction shares (TxnID, times, EditSequence, TxnNumber, TxnDate,
// RefNumber) with its binding rows, on the record protocol of RecordCore. A transaction class
// adds its own rows, accessors and rules. Its collection files it under its TxnID after a query
// and under its number in the collection otherwise (CollectionKey).
class TxnRecordCore : public RecordCore<PersistentRecord> {
 public:
  // PersistentRecord
  std::string CollectionKey() const override { return collectionKey_.str(); }
  std::string ListOrTxnId() const override { return txnID_.str(); }

  std::string TxnId() const { return txnID_.str(); }
  Date TimeCreated() const noexcept { return timeCreated_; }
  Date TimeModified() const noexcept { return timeModified_; }
  // QuickBooks' version stamp of the transaction, sent back with a Mod.
  const std::string& EditSequence() const noexcept { return editSequence_; }
  Date TxnDate() const noexcept { return txnDate_; }
  const std::string& RefNumber() const noexcept { return refNumber_; }
  // Kept, not shown by the record classes.
  int32_t TxnNumber() const noexcept { return txnNumber_; }

  void SetTxnDate(Date value) { Change(txnDate_, value, "TxnDate"); }
  // Written into requests only once set.
  void SetRefNumber(const std::string& value) {
    Change(refNumber_, value, "RefNumber");
    refNumberSet_ = true;
  }

  // Library-internal: the key the collection files the record under.
  void SetCollectionKey(std::string value) { collectionKey_.assign(value); }
  std::string_view TxnIdView() const noexcept { return txnID_; }

  // Rows shared by the transaction classes, in schema order. TxnID, TimeCreated, TimeModified,
  // EditSequence, TxnNumber: the identity a Mod sends first and a Ret starts with.
  static constexpr std::array<Binding<qcBase>, 5> IdentityRows() {
    constexpr uint16_t kIdentity = kInMod | kInRet | kModAlways;
    return {{Bind<&TxnRecordCore::txnID_, codecs::Text>("TxnID", kIdentity),
             Bind<&TxnRecordCore::timeCreated_, codecs::Stamp>("TimeCreated", kInRet),
             Bind<&TxnRecordCore::timeModified_, codecs::Stamp>("TimeModified", kInRet),
             Bind<&TxnRecordCore::editSequence_, codecs::Text>("EditSequence", kIdentity),
             Bind<&TxnRecordCore::txnNumber_, codecs::Int32>("TxnNumber", kInRet | kSkipEmpty)}};
  }
  // TxnDate when set.
  static constexpr Binding<qcBase> TxnDateRow() {
    return Bind<&TxnRecordCore::txnDate_, codecs::Date>("TxnDate", kInAdd | kInMod | kInRet);
  }
  // RefNumber: in requests only once the client set it.
  static constexpr Binding<qcBase> RefNumberRow() {
    return {"RefNumber",
            kInAdd | kInMod | kInRet,
            [](qcBase& r, const FieldElement& x) {
              codecs::Text::Read(static_cast<TxnRecordCore&>(r).refNumber_, x);
            },
            &WriteRefNumber,
            [](const qcBase& r) -> std::string_view {
              return static_cast<const TxnRecordCore&>(r).refNumber_;
            },
            qbxml::ValueType::kText};
  }

 protected:
  explicit TxnRecordCore(const RecordKind& kind) noexcept : RecordCore(kind) {}
  ~TxnRecordCore() override;

  // A number read from QuickBooks is QuickBooks' own until the client sets one.
  void BeforeRead() override { refNumberSet_ = false; }
  // A transaction read by a query is filed under its TxnID; one a commit numbered keeps its
  // number.
  void AfterRead() override {
    if (collectionKey_.empty()) collectionKey_ = txnID_.view();
  }

  void SetTimes(Date created, Date modified) noexcept {
    timeCreated_ = created;
    timeModified_ = modified;
  }

  ShortText txnID_;
  ShortText collectionKey_;
  std::string editSequence_;
  std::string refNumber_;
  Date timeCreated_;
  Date timeModified_;
  Date txnDate_;
  int32_t txnNumber_ = 0;
  bool refNumberSet_ = false;

 private:
  static void WriteRefNumber(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);
};

}  // namespace brennock
