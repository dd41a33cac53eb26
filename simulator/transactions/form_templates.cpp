#include "simulator/transactions/form_templates.h"

#include <unordered_map>

#include "simulator/lists/list_types.h"
#include "simulator/records/field_list.h"

namespace brennock::simulator {

std::string DefaultTemplateRef(CompanyDb& company, std::string_view stem) {
  struct ByStem : std::unordered_map<std::string, std::string> {};
  auto& known = company.facts().Get<ByStem>();
  if (auto hit = known.find(std::string(stem)); hit != known.end()) return hit->second;
  const ListType& templates = *FindListType("Template");
  const int type_index = templates.field_index("TemplateType");
  auto& st = company.db().Prepare(
      "SELECT list_id,full_name,body FROM list_records WHERE list_type='Template' ORDER BY id");
  FieldList fields;
  std::string found;
  while (st.Step()) {
    if (!DecodeFields(st.Text(2), fields) ||
        FieldAt(fields, static_cast<uint16_t>(type_index)) != stem)
      continue;
    found = std::string(st.Text(0)) + kRefSeparator + std::string(st.Text(1));
    break;
  }
  st.Reset();
  known.emplace(std::string(stem), found);
  return found;
}

}  // namespace brennock::simulator
