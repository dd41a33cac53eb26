#pragma once

#include <functional>
#include <string>

#include "brennock/enums/txn_enums.h"
#include "brennock/values/variant.h"

namespace brennock {

// How a line object tells its owner about a change (an amount, a tax code question, a warning):
// the owner sets OnqoEvent, the line calls Raise. The parameter is passed by reference, as the
// automation event passes it: a listener answers a tax code question by emptying it.
class qcEventSink {
 public:
  // Fires OnqoEvent unless Disabled; returns an empty value.
  Variant Raise(qoEnumEventTypes EventId, std::string& EventParam);
  Variant Raise(qoEnumEventTypes EventId, const std::string& EventParam) {
    std::string param = EventParam;
    return Raise(EventId, param);
  }

  bool Disabled() const noexcept { return disabled_; }
  void SetDisabled(bool value) noexcept { disabled_ = value; }

  std::function<void(qoEnumEventTypes EventId, std::string& EventParam)> OnqoEvent;

 private:
  bool disabled_ = false;
};

}  // namespace brennock
