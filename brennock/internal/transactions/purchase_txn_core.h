#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "brennock/enums/txn_enums.h"
#include "brennock/internal/transactions/txn_record_core.h"
#include "brennock/lists/linked_transactions.h"
#include "brennock/model/qc_event_sink.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/transactions/txn_expense_lines.h"
#include "brennock/transactions/txn_item_lines.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

class Vendor;

// What the vendor-side forms share (bills, and after them checks, card charges and credits,
// vendor credits, purchase orders and item receipts): the vendor with its terms, the A/P
// account, item lines with the purchase-owner rules, links to the orders and receipts a form
// takes over, the relay of the lines' warnings, and the validation. Each class binds the fields
// it has and publishes their accessors (`using`).
class PurchaseTxnCore : public TxnRecordCore {
 public:
  ~PurchaseTxnCore() override;

  std::shared_ptr<txnItemLines> ItemLines() const { return itemLines_; }

  // A line warns (a cost above the item's, a quantity short): the Warning(Code, Message) event.
  std::function<void(qoEnumWarning Code, const std::string& Message)> OnWarning;

 protected:
  explicit PurchaseTxnCore(const RecordKind& kind);

  std::string Vendor() const { return vendor_.FullName(); }
  std::shared_ptr<brennock::Vendor> VendorObject() const;
  std::string APAccount() const { return apAccount_.FullName(); }
  std::string Terms() const { return terms_.FullName(); }
  Date DueDate() const noexcept { return dueDate_; }
  const std::string& Memo() const noexcept { return memo_; }
  Currency AmountDue() const noexcept { return amountDue_; }
  Currency OpenAmount() const noexcept { return openAmount_; }
  bool IsPaid() const noexcept { return isPaid_; }
  Date DiscountDate() const noexcept { return discountDate_; }
  Currency DiscountAmount() const noexcept { return discountAmount_; }
  float ExchangeRate() const noexcept { return exchangeRate_; }
  std::shared_ptr<txnLinkedTransactions> LinkedTxns() const { return linkedTxns_; }
  // Every vendor form but the purchase order has them.
  std::shared_ptr<txnExpenseLines> ExpenseLines() const { return expenseLines_; }

  // Setters with rules (the source of what they raise is "Brennock:" + the class name): an
  // unknown vendor raises 2003, an unknown account 1014 and one that is not accounts payable
  // 2033, unknown terms 2004.
  void SetVendor(const std::string& value);
  void SetAPAccount(const std::string& value);
  void SetTerms(const std::string& value);
  void SetDueDate(Date value) { Change(dueDate_, value, "DueDate"); }
  void SetMemo(const std::string& value) { Change(memo_, value, "Memo"); }

  // Due date, discount date and discount amount from the terms, the date and the lines.
  void RecalculateTerms();
  // The vendor-form rules: 2024 on an empty vendor (when requireVendor), 1011 per failing item
  // line, then per failing expense line (its position among its own kind), trailing empty lines
  // of both kinds dropped, 2022 without lines of either kind (nor links, when linksCount).
  void CheckPurchaseRules(qcErrors& errors, bool requireVendor, bool linksCount);
  void BeforeRead() override;
  void AfterRead() override;
  int32_t SavePendingExtensions() override;

  // One LinkToTxnID per link the client made (Add only), and the links QuickBooks reports.
  static constexpr Binding<qcBase> LinkToTxnRow() {
    return {"LinkToTxnID", kInAdd, nullptr, &WriteLinkToTxn, nullptr, qbxml::ValueType::kId};
  }
  static constexpr Binding<qcBase> LinkedTxnRow() {
    return {"LinkedTxn", kInRet, &ReadLinkedTxn, &WriteLinkedTxn};
  }
  // The expense lines: ExpenseLineAdd / ExpenseLineMod in requests, ExpenseLineRet in answers.
  static constexpr Binding<qcBase> ExpenseLinesRow() {
    return {"ExpenseLineRet",
            kInAdd | kInMod | kInRet | kLines,
            &ReadExpenseLine,
            &WriteExpenseLines,
            nullptr,
            qbxml::ValueType::kAggregate,
            &ExpenseLinesPending};
  }
  // The item lines under the owner's names: the first row writes every line (groups among them,
  // in order); both read.
  static constexpr std::array<Binding<qcBase>, 2> LineRows(std::string_view lineRet,
                                                           std::string_view groupRet) {
    return {{{lineRet, kInAdd | kInMod | kInRet | kLines, &ReadLine, &WriteLines, nullptr,
              qbxml::ValueType::kAggregate, &LinesPending},
             {groupRet, kInRet | kLines, &ReadLine, nullptr}}};
  }

  qcListObjectRef vendor_{qoListVendors, {}};
  qcListObjectRef apAccount_{qoListAccounts, {}};
  qcListObjectRef terms_{qoListTerms, {}};
  std::string memo_;
  Date dueDate_, discountDate_;
  Currency amountDue_, openAmount_, discountAmount_;
  float exchangeRate_ = 0;
  bool isPaid_ = false;
  std::shared_ptr<txnItemLines> itemLines_;
  std::shared_ptr<txnExpenseLines> expenseLines_;
  std::shared_ptr<txnLinkedTransactions> linkedTxns_;
  std::shared_ptr<qcEventSink> sink_;

 private:
  void OnLineEvent(qoEnumEventTypes id, std::string& param);
  // The item and expense lines' total, what the terms' discount applies to.
  Currency LinesTotal() const;
  std::string_view ClassName() const noexcept { return Kind().className; }

  static void WriteLinkToTxn(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);
  static void ReadLinkedTxn(qcBase& record, const FieldElement& element);
  static void WriteLinkedTxn(const qcBase& record, RequestWriter& builder, std::string_view element,
                             uint16_t flags, BodyForm form);
  static void ReadLine(qcBase& record, const FieldElement& element);
  static void WriteLines(const qcBase& record, RequestWriter& builder, std::string_view element,
                         uint16_t flags, BodyForm form);
  static bool LinesPending(const qcBase& record);
  static void ReadExpenseLine(qcBase& record, const FieldElement& element);
  static void WriteExpenseLines(const qcBase& record, RequestWriter& builder,
                                std::string_view element, uint16_t flags, BodyForm form);
  static bool ExpenseLinesPending(const qcBase& record);
};

}  // namespace brennock
