#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/enums/list_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/values/currency.h"

namespace brennock {

class qcErrors;
class qcListObject;
class qcListObjectRefs;
class XmlNode;

// What every item answers whatever its kind, so transaction lines and the items collection can
// work with an item without knowing its class. A member without meaning for a kind answers the
// empty value (empty text, 0, False).
class qcItem {
 public:
  virtual ~qcItem() = default;

  // The item as the list record it is.
  virtual qcListObject& ListObject() = 0;
  virtual const qcListObject& ListObject() const = 0;

  virtual qbEnumItemType ItemType() const = 0;
  virtual std::string SalesDescription() const = 0;
  virtual std::string PurchaseDescription() const = 0;
  virtual bool SalesCostIsPercent() const = 0;
  virtual bool PurchaseCostIsPercent() const = 0;
  virtual float SalesCost() const = 0;
  virtual float PurchaseCost() const = 0;
  // Full name of the item's sales tax code.
  virtual std::string SalesTaxCode() const = 0;
  virtual bool HasSalesAndPurchase() const = 0;
  // True when the item posts to an expense or other-expense account (a sales-or-purchase item,
  // or a group holding one): transactions warn about such lines.
  virtual bool ContainsExpenseAccount() const = 0;

  // The list-record members, through the record.
  std::string ListID() const;
  std::string Name() const;
  std::string CollectionKey() const;
  std::shared_ptr<qcErrors> Errors();
  qoEnumObjectState ObjectState() const;
  void SetObjectState(qoEnumObjectState state);
  std::string Parent() const;
  std::shared_ptr<qcListObjectRefs> Children();
  std::string FullName() const;
  int16_t Sublevel() const;
  bool SupportsChildren() const;
  int32_t FromDom(const XmlNode& obj);
  bool Validate();
  void SetName(const std::string& value);
};

// Tax as a sales-tax item or a sales-tax group computes it.
class qcItemTax {
 public:
  virtual ~qcItemTax() = default;

  virtual bool IsGroup() const = 0;
  // Amount times the rate, rounded to currency.
  virtual Currency CalculateTax(Currency Amount) const = 0;
  // True when TaxCode names this item (exactly, letter case counting) or, for a group, one of
  // its items.
  virtual bool ContainsTax(const std::string& TaxCode) const = 0;
  // A percentage (8.25 for 8.25%).
  virtual Currency TaxRate() const = 0;
};

}  // namespace brennock
