#include "brennock/model/qc_event_sink.h"

namespace brennock {

Variant qcEventSink::Raise(qoEnumEventTypes EventId, std::string& EventParam) {
  if (!disabled_ && OnqoEvent) OnqoEvent(EventId, EventParam);
  return {};
}

}  // namespace brennock
