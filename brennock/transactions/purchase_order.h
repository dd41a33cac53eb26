#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/transactions/purchase_txn_core.h"
#include "brennock/internal/transactions/txn_collection_core.h"
#include "brennock/lists/address.h"

namespace brennock {

// An order placed with a vendor: what is to come (item lines only, at the vendor's cost), where
// it is shipped (ShipToEntity, ShipTo) and when it is expected. It posts nothing: QuickBooks keeps
// it on its non-posting account until item receipts and bills take its lines over, and reports
// IsFullyReceived once they have; IsManuallyClosed closes it by hand (a Mod only).
class PurchaseOrder final : public PurchaseTxnCore, public DataExtensionCarrier<PurchaseOrder> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypePurchaseOrder;
  PurchaseOrder();

  using PurchaseTxnCore::DueDate;
  using PurchaseTxnCore::ExchangeRate;
  using PurchaseTxnCore::LinkedTxns;
  using PurchaseTxnCore::Memo;
  using PurchaseTxnCore::Terms;
  using PurchaseTxnCore::Vendor;
  using PurchaseTxnCore::VendorObject;
  std::string Class() const { return class_.FullName(); }
  std::string ShipToEntity() const { return shipToEntity_.FullName(); }
  std::string Template() const { return template_.FullName(); }
  std::shared_ptr<Address> VendorAddress() const { return vendorAddress_; }
  std::shared_ptr<Address> ShipTo() const { return shipTo_; }
  Date ExpectedDate() const noexcept { return expectedDate_; }
  std::string ShipMethod() const { return shipMethod_.FullName(); }
  const std::string& FOB() const noexcept { return fob_; }
  bool IsManuallyClosed() const noexcept { return isManuallyClosed_; }
  bool IsFullyReceived() const noexcept { return isFullyReceived_; }
  const std::string& VendorMessage() const noexcept { return vendorMessage_; }
  bool IsToBePrinted() const noexcept { return isToBePrinted_; }
  bool IsToBeEmailed() const noexcept { return isToBeEmailed_; }
  const std::string& Other1() const noexcept { return other1_; }
  const std::string& Other2() const noexcept { return other2_; }
  Currency TotalAmount() const noexcept { return totalAmount_; }

  using PurchaseTxnCore::SetDueDate;
  using PurchaseTxnCore::SetMemo;
  using PurchaseTxnCore::SetTerms;
  using PurchaseTxnCore::SetVendor;
  void SetClass(const std::string& value) { ChangeRef(class_, value, "ClassRef"); }
  // A customer, vendor, employee or other name (2010 "Entity does not exist"); empty clears it.
  void SetShipToEntity(const std::string& value);
  void SetTemplate(const std::string& value) { ChangeRef(template_, value, "TemplateRef"); }
  void SetExpectedDate(Date value) { Change(expectedDate_, value, "ExpectedDate"); }
  void SetShipMethod(const std::string& value) { ChangeRef(shipMethod_, value, "ShipMethodRef"); }
  void SetFOB(const std::string& value) { Change(fob_, value, "FOB"); }
  // QuickBooks takes it in a Mod only: a new order is open.
  void SetIsManuallyClosed(bool value) { Change(isManuallyClosed_, value, "IsManuallyClosed"); }
  void SetVendorMessage(const std::string& value) { Change(vendorMessage_, value, "VendorMsg"); }
  void SetIsToBePrinted(bool value) { Change(isToBePrinted_, value, "IsToBePrinted"); }
  // qbXML 6.0 and later (1005 before).
  void SetIsToBeEmailed(bool value);
  void SetOther1(const std::string& value);
  void SetOther2(const std::string& value);

  // Saves the custom and application fields under the order's TxnID (and its lines').
  int32_t CommitCustomFields() { return SavePendingExtensions(); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override { CheckPurchaseRules(errors, true, true); }
  void BeforeRead() override;

 private:
  static void ReadAddress(qcBase& record, const FieldElement& element);
  static void ReadAddressBlock(qcBase& record, const FieldElement& element);
  static void WriteAddress(const qcBase& record, RequestWriter& builder, std::string_view element,
                           uint16_t flags, BodyForm form);
  static bool AddressPending(const qcBase& record);
  Address& AddressOf(std::string_view element) const;

  qcListObjectRef class_{qoListClasses, {}};
  qcListObjectRef shipToEntity_{qoListEntities, {}};
  qcListObjectRef template_{qoListTemplates, {}};
  qcListObjectRef shipMethod_{qoListShipMethods, {}};
  std::shared_ptr<Address> vendorAddress_, shipTo_;
  std::string fob_, vendorMessage_, other1_, other2_;
  Date expectedDate_;
  Currency totalAmount_;
  bool isManuallyClosed_ = false;
  bool isFullyReceived_ = false;
  bool isToBePrinted_ = false;
  bool isToBeEmailed_ = false;
};

// The company's purchase orders, and any set of them a client queries. QuickBooks voids no
// purchase order (a Void is not offered); it closes one instead.
class PurchaseOrders final : public TypedTxnCollection<PurchaseOrder> {
 public:
  PurchaseOrders() = default;

  // Setting it true in sessions above qbXML 2.1 opens, once per session, the second connection
  // that numbers forms; in older sessions it stays false.
  bool AutoGeneratePONumbers() const noexcept { return autoNumbers_; }
  void SetAutoGeneratePONumbers(bool value);

  // A new purchase order taking each header value given through its setter. Master collection
  // only.
  std::shared_ptr<PurchaseOrder> Add(
      const std::string& Vendor = {}, const std::string& Class = {}, Date TxnDate = {},
      const std::string& RefNumber = {}, const std::string& ShipToEntity = {},
      const std::string& ShipMethod = {}, Date DueDate = {}, Date ExpectedDate = {},
      const std::string& VendorMessage = {}, const std::string& Memo = {},
      const std::string& Terms = {}, const std::string& FOB = {},
      std::optional<bool> IsToBePrinted = std::nullopt, const std::string& VendorAddressLine1 = {},
      const std::string& VendorAddressLine2 = {}, const std::string& VendorAddressLine3 = {},
      const std::string& VendorAddressCity = {}, const std::string& VendorAddressState = {},
      const std::string& VendorAddressPostalCode = {}, const std::string& VendorAddressCountry = {},
      const std::string& ShippingAddressLine1 = {}, const std::string& ShippingAddressLine2 = {},
      const std::string& ShippingAddressLine3 = {}, const std::string& ShippingAddressCity = {},
      const std::string& ShippingAddressState = {},
      const std::string& ShippingAddressPostalCode = {},
      const std::string& ShippingAddressCountry = {});

  using TxnCollectionCore::Delete;
  using TxnCollectionCore::GetAll;
  using TxnCollectionCore::GetByAccount;
  using TxnCollectionCore::GetByDateMacro;
  using TxnCollectionCore::GetByDateSpan;
  using TxnCollectionCore::GetByEntity;
  using TxnCollectionCore::GetByEntityV;
  using TxnCollectionCore::GetByRefNumber;
  using TxnCollectionCore::GetByRefNumberMatch;
  using TxnCollectionCore::GetBySingleAccount;
  using TxnCollectionCore::GetBySingleEntity;
  using TxnCollectionCore::GetMultiple;

 private:
  bool autoNumbers_ = false;
};

}  // namespace brennock
