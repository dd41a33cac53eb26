#pragma once

#include <memory>
#include <string>

#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"

namespace brennock {

// The records of the flat lists that hold nothing but a name and an active flag (ShipMethod,
// PaymentMethod, CustomerMessage).
class NamedListRecord : public ListRecordCore {
 public:
  static const RecordBindings& Bindings();

 protected:
  using ListRecordCore::ListRecordCore;  // the name rules are the default ones
};

// One record class and collection per list; Rules declares a CheckRules of the record's own. The
// collection's Add (master collection only, else 1021) takes the name and the active flag.
#define BRENNOCK_NAMED_LIST(Record, Collection, Object, Rules)                        \
  class Record final : public NamedListRecord {                                       \
   public:                                                                            \
    static constexpr qoEnumListObjectType kObjectType = Object;                       \
    Record() : NamedListRecord(RegisteredKind<kObjectType>()) {}                      \
                                                                                      \
   protected:                                                                         \
    Rules                                                                             \
  };                                                                                  \
  class Collection final : public TypedListCollection<Record> {                       \
   public:                                                                            \
    std::shared_ptr<Record> Add(const std::string& Name = {}, bool IsActive = true) { \
      return AddMember(Name, IsActive);                                               \
    }                                                                                 \
  }

// A way of shipping goods ("UPS", "Federal Express").
BRENNOCK_NAMED_LIST(ShipMethod, ShipMethods, qoObjectTypeShipMethod, );

// A way customers pay ("Cash", "Check", "Visa").
BRENNOCK_NAMED_LIST(PaymentMethod, PaymentMethods, qoObjectTypePaymentMethod, );

// A message printed on sales forms ("Thank you for your business."); the text is its Name.
// SetName stores a new text without any check and without changing the record's state.
// 1012 for an empty text, 2400 for a text of 102 or more characters.
BRENNOCK_NAMED_LIST(CustomerMessage, CustomerMessages, qoObjectTypeCustomerMsg,
                    void CheckRules(qcErrors& errors) override;);

}  // namespace brennock
