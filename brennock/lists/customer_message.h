#pragma once

#include "brennock/lists/named_list.h"

namespace brennock {

// A message printed on sales forms ("Thank you for your business."); the text is its Name.
// SetName stores a new text without any check and without changing the record's state.
class CustomerMessage final : public NamedListRecord {
 public:
  CustomerMessage();

 protected:
  // 1012 for an empty text, 2400 for a text of 102 or more characters.
  void CheckRules(qcErrors& errors) override;
};

class CustomerMessages final : public NamedListCollection<CustomerMessage> {
 public:
  CustomerMessages();
};

}  // namespace brennock
