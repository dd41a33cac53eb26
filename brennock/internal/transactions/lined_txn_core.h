#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "brennock/enums/txn_enums.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/lists/linked_transactions.h"
#include "brennock/model/qc_event_sink.h"
#include "brennock/transactions/txn_item_lines.h"

namespace brennock {

class Address;

// What every form with item lines shares, sales and vendor forms alike: the item lines with the
// owner's rules and the event sink they report through, the links to other transactions, the
// rows that read and write both, the custom fields of the lines handed over after a save, and
// the line checks of validation. SalesTxnCore and PurchaseTxnCore build on it.
class LinedTxnCore : public TxnRecordCore {
 public:
  ~LinedTxnCore() override;

  std::shared_ptr<txnItemLines> ItemLines() const { return itemLines_; }

  // A line warns (a cost above the item's, an item with an expense account ...): the
  // Warning(Code, Message) event.
  std::function<void(qoEnumWarning Code, const std::string& Message)> OnWarning;

  // The header values an Add of a collection was given for an address: each non-empty one
  // through its setter.
  static void FillAddress(Address& address, const std::string& line1, const std::string& line2,
                          const std::string& line3, const std::string& city,
                          const std::string& state, const std::string& postalCode,
                          const std::string& country);

 protected:
  explicit LinedTxnCore(const RecordKind& kind);

  // Created when first asked for or read: most loaded forms link nothing.
  std::shared_ptr<txnLinkedTransactions> LinkedTxns() const;
  std::string_view ClassName() const noexcept { return Kind().className; }

  // What the lines report through the sink; a form handles what it cares about and passes the
  // rest on here, which relays warnings as OnWarning.
  virtual void OnLineEvent(qoEnumEventTypes id, std::string& param);

  // 1011 with its position for each item line that fails its own validation, then the item
  // lines without item and amount at the end dropped.
  void CheckItemLines(qcErrors& errors);
  // 2022 when the form has no item lines and no other lines (otherLines), nor links when they
  // count (linksCount).
  void RequireLines(qcErrors& errors, bool linksCount, int32_t otherLines = 0);

  void BeforeRead() override;
  void AfterRead() override;
  // Custom fields of the lines are saved with the transaction's.
  int32_t SavePendingExtensions() override;

  // One LinkToTxnID per link the client made (Add only), and the links QuickBooks reports.
  static constexpr Binding<qcBase> LinkToTxnRow() {
    return {"LinkToTxnID", kInAdd, nullptr, &WriteLinkToTxn, nullptr, qbxml::ValueType::kId};
  }
  static constexpr Binding<qcBase> LinkedTxnRow() {
    return {"LinkedTxn", kInRet, &ReadLinkedTxn, &WriteLinkedTxn};
  }
  // The item lines under the owner's names: the first row writes every line (groups among them,
  // in order); both read.
  static constexpr std::array<Binding<qcBase>, 2> LineRows(std::string_view lineRet,
                                                           std::string_view groupRet) {
    return {{{lineRet, kInAdd | kInMod | kInRet | kLines, &ReadLine, &WriteLines, nullptr,
              qbxml::ValueType::kAggregate, &LinesPending},
             {groupRet, kInRet | kLines, &ReadLine, nullptr}}};
  }

  std::shared_ptr<txnItemLines> itemLines_;
  mutable std::shared_ptr<txnLinkedTransactions> linkedTxns_;  // null until needed
  std::shared_ptr<qcEventSink> sink_;

 private:
  static void WriteLinkToTxn(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);
  static void ReadLinkedTxn(qcBase& record, const FieldElement& element);
  static void WriteLinkedTxn(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);
  static void ReadLine(qcBase& record, const FieldElement& element);
  static void WriteLines(const qcBase& record, RequestWriter& builder, std::string_view element,
                         uint16_t flags, BodyForm form);
  static bool LinesPending(const qcBase& record);
};

}  // namespace brennock
