#pragma once

#include "brennock/lists/named_list.h"

namespace brennock {

// A message printed on sales forms ("Thank you for your business."); the text is its Name.
// SetName stores a new text without any check and without changing the record's state.
// 1012 for an empty text, 2400 for a text of 102 or more characters.
BRENNOCK_NAMED_LIST(CustomerMessage, CustomerMessages, qoObjectTypeCustomerMsg,
                    void CheckRules(qcErrors& errors) override;);

}  // namespace brennock
