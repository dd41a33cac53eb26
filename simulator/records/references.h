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
// back with the record's full name of today (records get renamed). One instance serves one
// request document and caches the full names it looked up meanwhile.
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
  // Names may have changed (a record or its parent was renamed).
  void Forget() { full_names_.clear(); }

 private:
  CompanyDb& company_;
  std::unordered_map<std::string, std::string> full_names_;
};

}  // namespace brennock::simulator
