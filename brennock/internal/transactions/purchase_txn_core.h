#pragma once

#include <memory>
#include <string>

#include "brennock/internal/transactions/lined_txn_core.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/transactions/txn_expense_lines.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

class Vendor;

// What the vendor-side forms share (bills, and after them checks, card charges and credits,
// vendor credits, purchase orders and item receipts): the vendor with its terms, the A/P
// account, expense lines beside the item lines (with the purchase-owner rules) and the links to
// the orders and receipts a form takes over (LinedTxnCore), and the validation. Each class binds
// the fields it has and publishes their accessors (`using`).
class PurchaseTxnCore : public LinedTxnCore {
 public:
  ~PurchaseTxnCore() override;

 protected:
  explicit PurchaseTxnCore(const RecordKind& kind);

  std::string Vendor() const { return vendor_.FullName(); }
  std::shared_ptr<brennock::Vendor> VendorObject() const;
  std::string APAccount() const { return apAccount_.FullName(); }
  std::string Terms() const { return terms_.FullName(); }
  Date DueDate() const noexcept { return dueDate_; }
  std::string Memo() const { return memo_.str(); }
  Currency AmountDue() const noexcept { return amountDue_; }
  Currency OpenAmount() const noexcept { return openAmount_; }
  bool IsPaid() const noexcept { return isPaid_; }
  Date DiscountDate() const noexcept { return discountDate_; }
  Currency DiscountAmount() const noexcept { return discountAmount_; }
  float ExchangeRate() const noexcept { return exchangeRate_; }
  // Every vendor form but the purchase order has them.
  // Created when first asked for or read: many forms have item lines only.
  std::shared_ptr<txnExpenseLines> ExpenseLines() const;

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
  void OnLineEvent(qoEnumEventTypes id, std::string& param) override;

  // An address of the form (a check's, an order's): a Mod sends it when changed, an Add and the
  // record form when it holds something.
  static void WriteFormAddress(const Address& address, RequestWriter& builder,
                               std::string_view element, BodyForm form);
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

  qcListObjectRef vendor_{qoListVendors, {}};
  qcListObjectRef apAccount_{qoListAccounts, {}};
  qcListObjectRef terms_{qoListTerms, {}};
  ShortText memo_;  // mostly short enough to need no allocation
  Date dueDate_, discountDate_;
  Currency amountDue_, openAmount_, discountAmount_;
  float exchangeRate_ = 0;
  bool isPaid_ = false;
  mutable std::shared_ptr<txnExpenseLines> expenseLines_;  // null until needed

 private:
  // The item and expense lines' total, what the terms' discount applies to.
  Currency LinesTotal() const;

  static void ReadExpenseLine(qcBase& record, const FieldElement& element);
  static void WriteExpenseLines(const qcBase& record, RequestWriter& builder,
                                std::string_view element, uint16_t flags, BodyForm form);
  static bool ExpenseLinesPending(const qcBase& record);
};

}  // namespace brennock
