#pragma once

#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "simulator/lists/list_store.h"
#include "simulator/session.h"
#include "simulator/status_codes.h"

namespace brennock::simulator {

// Attributes a response carries after its status, when they apply.
struct ResponseExtras {
  std::optional<size_t> ret_count;
  std::optional<size_t> iterator_remaining;
  std::string iterator_id;
};

// Everything a request handler works with: the request element, the company, the session, and
// the response text being written.
struct RequestContext {
  pugi::xml_node request;
  Session& session;
  CompanyDb& company;
  ListStore& lists;
  std::string& out;

  // "CustomerQueryRq" -> "CustomerQueryRs"
  std::string ResponseName() const;
  // Opens the response element with its attributes in QuickBooks' order; with no body to follow
  // (empty_element) it closes it at once.
  void OpenResponse(const Status& status, const ResponseExtras& extras = {},
                    bool empty_element = false);
  void CloseResponse();
  // A response that carries only its status.
  Status Respond(const Status& status) {
    OpenResponse(status, {}, true);
    return status;
  }
};

// A handler answers one request element and returns the status it answered with.
using RequestHandler = Status (*)(RequestContext&);

}  // namespace brennock::simulator
