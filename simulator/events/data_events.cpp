#include "simulator/events/data_events.h"

#include <pugixml.hpp>

#include "brennock/internal/util/text.h"
#include "simulator/clock.h"
#include "simulator/events/event_document.h"
#include "simulator/events/event_kinds.h"
#include "simulator/events/event_queue.h"
#include "simulator/lists/field_values.h"

namespace brennock::simulator {
namespace {

std::string_view OperationName(RecordOperation operation) {
  switch (operation) {
    case RecordOperation::kAdd:
      return "Add";
    case RecordOperation::kModify:
    case RecordOperation::kVoid:  // QuickBooks reports a void as a change of the transaction
      return "Modify";
    case RecordOperation::kDelete:
      return "Delete";
    case RecordOperation::kMerge:
      return "Merge";
  }
  return {};
}

void RaiseCompanyFileEvent(CompanyDb& company, std::string_view operation) {
  Database& db = company.db();
  if (company.read_only()) return;
  if (InterestedSubscribers(db, "UI", "CompanyFile", "", operation).empty()) return;
  Transaction txn(db, true);
  const SimulatorTime now = Now();
  // Read again inside the transaction: another process may have changed the subscriptions.
  for (EventRecipient& recipient : InterestedSubscribers(db, "UI", "CompanyFile", "", operation))
    Enqueue(db, recipient, "UI", "", operation, now);
  txn.Commit();
}

}  // namespace

void RecordChanged(CompanyDb& company, std::string_view type, RecordOperation operation_kind,
                   std::string_view id, std::string_view ref_number, std::string_view merged_into) {
  const std::string_view family = EventFamily(type);
  if (family.empty()) return;
  const std::string_view operation = OperationName(operation_kind);
  if (operation == "Merge" && family != "List") return;
  Database& db = company.db();
  std::vector<EventRecipient> recipients =
      InterestedSubscribers(db, "Data", family, type, operation);
  if (recipients.empty()) return;
  const std::string body =
      DataEventBody(family, type, operation, id, family == "List" ? merged_into : ref_number);
  const SimulatorTime now = Now();
  for (EventRecipient& recipient : recipients) Enqueue(db, recipient, "Data", "", body, now);
}

void CompanyFileOpened(CompanyDb& company) { RaiseCompanyFileEvent(company, "Open"); }
void CompanyFileClosed(CompanyDb& company) { RaiseCompanyFileEvent(company, "Close"); }

int ChooseMenuItem(CompanyDb& company, std::string_view menu_path) {
  const size_t colon = menu_path.find(':');
  if (colon == std::string_view::npos) return 0;
  const std::string_view menu = Trim(menu_path.substr(0, colon));
  const std::string_view item = Trim(menu_path.substr(colon + 1));
  Database& db = company.db();
  if (!HasEventTables(db)) return 0;
  Transaction txn(db, true);
  // (subscriber, menu as stored, event tag) of every item the path names.
  struct Chosen {
    std::string subscriber_id, menu, tag;
  };
  std::vector<Chosen> chosen;
  auto& st = db.Prepare(
      "SELECT subscriber_id, menu, app_name, body FROM subscriptions WHERE kind = 'UIExtension'");
  while (st.Step()) {
    if (!AsciiEqualsIgnoreCase(st.Text(1), menu)) continue;
    const std::string app_name(st.Text(2));
    pugi::xml_document doc;
    if (!doc.load_buffer(st.Text(3).data(), st.Text(3).size())) continue;
    for (const pugi::xpath_node& found : doc.select_nodes("//MenuItem")) {
      const pugi::xml_node node = found.node();
      const std::string_view text = Trim(node.child("MenuText").text().get());
      const bool in_submenu = std::string_view(node.parent().name()) == "Submenu";
      // An item of a submenu also answers to "Application:Item", the way the submenu shows.
      const bool named = text == item || (in_submenu && item == app_name + ":" + std::string(text));
      if (named)
        chosen.push_back({std::string(st.Text(0)), std::string(st.Text(1)),
                          node.child("EventTag").text().get()});
    }
  }
  const SimulatorTime now = Now();
  for (const Chosen& c : chosen) {
    // A menu item is chosen while QuickBooks runs, which starts the application: delivered always.
    EventRecipient recipient = QueueOf(db, c.subscriber_id, true);
    Enqueue(db, recipient, "UIExtension", c.menu, c.tag, now);
  }
  txn.Commit();
  return static_cast<int>(chosen.size());
}

int ChooseMenuItem(const std::string& company_path, std::string_view menu_path) {
  CompanyDb company(company_path);
  return ChooseMenuItem(company, menu_path);
}

}  // namespace brennock::simulator
