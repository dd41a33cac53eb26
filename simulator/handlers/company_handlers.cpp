// The host, company, preferences and company-activity queries. Company information and
// preferences are kept as settings keyed by their element path ("company.Address.City",
// "pref.AccountingPreferences.ClosingDate") and written in the order of the return aggregates.
#include <map>
#include <sstream>

#include "brennock/internal/qbxml/catalogue.h"
#include "simulator/handlers/handler_table.h"
#include "simulator/lists/field_values.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {
namespace {

using SettingMap = std::map<std::string, std::string, std::less<>>;

SettingMap LoadSettings(CompanyDb& company, std::string_view prefix) {
  SettingMap map;
  auto& st = company.db().Prepare("SELECT key,value FROM settings WHERE substr(key,1,?)=?");
  st.Bind(1, static_cast<int64_t>(prefix.size())).Bind(2, prefix);
  while (st.Step()) map.emplace(std::string(st.Text(0).substr(prefix.size())), st.Text(1));
  return map;
}

bool HasPrefix(const SettingMap& map, const std::string& prefix) {
  auto it = map.lower_bound(prefix);
  return it != map.end() && it->first.compare(0, prefix.size(), prefix) == 0;
}

// Writes the settings below path in the order of the catalogue's aggregate. A reference setting
// holds the full name of a record; the ListID is looked up when written.
void WriteSettings(RequestContext& ctx, const SettingMap& map, const qbxml::Aggregate& shape,
                   const std::string& path) {
  XmlWriter w(ctx.out);
  for (const auto& field : shape.elements) {
    std::string key = path + std::string(field.name);
    if (field.type == qbxml::ValueType::kAggregate) {
      if (field.name == "DataExtRet" || !HasPrefix(map, key + ".")) continue;
      w.Open(field.name);
      WriteSettings(ctx, map, *qbxml::Nested(field), key + ".");
      w.Close(field.name);
      continue;
    }
    auto it = map.find(key);
    if (it == map.end()) continue;
    if (field.type == qbxml::ValueType::kRef) {
      std::string stored;
      for (auto target : ReferenceTargets(field.name)) {
        if (auto r = ctx.lists.LoadByFullName(*target, it->second)) {
          stored = r->list_id;
          break;
        }
      }
      stored += kRefSeparator;
      stored += it->second;
      ctx.lists.WriteRef(ctx.out, field.name, stored);
    } else if (Repeats(field)) {
      std::istringstream values(it->second);  // repeated values are kept one per line
      for (std::string line; std::getline(values, line);) w.Element(field.name, line);
    } else {
      w.Element(field.name, it->second);
    }
  }
}

Status HostQuery(RequestContext& ctx) {
  SettingMap host = LoadSettings(ctx.company, "host.");
  ctx.OpenResponse({});
  XmlWriter w(ctx.out);
  w.Open("HostRet");
  w.Element("ProductName", host["ProductName"]);
  w.Element("MajorVersion", host["MajorVersion"]);
  w.Element("MinorVersion", host["MinorVersion"]);
  w.Element("Country", host["Country"]);
  std::istringstream versions(host["SupportedQBXMLVersion"]);
  for (std::string v; std::getline(versions, v);) w.Element("SupportedQBXMLVersion", v);
  w.Element("IsAutomaticLogin", "false");
  w.Element("QBFileMode",
            ctx.session.open_mode == qbOpenModeMultiUser ? "MultiUser" : "SingleUser");
  w.Close("HostRet");
  ctx.CloseResponse();
  return {};
}

void WriteDataExtValues(RequestContext& ctx, std::string_view object_id) {
  XmlWriter w(ctx.out);
  for (auto owner : ctx.request.children("OwnerID")) {
    auto& st = ctx.company.db().Prepare(
        "SELECT v.name, d.data_type, v.value FROM data_ext_values v JOIN data_ext_defs d ON "
        "d.owner_id=v.owner_id AND d.name=v.name WHERE v.object_id=? AND v.owner_id=? ORDER BY "
        "d.ext_id");
    std::string owner_id = owner.text().get();
    st.Bind(1, object_id).Bind(2, owner_id);
    while (st.Step()) {
      w.Open("DataExtRet");
      w.Element("OwnerID", owner_id);
      w.Element("DataExtName", st.Text(0));
      w.Element("DataExtType", st.Text(1));
      w.Element("DataExtValue", st.Text(2));
      w.Close("DataExtRet");
    }
  }
}

// Answers with one aggregate written from the settings stored under the prefix, followed by the
// company's data-extension values when asked.
Status AnswerFromSettings(RequestContext& ctx, const char* prefix, const char* ret,
                          bool with_company_data_ext = false) {
  SettingMap settings = LoadSettings(ctx.company, prefix);
  ctx.OpenResponse({});
  XmlWriter w(ctx.out);
  w.Open(ret);
  WriteSettings(ctx, settings, *qbxml::FindAggregate(ret), "");
  if (with_company_data_ext) WriteDataExtValues(ctx, "Company");
  w.Close(ret);
  ctx.CloseResponse();
  return {};
}

Status CompanyQuery(RequestContext& ctx) {
  return AnswerFromSettings(ctx, "company.", "CompanyRet", true);
}

Status PreferencesQuery(RequestContext& ctx) {
  return AnswerFromSettings(ctx, "pref.", "PreferencesRet");
}

Status CompanyActivityQuery(RequestContext& ctx) {
  return AnswerFromSettings(ctx, "activity.", "CompanyActivityRet");
}

}  // namespace

void RegisterCompanyHandlers(HandlerTable& table) {
  table.Add("HostQueryRq", HostQuery, false);
  table.Add("CompanyQueryRq", CompanyQuery, false);
  table.Add("PreferencesQueryRq", PreferencesQuery, false);
  table.Add("CompanyActivityQueryRq", CompanyActivityQuery, false);
}

}  // namespace brennock::simulator
