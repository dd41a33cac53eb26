#include "simulator/handlers/handler_table.h"

namespace brennock::simulator {

void HandlerTable::Add(std::string name, RequestHandler handler, bool writes) {
  entries_[std::move(name)] = {handler, writes};
}

const HandlerEntry* HandlerTable::Find(std::string_view name) const {
  auto it = entries_.find(std::string(name));
  return it == entries_.end() ? nullptr : &it->second;
}

const HandlerTable& DefaultHandlers() {
  static const HandlerTable table = [] {
    HandlerTable t;
    RegisterCompanyHandlers(t);
    RegisterListHandlers(t);
    RegisterDataExtHandlers(t);
    RegisterTxnHandlers(t);
    RegisterPayablesHandlers(t);
    RegisterDepositHandlers(t);
    RegisterEventHandlers(t);
    RegisterReportHandlers(t);
    return t;
  }();
  return table;
}

}  // namespace brennock::simulator
