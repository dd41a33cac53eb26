#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "simulator/request_context.h"

namespace brennock::simulator {

struct HandlerEntry {
  RequestHandler handler;
  bool writes;  // refused in a read-only session
};

// The requests the simulator answers, by request element name. Each request family registers its
// handlers from its own file.
class HandlerTable {
 public:
  void Add(std::string name, RequestHandler handler, bool writes);
  const HandlerEntry* Find(std::string_view name) const;

 private:
  std::unordered_map<std::string, HandlerEntry> entries_;
};

const HandlerTable& DefaultHandlers();

void RegisterCompanyHandlers(HandlerTable& table);
void RegisterListHandlers(HandlerTable& table);
void RegisterDataExtHandlers(HandlerTable& table);
void RegisterTxnHandlers(HandlerTable& table);
void RegisterPayablesHandlers(HandlerTable& table);
void RegisterDepositHandlers(HandlerTable& table);
void RegisterEventHandlers(HandlerTable& table);   // simulator/events/
void RegisterReportHandlers(HandlerTable& table);  // simulator/reports/

}  // namespace brennock::simulator
