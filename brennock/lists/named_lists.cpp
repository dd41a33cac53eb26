// The flat name-only lists: ShipMethod, PaymentMethod and CustomerMessage.
#include "brennock/lists/named_lists.h"

#include "brennock/internal/errors/collected_errors.h"

namespace brennock {

const RecordBindings& NamedListRecord::Bindings() {
  BRENNOCK_BINDINGS(qcBase, RetHeadRows(), NameRow(), ActiveRow(), UserDataRow());
}

void CustomerMessage::CheckRules(qcErrors& errors) {
  if (name_.empty()) AddTableError(errors, errNameNull, "Name");
  if (TooLong(name_, "CustomerMsgAdd", "Name")) AddTableError(errors, errMessageTooLong, "Name");
}

}  // namespace brennock
