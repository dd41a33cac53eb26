#include "brennock/transactions/purchase_order.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/session_gates.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/numbering_session.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/session/version_check.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/model/qc_list_object.h"

namespace brennock {
namespace {

using P = PurchaseOrder;

PurchaseOrder& Order(qcBase& record) { return static_cast<PurchaseOrder&>(record); }
const PurchaseOrder& Order(const qcBase& record) {
  return static_cast<const PurchaseOrder&>(record);
}

}  // namespace

PurchaseOrder::PurchaseOrder()
    : PurchaseTxnCore(RegisteredKind<kObjectType>()),
      vendorAddress_(MakeSlabShared<Address>()),
      shipTo_(MakeSlabShared<Address>()) {}

// The rows of PurchaseOrderAdd, PurchaseOrderMod and PurchaseOrderRet, in the schema's order.
const RecordBindings& PurchaseOrder::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  using R = codecs::Ref;
  using T = codecs::Text;
  constexpr auto kLines = LineRows("PurchaseOrderLineRet", "PurchaseOrderLineGroupRet");
  constexpr auto kAddress = [](std::string_view element) {
    return Binding<qcBase>{element,        kAll,    &ReadAddress,
                           &WriteAddress,  nullptr, qbxml::ValueType::kAggregate,
                           &AddressPending};
  };
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 29>{{
          Bind<&P::vendor_, R>("VendorRef", kAll),
          Bind<&P::class_, R>("ClassRef", kAll),
          Bind<&P::shipToEntity_, R>("ShipToEntityRef", kAll),
          Bind<&P::template_, R>("TemplateRef", kAll),
          TxnDateRow(),
          RefNumberRow(),
          kAddress("VendorAddress"),
          {"VendorAddressBlock", kInRet, &ReadAddressBlock, nullptr},
          kAddress("ShipAddress"),
          {"ShipAddressBlock", kInRet, &ReadAddressBlock, nullptr},
          Bind<&P::terms_, R>("TermsRef", kAll),
          Bind<&P::dueDate_, codecs::Date>("DueDate", kAll),
          Bind<&P::expectedDate_, codecs::Date>("ExpectedDate", kAll | kSkipEmpty),
          Bind<&P::shipMethod_, R>("ShipMethodRef", kAll),
          Bind<&P::fob_, T>("FOB", kText),
          Bind<&P::totalAmount_, codecs::Amount>("TotalAmount", kInRet),
          ReadOnly(Bind<&P::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
          Bind<&P::isManuallyClosed_, codecs::Bit>("IsManuallyClosed", kInMod | kInRet),
          ReadOnly(Bind<&P::isFullyReceived_, codecs::Bool>("IsFullyReceived", kInRet)),
          Bind<&P::memo_, T>("Memo", kText),
          Bind<&P::vendorMessage_, T>("VendorMsg", kText),
          Bind<&P::isToBePrinted_, codecs::Bit>("IsToBePrinted", kAll),
          SessionGated<&P::isToBeEmailed_, codecs::Bit, &SessionFromQbxml<6>>("IsToBeEmailed",
                                                                              kAll),
          SessionGated<&P::other1_, T, &SessionFromQbxml<6>>("Other1", kText),
          SessionGated<&P::other2_, T, &SessionFromQbxml<6>>("Other2", kText),
          LinkedTxnRow(),
          kLines[0],
          kLines[1],
          DataExtRow(),
      }},
      UserDataRow());
}

void PurchaseOrder::SetShipToEntity(const std::string& value) {
  if (!value.empty()) {
    std::shared_ptr<qcListObject> entity = ResolveListObject(qoListEntities, value);
    if (!entity) RaiseFromClass(Kind().className, errEntityNotFound);
    switch (entity->ObjectType()) {
      case qoObjectTypeCustomer:
      case qoObjectTypeVendor:
      case qoObjectTypeEmployee:
      case qoObjectTypeOtherName:
        break;
      default:
        RaiseGeneral(Kind().className, "Unknown entity type");
    }
  }
  ChangeRef(shipToEntity_, value, "ShipToEntityRef");
}

void PurchaseOrder::SetIsToBeEmailed(bool value) {
  RequireQbxmlVersion(6);
  Change(isToBeEmailed_, value, "IsToBeEmailed");
}

void PurchaseOrder::SetOther1(const std::string& value) {
  RequireQbxmlVersion(6);
  Change(other1_, value, "Other1");
}

void PurchaseOrder::SetOther2(const std::string& value) {
  RequireQbxmlVersion(6);
  Change(other2_, value, "Other2");
}

void PurchaseOrder::BeforeRead() {
  PurchaseTxnCore::BeforeRead();
  vendorAddress_->Reset();
  shipTo_->Reset();
}

Address& PurchaseOrder::AddressOf(std::string_view element) const {
  return *(element.starts_with("Vendor") ? vendorAddress_ : shipTo_);
}

void PurchaseOrder::ReadAddress(qcBase& record, const FieldElement& element) {
  Order(record).AddressOf(element.baseName()).FromDom(element);
}

// The printed form fills the address only when QuickBooks sent no structured one.
void PurchaseOrder::ReadAddressBlock(qcBase& record, const FieldElement& element) {
  Address& address = Order(record).AddressOf(element.baseName());
  if (address.IsEmpty()) address.FromDom(element);
}

void PurchaseOrder::WriteAddress(const qcBase& record, RequestWriter& builder,
                                 std::string_view element, uint16_t, BodyForm form) {
  WriteFormAddress(Order(record).AddressOf(element), builder, element, form);
}

bool PurchaseOrder::AddressPending(const qcBase& record) {
  const PurchaseOrder& self = Order(record);
  return self.vendorAddress_->ObjectState() != qoObjectStateClean ||
         self.shipTo_->ObjectState() != qoObjectStateClean;
}

// ---- the collection -----------------------------------------------------------------------------

void PurchaseOrders::SetAutoGeneratePONumbers(bool value) {
  if (value && SessionQbxmlVersion() <= Currency::FromScaled(21000)) return;
  if (value && !autoNumbers_) OpenNumberingSession();
  autoNumbers_ = value;
}

std::shared_ptr<PurchaseOrder> PurchaseOrders::Add(
    const std::string& Vendor, const std::string& Class, Date TxnDate, const std::string& RefNumber,
    const std::string& ShipToEntity, const std::string& ShipMethod, Date DueDate, Date ExpectedDate,
    const std::string& VendorMessage, const std::string& Memo, const std::string& Terms,
    const std::string& FOB, std::optional<bool> IsToBePrinted,
    const std::string& VendorAddressLine1, const std::string& VendorAddressLine2,
    const std::string& VendorAddressLine3, const std::string& VendorAddressCity,
    const std::string& VendorAddressState, const std::string& VendorAddressPostalCode,
    const std::string& VendorAddressCountry, const std::string& ShippingAddressLine1,
    const std::string& ShippingAddressLine2, const std::string& ShippingAddressLine3,
    const std::string& ShippingAddressCity, const std::string& ShippingAddressState,
    const std::string& ShippingAddressPostalCode, const std::string& ShippingAddressCountry) {
  std::shared_ptr<PurchaseOrder> order = NewMember();
  if (!Vendor.empty()) order->SetVendor(Vendor);
  if (!Class.empty()) order->SetClass(Class);
  if (!TxnDate.IsNull()) order->SetTxnDate(TxnDate);
  if (!RefNumber.empty()) order->SetRefNumber(RefNumber);
  if (!ShipToEntity.empty()) order->SetShipToEntity(ShipToEntity);
  if (!ShipMethod.empty()) order->SetShipMethod(ShipMethod);
  if (!DueDate.IsNull()) order->SetDueDate(DueDate);
  if (!ExpectedDate.IsNull()) order->SetExpectedDate(ExpectedDate);
  if (!VendorMessage.empty()) order->SetVendorMessage(VendorMessage);
  if (!Memo.empty()) order->SetMemo(Memo);
  if (!Terms.empty()) order->SetTerms(Terms);
  if (!FOB.empty()) order->SetFOB(FOB);
  if (IsToBePrinted) order->SetIsToBePrinted(*IsToBePrinted);
  PurchaseOrder::FillAddress(*order->VendorAddress(), VendorAddressLine1, VendorAddressLine2,
                             VendorAddressLine3, VendorAddressCity, VendorAddressState,
                             VendorAddressPostalCode, VendorAddressCountry);
  PurchaseOrder::FillAddress(*order->ShipTo(), ShippingAddressLine1, ShippingAddressLine2,
                             ShippingAddressLine3, ShippingAddressCity, ShippingAddressState,
                             ShippingAddressPostalCode, ShippingAddressCountry);
  FileAdded(order);
  return order;
}

}  // namespace brennock
