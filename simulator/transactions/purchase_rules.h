#pragma once

#include "simulator/transactions/purchase_form.h"

namespace brennock::simulator {

// The vendor-side forms, each a book of PurchaseFormRule and the figures it shows (one source
// file each).

// A bill: owed to the vendor on A/P under its own TxnID, due by its terms. OpenAmount is its
// amount; AmountDue and IsPaid what payments, discounts and credits left of it, as QuickBooks
// answers them. Takes the lines of a purchase order or item receipt it is linked to.
class BillRule final : public PurchaseFormRule {
 public:
  BillRule();
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

// Items received before their bill: stock and A/P, open until a bill takes the receipt over.
class ItemReceiptRule final : public PurchaseFormRule {
 public:
  ItemReceiptRule();
};

// What a vendor owes back: A/P debited, open (OpenAmount) until payments use it; returned stock
// leaves at the credited amount.
class VendorCreditRule final : public PurchaseFormRule {
 public:
  VendorCreditRule();
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
};

// A check written from a bank account: paid at once, numbered unless it is to be printed.
class CheckRule final : public PurchaseFormRule {
 public:
  CheckRule();
};

// A purchase on the company's credit card account, and a refund to it.
class CreditCardChargeRule final : public PurchaseFormRule {
 public:
  CreditCardChargeRule();
};
class CreditCardCreditRule final : public PurchaseFormRule {
 public:
  CreditCardCreditRule();
};

// A purchase order posts nothing: its lines are on order (QuantityOnOrder of their items) until
// item receipts and bills receive them (ReceivedQuantity) or it is closed (IsManuallyClosed).
class PurchaseOrderRule final : public PurchaseFormRule {
 public:
  PurchaseOrderRule();
  bool WriteFromLedger(TxnStore& store, const TxnRecord& txn, std::string_view element,
                       std::string& out) const override;
  bool WriteLineFromLedger(TxnStore& store, const TxnRecord& txn, const TxnLine& line,
                           const qbxml::Aggregate& shape, std::string_view element,
                           std::string& out) const override;
  std::vector<OrderLine> OpenOrderLines(const TxnRecord& txn) const override;
};

}  // namespace brennock::simulator
