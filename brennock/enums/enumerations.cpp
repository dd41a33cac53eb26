#include "brennock/enums/enumerations.h"

#include <utility>

#include "brennock/enums/enum_value.h"
#include "brennock/enums/report_catalogue.h"
#include "brennock/internal/enums/enum_table_data.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/errors/value_errors.h"

namespace brennock {

namespace {

constexpr const char* kSource = "Enumerations";

std::shared_ptr<QCEnum> MakeTable(std::span<const EnumEntryData> entries) {
  auto table = std::make_shared<QCEnum>();
  table->Reserve(entries.size());
  for (const EnumEntryData& e : entries) {
    table->AddObject(
        std::make_shared<EnumValue>(e.code, std::string(e.description), std::string(e.tag)));
  }
  return table;
}

}  // namespace

void Enumerations::AddObject(std::shared_ptr<QCEnum> NewObject, const std::string& Key) {
  if (!NewObject) RaiseInvalidArgument();
  for (const std::string& k : keys_) {
    if (CollectionKeysEqual(k, Key)) RaiseDuplicateCollectionKey(kSource);
  }
  keys_.push_back(Key);
  tables_.push_back(std::move(NewObject));
}

std::shared_ptr<QCEnum> Enumerations::Item(qoEnumerationType EnumCode) const {
  return Item(static_cast<int32_t>(EnumCode));
}

std::shared_ptr<QCEnum> Enumerations::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange(kSource);
  return tables_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<QCEnum> Enumerations::Item(std::string_view key) const {
  for (size_t i = 0; i < keys_.size(); ++i) {
    if (CollectionKeysEqual(keys_[i], key)) return tables_[i];
  }
  RaiseUnknownCollectionKey(kSource);
}

QCEnum* Enumerations::Find(int32_t index) const noexcept {
  if (index < 1 || index > Count()) return nullptr;
  return tables_[static_cast<size_t>(index - 1)].get();
}

void BuildEnumerationTables(Enumerations& registry) {
  if (registry.Count() != 0) return;
  for (const EnumTableData& t : RegisteredEnumTables()) {
    auto table = MakeTable(t.entries);
    if (t.type == qoeReport) FillReportTable(*table);
    registry.AddObject(std::move(table), std::string(t.key));
  }
}

std::shared_ptr<Enumerations> ThreadEnumerations() {
  thread_local std::shared_ptr<Enumerations> registry;
  if (!registry) {
    auto built = std::make_shared<Enumerations>();
    BuildEnumerationTables(*built);
    registry = std::move(built);  // only a complete set becomes visible
  }
  return registry;
}

std::shared_ptr<QCEnum> TermsKindTable() {
  thread_local std::shared_ptr<QCEnum> table = MakeTable(TermsKindEntries());
  return table;
}

std::shared_ptr<QCEnum> DoneStatusTable() {
  thread_local std::shared_ptr<QCEnum> table = MakeTable(DoneStatusEntries());
  return table;
}

std::string EnumCodeToText(qoEnumerationType EnumCode, int16_t value) {
  return ThreadEnumerations()->Item(EnumCode)->ItemByCode(value)->Description();
}

int32_t EnumTextToCode(std::string_view text, qoEnumerationType EnumCode) {
  int32_t position = ThreadEnumerations()->Item(EnumCode)->PositionOfXmlText(text);
  if (position == 0) RaiseLibraryError(errInvalidEnumString);
  return position;
}

std::string EnumCodeToXmlText(qoEnumerationType EnumCode, int16_t value) {
  return ThreadEnumerations()->Item(EnumCode)->XmlTextOfCode(value);
}

}  // namespace brennock
