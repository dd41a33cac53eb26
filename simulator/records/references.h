#pragma once

#include <optional>
#include <pugixml.hpp>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "simulator/lists/list_types.h"
#include "simulator/status_codes.h"
#include "simulator/store/company_db.h"

namespace brennock::simulator {

// References from any record (list record, transaction, line) to list records: resolving a
// request's ...Ref element to the stored "ListID<US>FullName" value, and writing a stored value
// back with the record's full name of today (records get renamed). The names it looked up are
// kept with the session's list facts, until a list record changes.
class References {
 public:
  explicit References(CompanyDb& company) : company_(company) {}

  // The stored value of a ...Ref element that must name a record of one of targets; kind is the
  // word the refusal uses for them ("Customer:Job") and owner the record the reference is in.
  // Refused with status 3140 when it names no such record.
  std::optional<std::string> Resolve(pugi::xml_node ref, std::span<const ListType* const> targets,
                                     std::string_view kind, std::string_view owner, Status& status);
  // The same for the lists the element may name by its name (ReferenceTargets); a reference to a
  // list the simulator does not keep is stored as given.
  std::optional<std::string> Resolve(pugi::xml_node ref, std::string_view owner, Status& status);

  // Writes <tag><ListID/><FullName/></tag> for a stored reference value.
  void Write(std::string& out, std::string_view tag, std::string_view stored);
  // Appends a stored aggregate with the references inside it named as their records are now.
  void AppendWithCurrentNames(std::string& out, std::string_view text);
  std::string CurrentFullName(std::string_view list_id, std::string_view fallback);

 private:
  // A record found by a reference: its ListID, list and full name as stored.
  struct Named {
    std::string list_id;
    const ListType* type = nullptr;
    std::string full_name;
  };
  struct Known {
    std::unordered_map<std::string, std::string> full_names;  // by ListID
    std::unordered_map<std::string, Named> by_id;
    std::unordered_map<std::string, Named> by_name;  // by name space, NUL, folded full name
  };
  Known& known() { return company_.facts().Get<Known>(); }

  CompanyDb& company_;
};

}  // namespace brennock::simulator
