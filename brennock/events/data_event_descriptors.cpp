#include "brennock/internal/events/data_event_descriptors.h"

#include <algorithm>
#include <array>
#include <string>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/qbxml/request_writer.h"

namespace brennock {
namespace {

// Journal entries, bills, checks, purchase orders, card charges and credits, invoices, sales
// receipts, credit memos, estimates, payments received and made, deposits, statement charges,
// inventory adjustments, sales tax payments and sales orders.
constexpr std::array<qoEnumListObjectType, 17> kTxnEventTypes = {
    qoObjectTypeJournalEntry,
    qoObjectTypeBill,
    qoObjectTypeCheck,
    qoObjectTypePurchaseOrder,
    qoObjectTypeCreditCardCharge,
    qoObjectTypeCreditCardCredit,
    qoObjectTypeInvoice,
    qoObjectTypeSalesReceipt,
    qoObjectTypeCreditMemo,
    qoObjectTypeEstimate,
    qoObjectTypeReceivePayment,
    qoObjectTypeBillPayment,
    qoObjectTypeDeposit,
    qoObjectTypeCharge,
    qoObjectTypeInventoryAdjustment,
    qoObjectTypeSalesTaxPaymentCheck,
    qoObjectTypeSalesOrder,
};

}  // namespace

bool IsTxnEventObjectType(qoEnumListObjectType type) noexcept {
  return std::find(kTxnEventTypes.begin(), kTxnEventTypes.end(), type) != kTxnEventTypes.end();
}

std::string_view dataEventDescriptor::Family() const noexcept {
  return IsTxnEventObjectType(objectType_) ? "Txn" : "List";
}

void dataEventDescriptor::ToXML(RequestWriter& bldr) const {
  const std::string family(Family());
  const std::string aggregate = family + "EventSubscription";
  const std::string typeElement = family + "EventType";
  const std::string operationElement = family + "EventOperation";
  const std::string type = EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(objectType_));
  auto write = [&](std::string_view operation) {
    bldr.OpenAggregateOnly(aggregate);
    bldr.CreateElement(typeElement, type);
    bldr.CreateElement(operationElement, operation);
    bldr.EndAggregate(aggregate);
  };
  if (trackAdd_) write("Add");
  if (trackDelete_) write("Delete");
  if (trackModify_) write("Modify");
  if (trackMerge_ && family == "List") write("Merge");
}

std::shared_ptr<dataEventDescriptor> dataEventDescriptors::Add(qoEnumListObjectType ObjectType,
                                                               bool TrackAdd, bool TrackModify,
                                                               bool TrackDelete, bool TrackMerge) {
  auto descriptor = std::make_shared<dataEventDescriptor>();
  descriptor->SetObjectType(ObjectType);
  descriptor->SetTrackAdd(TrackAdd);
  descriptor->SetTrackModify(TrackModify);
  descriptor->SetTrackDelete(TrackDelete);
  descriptor->SetTrackMerge(TrackMerge);
  descriptors_.push_back(descriptor);
  return descriptor;
}

std::shared_ptr<dataEventDescriptor> dataEventDescriptors::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("dataEventDescriptors");
  return descriptors_[static_cast<size_t>(index - 1)];
}

void dataEventDescriptors::Remove(int32_t index) {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("dataEventDescriptors");
  descriptors_.erase(descriptors_.begin() + (index - 1));
}

}  // namespace brennock
