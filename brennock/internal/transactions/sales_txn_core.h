#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "brennock/internal/transactions/lined_txn_core.h"
#include "brennock/internal/xml/deferred_element.h"
#include "brennock/lists/address.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

class qcItem;

// What the sales transactions built like an invoice share (Invoice, and after it sales receipts,
// credit memos, estimates and sales orders): the customer and its terms and tax settings, the
// addresses, the totals of the item lines (LinedTxnCore) kept up to date as the client edits, the
// lines' tax questions and stock shortages, and the validation. Each class binds the fields it
// has and publishes their accessors (`using`); the rest stay unused.
class SalesTxnCore : public LinedTxnCore {
 public:
  ~SalesTxnCore() override;

  // A line runs short of stock: the NoQuantity(Item) event (its warnings: OnWarning).
  std::function<void(std::shared_ptr<qcItem> Item)> OnNoQuantity;

 protected:
  explicit SalesTxnCore(const RecordKind& kind);

  // Header fields.
  std::string Customer() const { return customer_.FullName(); }
  std::string Class() const { return class_.FullName(); }
  std::string ARAccount() const { return arAccount_.FullName(); }
  std::string Template() const { return template_.FullName(); }
  std::shared_ptr<Address> BillTo() const { return AddressOf(true); }
  std::shared_ptr<Address> ShipTo() const { return AddressOf(false); }
  bool IsPending() const noexcept { return isPending_; }
  const std::string& PONumber() const noexcept { return poNumber_; }
  std::string Terms() const { return terms_.FullName(); }
  Date DueDate() const noexcept { return dueDate_; }
  std::string SalesRep() const { return salesRep_.FullName(); }
  const std::string& FOB() const noexcept { return fob_; }
  Date ShipDate() const noexcept { return shipDate_; }
  std::string ShipMethod() const { return shipMethod_.FullName(); }
  std::string SalesTaxItem() const { return salesTaxItem_.FullName(); }
  std::string Memo() const { return memo_.str(); }
  std::string CustomerMessage() const { return customerMsg_.FullName(); }
  bool IsToBePrinted() const noexcept { return isToBePrinted_; }
  bool IsToBeEmailed() const noexcept { return isToBeEmailed_; }
  std::string SalesTaxCode() const { return salesTaxCode_.FullName(); }
  std::string CDNCustomerTaxCode() const { return cdnTaxCode_.FullName(); }
  const std::string& Other() const noexcept { return other_; }
  Currency Tax1TotalTotal() const noexcept { return tax1Total_; }
  Currency Tax2TotalTotal() const noexcept { return tax2Total_; }
  bool AmountIncludesVAT() const noexcept { return amountIncludesVAT_; }
  float ExchangeRate() const noexcept { return exchangeRate_; }
  bool IsPaid() const noexcept { return isPaid_; }
  bool IsFinanceCharge() const noexcept { return isFinanceCharge_; }
  Currency Subtotal() const noexcept { return subtotal_; }
  Currency SalesTaxPercentage() const noexcept { return salesTaxPercentage_; }
  Currency SalesTaxTotal() const noexcept { return salesTaxTotal_; }
  Currency AppliedAmount() const noexcept { return appliedAmount_; }
  Currency BalanceRemaining() const noexcept { return balanceRemaining_; }
  Currency SuggestedDiscountAmount() const noexcept { return suggestedDiscountAmount_; }
  Date SuggestedDiscountDate() const noexcept { return suggestedDiscountDate_; }

  // Setters with rules (the source of what they raise is "Brennock:" + the class name).
  void SetCustomer(const std::string& value);
  void SetARAccount(const std::string& value);
  void SetTerms(const std::string& value);
  void SetSalesTaxCode(const std::string& value);
  void SetCDNCustomerTaxCode(const std::string& value);
  void SetSalesTaxItem(const std::string& value);
  void SetTax1TotalTotal(Currency value);
  void SetTax2TotalTotal(Currency value);
  void SetIsToBeEmailed(bool value);
  void SetOther(const std::string& value);
  // Plain setters.
  void SetClass(const std::string& value);
  void SetTemplate(const std::string& value);
  void SetIsPending(bool value) { Change(isPending_, value, "IsPending"); }
  void SetPONumber(const std::string& value) { Change(poNumber_, value, "PONumber"); }
  void SetDueDate(Date value) { Change(dueDate_, value, "DueDate"); }
  void SetSalesRep(const std::string& value);
  void SetFOB(const std::string& value) { Change(fob_, value, "FOB"); }
  void SetShipDate(Date value) { Change(shipDate_, value, "ShipDate"); }
  void SetShipMethod(const std::string& value);
  void SetMemo(const std::string& value) { Change(memo_, value, "Memo"); }
  void SetCustomerMessage(const std::string& value);
  void SetIsToBePrinted(bool value) { Change(isToBePrinted_, value, "IsToBePrinted"); }
  void SetAmountIncludesVAT(bool value);

  // The totals from the lines, the tax item and the terms (after every amount change).
  void RecalculateTotals();
  // Called at the end of every recalculation: forms with a total of their own (TotalAmount) keep
  // it beside the subtotal and tax.
  virtual void AfterTotals() {}
  // Subtotal and sales tax as QuickBooks totals them: the tax rounded to the cent, halves away
  // from zero (SalesTaxTotal itself keeps the tax item's four decimals).
  Currency TaxedTotal() const noexcept;
  // Due date, discount date and discount amount from the terms and the transaction date.
  void RecalculateTerms();
  // The invoice pattern's rules: 1014/2020 on the A/R account (when requireARAccount), 2018 on an
  // empty customer (when requireCustomer), 1011 per failing line, trailing empty lines dropped,
  // 2022 without lines (nor links, when linksCount), and 2035 in other editions.
  void CheckSalesRules(qcErrors& errors, bool requireARAccount, bool requireCustomer,
                       bool linksCount);
  void BeforeRead() override;
  // The lines' amounts, tax questions and stock shortages, as the transaction's own.
  void OnLineEvent(qoEnumEventTypes id, std::string& param) override;

  // Binding rows every sales kind shares, written under their own conditions.
  static constexpr Binding<qcBase> AddressRow(std::string_view element) {
    return {element, kInAdd | kInMod | kInRet,     &ReadAddress,   &WriteAddress,
            nullptr, qbxml::ValueType::kAggregate, &AddressPending};
  }
  // The printed forms QuickBooks adds to its answers: read into the same addresses.
  static constexpr Binding<qcBase> AddressBlockRow(std::string_view element) {
    return {element, kInRet, &ReadAddressBlock, nullptr};
  }
  // US sessions with a company default sales tax item only; always in the record form.
  static constexpr Binding<qcBase> ItemSalesTaxRow() {
    return {"ItemSalesTaxRef", kInAdd | kInMod | kInRet, &ReadSalesTaxItem, &WriteSalesTaxItem,
            nullptr,           qbxml::ValueType::kRef};
  }
  // Other editions' CustomerTaxCodeRef, then the US CustomerSalesTaxCodeRef.
  static constexpr std::array<Binding<qcBase>, 2> CustomerTaxCodeRows() {
    return {{{"CustomerTaxCodeRef", kInAdd | kInMod | kInRet | kNotInSchema, &ReadCdnTaxCode,
              &WriteCdnTaxCode, nullptr, qbxml::ValueType::kRef},
             {"CustomerSalesTaxCodeRef", kInAdd | kInMod | kInRet, &ReadSalesTaxCode,
              &WriteSalesTaxCode, nullptr, qbxml::ValueType::kRef}}};
  }
  // Other editions: Tax1Total, Tax2Total once set; UK and Australia: AmountIncludesVAT before
  // qbXML 6.0, IsTaxIncluded from it.
  static constexpr std::array<Binding<qcBase>, 4> OtherEditionTaxRows() {
    constexpr uint16_t kFlags = kInAdd | kInMod | kInRet | kNotInSchema;
    return {{{"Tax1Total", kFlags, &ReadTax1, &WriteTaxTotal, nullptr, qbxml::ValueType::kAmount},
             {"Tax2Total", kFlags, &ReadTax2, &WriteTaxTotal, nullptr, qbxml::ValueType::kAmount},
             {"AmountIncludesVAT", kFlags, &ReadVAT, &WriteVAT, nullptr, qbxml::ValueType::kBool},
             {"IsTaxIncluded", kFlags, &ReadVAT, &WriteVAT, nullptr, qbxml::ValueType::kBool}}};
  }

  qcListObjectRef customer_{qoListCustomers, {}};
  qcListObjectRef class_{qoListClasses, {}};
  qcListObjectRef arAccount_{qoListAccounts, {}};
  qcListObjectRef template_{qoListTemplates, {}};
  qcListObjectRef terms_{qoListTerms, {}};
  qcListObjectRef salesRep_{qoListSalesReps, {}};
  qcListObjectRef shipMethod_{qoListShipMethods, {}};
  qcListObjectRef salesTaxItem_{qoListItems, {}};
  qcListObjectRef customerMsg_{qoListCustomerMessages, {}};
  qcListObjectRef salesTaxCode_{qoListSalesTaxCodes, {}};
  qcListObjectRef cdnTaxCode_{qoListTaxCodes, {}};
  // Made together when first needed; a sale being loaded keeps the address elements it reads
  // until one is asked for (most sales of a large load never have their addresses looked at).
  mutable std::shared_ptr<Address> billTo_, shipTo_;
  mutable DeferredElement keptBillTo_, keptShipTo_;
  std::string poNumber_, fob_, other_;
  ShortText memo_;  // mostly short enough to need no allocation
  Date dueDate_, shipDate_, suggestedDiscountDate_;
  Currency tax1Total_, tax2Total_, subtotal_, salesTaxPercentage_, salesTaxTotal_;
  Currency appliedAmount_, balanceRemaining_, suggestedDiscountAmount_;
  float exchangeRate_ = 0;
  bool isPending_ = false;
  bool isToBePrinted_ = false;
  bool isToBeEmailed_ = false;
  bool amountIncludesVAT_ = false;
  bool isPaid_ = false;
  bool isFinanceCharge_ = false;
  bool tax1Set_ = false;
  bool tax2Set_ = false;
  bool taxableCustomer_ = false;  // the customer tax code is taxable: sales tax is computed
 private:
  // The defaults a new transaction takes: today's dates and the company preferences.
  void TakeDefaults();
  bool LinesCarryTaxItem(const std::string& taxItem) const;
  // Both addresses, made when first needed.
  void MakeAddresses() const;
  // The address of that side with what was read for it (made from its kept element).
  const std::shared_ptr<Address>& AddressOf(bool bill) const;

  static void ReadAddress(qcBase& record, const FieldElement& element);
  static void ReadAddressBlock(qcBase& record, const FieldElement& element);
  static void WriteAddress(const qcBase& record, RequestWriter& builder, std::string_view element,
                           uint16_t flags, BodyForm form);
  static bool AddressPending(const qcBase& record);
  static void ReadSalesTaxItem(qcBase& record, const FieldElement& element);
  static void WriteSalesTaxItem(const qcBase& record, RequestWriter& builder,
                                std::string_view element, uint16_t flags, BodyForm form);
  static void ReadCdnTaxCode(qcBase& record, const FieldElement& element);
  static void WriteCdnTaxCode(const qcBase& record, RequestWriter& builder,
                              std::string_view element, uint16_t flags, BodyForm form);
  static void ReadSalesTaxCode(qcBase& record, const FieldElement& element);
  static void WriteSalesTaxCode(const qcBase& record, RequestWriter& builder,
                                std::string_view element, uint16_t flags, BodyForm form);
  static void ReadTax1(qcBase& record, const FieldElement& element);
  static void ReadTax2(qcBase& record, const FieldElement& element);
  static void WriteTaxTotal(const qcBase& record, RequestWriter& builder, std::string_view element,
                            uint16_t flags, BodyForm form);
  static void ReadVAT(qcBase& record, const FieldElement& element);
  static void WriteVAT(const qcBase& record, RequestWriter& builder, std::string_view element,
                       uint16_t flags, BodyForm form);
};

}  // namespace brennock
