#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "brennock/enums/list_enums.h"
#include "brennock/enums/object_enums.h"
#include "brennock/enums/txn_enums.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/record_base.h"
#include "brennock/internal/transactions/line_owner.h"
#include "brennock/internal/util/short_text.h"
#include "brennock/model/qc_list_object_ref.h"
#include "brennock/values/currency.h"
#include "brennock/values/date.h"

namespace brennock {

class qcItem;
class qcEventSink;
class txnItemLines;
class DataExtensions;

// One item line of a sales or purchase transaction, or a member line inside an item-group line.
// The line takes its description, price and tax code from the item it is given, keeps amount,
// rate and quantity consistent, tells its owner about changes through the owner's event sink, and
// writes itself into the owner's Add or Mod request under its owner's element names.
class txnItemLine : public RecordBase, public DataExtensionHolder {
 public:
  txnItemLine();
  ~txnItemLine();

  // Item line fields.
  std::string TxnLineId() const { return txnLineID_.str(); }
  // Full name of the line's item (or item group).
  std::string Item() const { return item_.FullName(); }
  // The item, looked up in the company's Items list; null when the line has none or it is gone.
  std::shared_ptr<qcItem> ItemObject() const;
  std::string Description() const { return description_.str(); }
  float Quantity() const noexcept { return quantity_; }
  float Cost() const noexcept { return cost_; }
  bool CostIsPercent() const noexcept { return costIsPercent_; }
  Currency Amount() const noexcept { return amount_; }
  std::string Class() const { return class_.FullName(); }
  std::string Customer() const { return RareOrNone().customer.FullName(); }
  Date ServiceDate() const noexcept { return serviceDate_; }
  std::string SalesTaxCode() const { return salesTaxCode_.FullName(); }
  // From the line's sales tax code.
  bool IsTaxable() const;
  std::string TaxCode() const { return RareOrNone().taxCode.FullName(); }
  float Markup() const noexcept { return RareOrNone().markup; }
  bool MarkupIsPercent() const noexcept { return markupIsPercent_; }
  std::string OverrideAccount() const { return RareOrNone().overrideAccount.FullName(); }
  qbEnumBillableStatus BillableStatus() const noexcept { return billableStatus_; }
  const std::string& LinkedTxnId() const noexcept { return RareOrNone().linkedTxnID; }
  const std::string& LinkedTxnLineId() const noexcept { return RareOrNone().linkedTxnLineID; }
  float ReceivedQuantity() const noexcept { return RareOrNone().receivedQuantity; }
  Currency Invoiced() const noexcept { return RareOrNone().invoiced; }
  // Any non-zero value means closed.
  Currency IsManuallyClosed() const noexcept { return RareOrNone().isManuallyClosed; }
  bool PrintItemsInGroup() const noexcept { return printItemsInGroup_; }
  bool IsGroup() const noexcept { return isGroup_; }
  // The member lines of a group line; 2009 on a line whose item is no item group.
  std::shared_ptr<txnItemLines> GroupLines();
  const std::string& Other1() const noexcept { return RareOrNone().other1; }
  const std::string& Other2() const noexcept { return RareOrNone().other2; }
  std::shared_ptr<DataExtensions> CustomFields();
  std::shared_ptr<qcErrors> Errors() { return ErrorList(); }
  qoEnumObjectState ObjectState() const noexcept { return state_; }

  // Setters raise at once when a rule fails (source "Brennock:txnItemLine"); see the rules of
  // each in txn_item_line.cpp. Setters on a saved line make it Dirty.
  void SetItem(const std::string& value);
  void SetDescription(const std::string& value);
  void SetQuantity(float value);
  void SetCost(float value);
  void SetCostIsPercent(bool value);
  void SetAmount(Currency value);
  void SetClass(const std::string& value);
  void SetCustomer(const std::string& value);
  void SetServiceDate(Date value);
  void SetSalesTaxCode(const std::string& value);
  void SetTaxCode(const std::string& value);
  void SetMarkup(float value);
  void SetMarkupIsPercent(bool value);
  void SetOverrideAccount(const std::string& value);
  void SetBillableStatus(qbEnumBillableStatus value);
  void SetLinkedTxnId(const std::string& value);
  void SetLinkedTxnLineId(const std::string& value);
  void SetInvoiced(Currency value);
  void SetIsManuallyClosed(Currency value);
  void SetOther1(const std::string& value);
  void SetOther2(const std::string& value);

  bool IsGroupMemberLine() const noexcept;
  // Grid editing by field selector.
  bool FieldCanBeUpdated(qoEnumFldTxn iFld) const;
  std::string FieldDisplayString(qoEnumFldTxn iFld) const;
  void FieldUpdate(qoEnumFldTxn iFld, const std::string& sData);
  // Asks QuickBooks for the company (a round trip that changes nothing of the line).
  void Refresh();

  // Raised when an inventory item has less on hand (less what sales orders hold) than the line
  // sells.
  std::function<void(std::shared_ptr<qcItem> InventoryItem)> OnInsuficientQuantity;

  // Library-internal: what owners and collections set and call.
  qoEnumListObjectType OwnerType() const noexcept { return ownerType_; }
  void SetOwnerType(qoEnumListObjectType owner) noexcept;
  // The sink and customer tax code of a line that is in no collection; a line in one uses its
  // collection's.
  void SetEventSink(std::shared_ptr<qcEventSink> sink);
  void SetLoading(bool value) noexcept { loading_ = value; }
  void SetGroupMember(bool value) noexcept;
  // The owner's customer sales tax code, for choosing the line's code from its item's.
  void SetCustomerTaxCode(const std::string& value);
  void SetBaseQuantity(float value);
  float BaseQuantity() const noexcept { return RareOrNone().baseQuantity; }
  // The amount the total pass computes (no guard, no event).
  void SetRawAmount(Currency value) noexcept { amount_ = value; }
  void SetObjectState(qoEnumObjectState state) noexcept { state_ = state; }
  // The item's kind, known once the item was set or looked up; 0 for a line without an item.
  qbEnumItemType ItemTypeCode() const;
  // Writes the line into an open Add or Mod body (or its query-result form).
  void WriteLine(RequestWriter& builder, bool ret, bool mod);
  // Reads one line element of a response (InvoiceLineRet, InvoiceLineGroupRet ...); the line and
  // its members end Clean.
  void LineFromDom(const FieldElement& element);
  // 2021 on "Item" when the line has an amount but neither an item nor an override account.
  bool ValidateLine();
  // Whether the client changed anything of the line (or of its members) not yet saved.
  bool HasChanges() const;
  // Saves the custom fields of a saved line (and its members') under the transaction's ID.
  int32_t SaveLineExtensions(const std::string& TxnId);
  // Custom fields set on this line or its members and not yet saved.
  bool HasPendingExtensions() const noexcept;
  // Takes those of the line sent in its place (and of its members, position by position).
  void AdoptPendingExtensions(txnItemLine& sent) noexcept;

  static const BindingTable<txnItemLine>& ReadBindings();
  // The rows a line of that owner (a group line when group) is written with.
  static const BindingTable<txnItemLine>& WriteBindings(qoEnumListObjectType owner, bool group);

 private:
  friend class txnItemLines;
  friend struct ItemLineRows;
  // Writes the line under the element names of namingOwner (a group's members are written as
  // their owner's lines).
  void WriteAs(RequestWriter& builder, BodyForm form, qoEnumListObjectType namingOwner);
  // The object type a line's custom fields belong to: its transaction's.
  qoEnumListObjectType ExtensionOwner() const noexcept { return ownerType_; }
  // The group-member guard (2000) and the change guard of the transaction form.
  void GuardMember() const;
  void Guard();
  // Raises 2008 unless the owner's type is one of allowed; 1003 for no owner at all.
  void RequireOwner(std::initializer_list<qoEnumListObjectType> allowed) const;
  LineOwnerClass OwnerClass() const;
  void Recompute();
  void AmountChanged();
  void CheckInsufficientQuantity(const qcItem& item);
  void ChooseTaxCode(const qcItem& item);
  void ExpandGroup(const qcItem& item);
  void SetItemFromItem(const std::shared_ptr<qcItem>& item);
  std::shared_ptr<txnItemLines>& MemberLines();

  // What few lines use, in one block made when the first of it is set (read from a response or
  // by the client): the usual loaded line has none of it, and is smaller and quicker to make and
  // to free for it.
  struct Rare {
    qcListObjectRef customer{qoListCustomers, {}};
    qcListObjectRef taxCode{qoListTaxCodes, {}};
    qcListObjectRef overrideAccount{qoListAccounts, {}};
    std::string linkedTxnID, linkedTxnLineID;
    std::string other1, other2;
    std::shared_ptr<txnItemLines> groupLines;
    Currency invoiced;
    Currency isManuallyClosed;
    float markup = 0;
    float receivedQuantity = 0;
    float baseQuantity = 0;  // a member line's quantity per one of its group
    // What the line keeps of its collection's once it is in none (removed, or the collection is
    // gone, while the client still holds the line).
    std::shared_ptr<qcEventSink> sink;
    std::string customerTaxCode;
  };
  // The block, made when first needed.
  Rare& MutableRare();
  // The block, or one that holds nothing while the line has none.
  const Rare& RareOrNone() const noexcept { return rare_ ? *rare_ : NoRare(); }
  // The member lines when there are any; never makes them.
  txnItemLines* MembersIfAny() const noexcept { return rare_ ? rare_->groupLines.get() : nullptr; }
  static const Rare& NoRare() noexcept;
  // The sink the line reports through, and the owner's customer tax code: its collection's while
  // it is in one (a line does not hold a copy of each), else its own.
  qcEventSink* Sink() const noexcept;
  std::shared_ptr<qcEventSink> SharedSink() const;
  const std::string& CustomerTaxCode() const noexcept;
  // The collection lets the line go while something else still holds it: the line keeps the
  // collection's sink and tax code.
  void LeaveCollection() noexcept;

  // Members that need destroying first, so that freeing a line touches few cache lines.
  ShortText txnLineID_;
  qcListObjectRef item_{qoListItems, {}};
  ShortText description_;  // mostly short enough to need no allocation
  qcListObjectRef class_{qoListClasses, {}};
  qcListObjectRef salesTaxCode_{qoListSalesTaxCodes, {}};
  std::unique_ptr<Rare> rare_;          // null until needed
  txnItemLines* collection_ = nullptr;  // the collection holding the line; null once let go
  Currency amount_;
  Date serviceDate_;
  float quantity_ = 0;
  float cost_ = 0;
  qoEnumListObjectType ownerType_ = static_cast<qoEnumListObjectType>(0);
  qbEnumBillableStatus billableStatus_ = static_cast<qbEnumBillableStatus>(0);
  mutable qbEnumItemType itemType_ = static_cast<qbEnumItemType>(0);  // 0: not known yet
  bool quantitySet_ = false;
  bool costIsPercent_ = false;
  bool markupIsPercent_ = false;
  mutable bool isTaxable_ = false;
  mutable bool taxableKnown_ = true;  // false after a read, until the code is looked up
  bool printItemsInGroup_ = false;
  bool isGroup_ = false;
  bool loading_ = false;
  bool groupMember_ = false;
};

}  // namespace brennock
