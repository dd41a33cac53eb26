// The flat name-only lists: ShipMethod, PaymentMethod and CustomerMessage.
#include "brennock/errors/collected_errors.h"
#include "brennock/lists/customer_message.h"
#include "brennock/lists/payment_method.h"
#include "brennock/lists/ship_method.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/util/text.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

constexpr std::string_view kNoModify = "Modify not allowed";
constexpr size_t kMaxMessageLength = 101;

constexpr ListRecordKind kShipMethodKind{
    qoObjectTypeShipMethod,  qoListShipMethods, "ShipMethod", "ShipMethod", kNoModify, false,
    &NamedListRecord::Fields};
constexpr ListRecordKind kPaymentMethodKind{qoObjectTypePaymentMethod,
                                            qoListPaymentMethods,
                                            "PaymentMethod",
                                            "PaymentMethod",
                                            kNoModify,
                                            false,
                                            &NamedListRecord::Fields};
constexpr ListRecordKind kCustomerMessageKind{qoObjectTypeCustomerMsg,
                                              qoListCustomerMessages,
                                              "CustomerMessage",
                                              "CustomerMsg",
                                              kNoModify,
                                              false,
                                              &NamedListRecord::Fields};

}  // namespace

const FieldTable& NamedListRecord::Fields() {
  static constexpr auto kEntries = SortedFields(IdentityFields());
  static constexpr FieldTable kTable(kEntries);
  return kTable;
}

int32_t NamedListRecord::XMLInsert(xmlBldr& cxmlbldr) {
  WriteNameAndActive(cxmlbldr, false);
  return 0;
}

int32_t NamedListRecord::XMLQueryRs(xmlBldr& cxmlbldr) {
  WriteRetIdentity(cxmlbldr);
  WriteNameAndActive(cxmlbldr, true);
  WriteRetUserData(cxmlbldr);
  return 0;
}

void NamedListRecord::CheckRules(qcErrors& errors) { CheckName(errors); }

void CustomerMessage::CheckRules(qcErrors& errors) {
  if (name_.empty()) AddTableError(errors, errNameNull, "Name");
  if (Utf8Length(name_) > kMaxMessageLength) AddTableError(errors, errMessageTooLong, "Name");
}

ShipMethod::ShipMethod() : NamedListRecord(kShipMethodKind) {}
ShipMethods::ShipMethods()
    : NamedListCollection<ShipMethod>(kShipMethodKind, &MakeListRecord<ShipMethod>) {}

PaymentMethod::PaymentMethod() : NamedListRecord(kPaymentMethodKind) {}
PaymentMethods::PaymentMethods()
    : NamedListCollection<PaymentMethod>(kPaymentMethodKind, &MakeListRecord<PaymentMethod>) {}

CustomerMessage::CustomerMessage() : NamedListRecord(kCustomerMessageKind) {}
CustomerMessages::CustomerMessages()
    : NamedListCollection<CustomerMessage>(kCustomerMessageKind, &MakeListRecord<CustomerMessage>) {
}

}  // namespace brennock
