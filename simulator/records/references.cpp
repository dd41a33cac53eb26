#include "simulator/records/references.h"

#include <algorithm>

#include "simulator/lists/field_values.h"
#include "simulator/records/field_list.h"
#include "simulator/xml_writer.h"

namespace brennock::simulator {

std::optional<std::string> References::Resolve(pugi::xml_node ref,
                                               std::span<const ListType* const> targets,
                                               std::string_view kind, std::string_view owner,
                                               Status& status) {
  std::string id(Trim(ref.child("ListID").text().get()));
  std::string full_name(Trim(ref.child("FullName").text().get()));
  if (targets.empty()) return id + kRefSeparator + full_name;  // a list the simulator lacks
  Known& cache = known();
  // Names compare as SQLite's NOCASE does: ASCII letters only.
  std::string name_key;
  if (!id.empty()) {
    if (auto hit = cache.by_id.find(id); hit != cache.by_id.end()) {
      if (std::find(targets.begin(), targets.end(), hit->second.type) != targets.end())
        return hit->second.list_id + kRefSeparator + hit->second.full_name;
    }
  } else if (!full_name.empty()) {
    name_key.reserve(targets.front()->name_space.size() + 1 + full_name.size());
    name_key.append(targets.front()->name_space).push_back('\0');
    for (char c : full_name) name_key.push_back(c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c);
    if (auto hit = cache.by_name.find(name_key); hit != cache.by_name.end()) {
      if (std::find(targets.begin(), targets.end(), hit->second.type) != targets.end())
        return hit->second.list_id + kRefSeparator + hit->second.full_name;
    }
  }
  Statement* st = nullptr;
  if (!id.empty()) {
    st = &company_.db().Prepare(
        "SELECT list_id,list_type,full_name FROM list_records "
        "WHERE list_id=?");
    st->Bind(1, id);
  } else if (!full_name.empty()) {
    st = &company_.db().Prepare(
        "SELECT list_id,list_type,full_name FROM list_records WHERE name_space=? AND "
        "full_name=? COLLATE NOCASE");
    st->Bind(1, targets.front()->name_space).Bind(2, full_name);
  }
  if (st && st->Step()) {
    const ListType* type = FindListType(st->Text(1));
    if (std::find(targets.begin(), targets.end(), type) != targets.end()) {
      std::string found_id(st->Text(0)), found_name(st->Text(2));
      st->Reset();
      cache.full_names[found_id] = found_name;
      Named named{found_id, type, found_name};
      if (name_key.empty())
        cache.by_id[found_id] = std::move(named);
      else
        cache.by_name[name_key] = std::move(named);
      return found_id + kRefSeparator + found_name;
    }
    st->Reset();
  }
  status = MakeStatus(kInvalidReference, {kind, id.empty() ? full_name : id, owner});
  return std::nullopt;
}

std::optional<std::string> References::Resolve(pugi::xml_node ref, std::string_view owner,
                                               Status& status) {
  std::string_view name = ref.name();
  return Resolve(ref, ReferenceTargets(name), ReferenceKindName(name), owner, status);
}

std::string References::CurrentFullName(std::string_view list_id, std::string_view fallback) {
  if (list_id.empty()) return std::string(fallback);
  Known& cache = known();
  auto it = cache.full_names.find(std::string(list_id));
  if (it != cache.full_names.end()) return it->second;
  auto& st = company_.db().Prepare("SELECT full_name FROM list_records WHERE list_id=?");
  st.Bind(1, list_id);
  std::string name = st.Step() ? std::string(st.Text(0)) : std::string(fallback);
  st.Reset();
  cache.full_names.emplace(std::string(list_id), name);
  return name;
}

void References::Write(std::string& out, std::string_view tag, std::string_view stored) {
  std::string_view id = RefId(stored);
  XmlWriter w(out);
  w.Open(tag);
  if (!id.empty()) w.Element("ListID", id);
  std::string name = CurrentFullName(id, RefName(stored));
  if (!name.empty()) w.Element("FullName", name);
  w.Close(tag);
}

void References::AppendWithCurrentNames(std::string& out, std::string_view text) {
  static constexpr std::string_view kIdOpen = "<ListID>", kIdClose = "</ListID>",
                                    kNameOpen = "<FullName>", kNameClose = "</FullName>";
  size_t copied = 0;
  for (size_t at = text.find(kIdOpen); at != std::string_view::npos; at = text.find(kIdOpen, at)) {
    size_t id_start = at + kIdOpen.size();
    size_t id_end = text.find(kIdClose, id_start);
    if (id_end == std::string_view::npos) break;
    size_t name_at = id_end + kIdClose.size();
    while (name_at < text.size() && (text[name_at] == '\n' || text[name_at] == ' ')) ++name_at;
    at = name_at;
    // Only a reference has its FullName right after its ListID (contacts have times there).
    if (text.compare(name_at, kNameOpen.size(), kNameOpen) != 0) continue;
    size_t name_end = text.find(kNameClose, name_at);
    if (name_end == std::string_view::npos) break;
    std::string current = CurrentFullName(text.substr(id_start, id_end - id_start), {});
    if (current.empty()) continue;  // the record is gone: the stored name stays
    out.append(text.substr(copied, name_at - copied));
    XmlWriter(out).Element("FullName", current);
    copied = name_end + kNameClose.size();
    at = copied;
  }
  out.append(text.substr(copied));
}

}  // namespace brennock::simulator
