#include "simulator/request_context.h"

#include "simulator/xml_writer.h"

namespace brennock::simulator {

std::string RequestContext::ResponseName() const {
  std::string name = request.name();
  if (name.size() > 2 && name.compare(name.size() - 2, 2, "Rq") == 0) name.back() = 's';
  return name;
}

void RequestContext::OpenResponse(const Status& status, const ResponseExtras& extras,
                                  bool empty_element) {
  XmlWriter w(out);
  w.OpenWithAttributes(ResponseName());
  if (auto id = request.attribute("requestID")) w.Attribute("requestID", id.value());
  w.Attribute("statusCode", std::to_string(status.code));
  w.Attribute("statusSeverity", status.severity);
  w.Attribute("statusMessage", status.message);
  if (extras.ret_count) w.Attribute("retCount", std::to_string(*extras.ret_count));
  if (extras.iterator_remaining)
    w.Attribute("iteratorRemainingCount", std::to_string(*extras.iterator_remaining));
  if (!extras.iterator_id.empty()) w.Attribute("iteratorID", extras.iterator_id);
  if (empty_element)
    w.Raw(" />\n");
  else
    w.EndAttributes();
}

void RequestContext::CloseResponse() { XmlWriter(out).Close(ResponseName()); }

}  // namespace brennock::simulator
