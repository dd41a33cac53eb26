#include "brennock/internal/transactions/txn_record_core.h"

#include "brennock/internal/qbxml/request_writer.h"

namespace brennock {

TxnRecordCore::~TxnRecordCore() = default;

void TxnRecordCore::WriteRefNumber(const qcBase& record, RequestWriter& builder,
                                   std::string_view element, uint16_t flags, BodyForm form) {
  const auto& self = static_cast<const TxnRecordCore&>(record);
  if (form == BodyForm::kRet) {
    if (!self.refNumber_.empty()) builder.CreateElement(element, self.refNumber_);
    return;
  }
  // A number QuickBooks assigned is not sent back; one the client set (or emptied) is.
  if (self.refNumberSet_ && (!self.refNumber_.empty() || (flags & kChanged) != 0))
    builder.CreateElement(element, self.refNumber_);
}

}  // namespace brennock
