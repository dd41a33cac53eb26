#include "brennock/internal/model/data_extension_carrier.h"

#include <exception>
#include <vector>

#include "brennock/internal/model/data_ext_definition_lookup.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/short_text.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/model/data_extension.h"

namespace brennock {

// Custom values read from a response wait in the block as their texts until the record's
// extensions are first looked at: most records of a large load never are, and filing a value makes
// an object of its own.
struct DataExtensionHolder::Collections {
  // A custom field's DataExtRet, checked and waiting to be filed (its owner ID is "0").
  struct LoadedValue {
    ShortText name, type, value;
  };

  std::unique_ptr<DataExtensions> custom;
  std::shared_ptr<DataExtensions> application;
  // The waiting values, in response order: the first in the block, any others after it.
  uint32_t loadedCount = 0;
  qoEnumListObjectType loadedOwnerType{};
  LoadedValue firstLoaded;
  std::vector<std::unique_ptr<LoadedValue>> moreLoaded;

  LoadedValue& NextLoaded() {
    if (loadedCount++ == 0) return firstLoaded;
    return *moreLoaded.emplace_back(std::make_unique<LoadedValue>());
  }
};

namespace {

const DataExtDefinitionLookup* registeredLookup = nullptr;

std::shared_ptr<DataExtensions> MakeValues(qoEnumListObjectType ownerType, std::string ownerID) {
  auto values = MakeSlabShared<DataExtensions>();
  values->SetOwnerType(ownerType);
  values->SetOwnerId(std::move(ownerID));
  return values;
}

}  // namespace

void RegisterDataExtDefinitionLookup(const DataExtDefinitionLookup* lookup) noexcept {
  registeredLookup = lookup;
}

const DataExtDefinitionLookup* RegisteredDataExtDefinitionLookup() noexcept {
  return registeredLookup;
}

std::vector<std::string> CustomFieldNamesOf(qoEnumListObjectType ownerType) {
  return registeredLookup ? registeredLookup->CustomFieldNames(ownerType)
                          : std::vector<std::string>();
}

DataExtensionHolder::DataExtensionHolder() noexcept = default;
DataExtensionHolder::~DataExtensionHolder() = default;

DataExtensions* DataExtensionHolder::CustomFieldsIfCreated() {
  if (!collections_) return nullptr;
  Collections& collections = MutableCollections();
  return collections.custom.get();
}

DataExtensions* DataExtensionHolder::ApplicationFieldsIfCreated() const noexcept {
  return collections_ ? collections_->application.get() : nullptr;
}

DataExtensionHolder::Collections& DataExtensionHolder::MutableCollections() {
  if (!collections_) collections_ = MakeSlabShared<Collections>();
  if (collections_->loadedCount != 0) FileLoadedValues();
  return *collections_;
}

void DataExtensionHolder::FileLoadedValues() {
  Collections& collections = *collections_;
  const uint32_t count = collections.loadedCount;
  collections.loadedCount = 0;
  DataExtensions& custom = CustomValues(collections.loadedOwnerType);
  for (uint32_t i = 0; i < count; ++i) {
    const Collections::LoadedValue& loaded =
        i == 0 ? collections.firstLoaded : *collections.moreLoaded[i - 1];
    DataExtension::RetFields fields;
    fields.ownerID = kCustomFieldOwnerID;
    fields.name = loaded.name;
    fields.type = loaded.type;
    fields.value = loaded.value;
    fields.hasType = fields.hasValue = true;
    custom.LoadRet(fields);
  }
  collections.moreLoaded.clear();
}

DataExtensions& DataExtensionHolder::CustomValues(qoEnumListObjectType ownerType) {
  Collections& collections = MutableCollections();
  if (!collections.custom) {
    collections.custom = std::make_unique<DataExtensions>();
    collections.custom->SetOwnerType(ownerType);
    collections.custom->SetOwnerId(std::string(kCustomFieldOwnerID));
  }
  return *collections.custom;
}

// Handed out sharing the block, which it keeps alive.
std::shared_ptr<DataExtensions> DataExtensionHolder::CustomFieldsOf(
    qoEnumListObjectType ownerType) {
  DataExtensions& custom = CustomValues(ownerType);
  return std::shared_ptr<DataExtensions>(collections_, &custom);
}

std::shared_ptr<DataExtensions> DataExtensionHolder::ApplicationFieldsOf(
    qoEnumListObjectType ownerType) {
  MutableCollections();
  const std::string& registered = Session().dataExtOwnerID;
  if (!collections_->application) {
    collections_->application = MakeValues(ownerType, registered);
  } else if (collections_->application->OwnerId().empty() && !registered.empty()) {
    collections_->application->SetOwnerId(registered);
  }
  return collections_->application;
}

int32_t DataExtensionHolder::SaveDataExtensionsOf(const std::string& ListOrTxnId,
                                                  const std::string& TxnLineId) {
  int32_t errors = 0;
  std::exception_ptr first;
  for (DataExtensions* values : {CustomFieldsIfCreated(), ApplicationFieldsIfCreated()}) {
    if (values == nullptr) continue;
    try {
      values->Commit(ListOrTxnId, TxnLineId);
    } catch (...) {
      if (!first) first = std::current_exception();
    }
    errors += values->Errors().Count();
  }
  if (first) std::rethrow_exception(first);
  return errors;
}

bool DataExtensionHolder::HasPendingValues() const noexcept {
  // Values waiting to be filed are as QuickBooks holds them: nothing to save.
  if (!collections_) return false;
  auto pending = [](const DataExtensions* values) {
    return values != nullptr && values->ObjectState() != qoObjectStateClean;
  };
  return pending(collections_->custom.get()) || pending(collections_->application.get());
}

void DataExtensionHolder::AdoptPendingValues(DataExtensionHolder& from) noexcept {
  if (from.HasPendingValues()) collections_ = std::move(from.collections_);
}

int32_t DataExtensionHolder::SavePendingValues(const std::string& ListOrTxnId,
                                               const std::string& TxnLineId) {
  if (!HasPendingValues()) return 0;
  return SaveDataExtensionsOf(ListOrTxnId, TxnLineId);
}

void DataExtensionHolder::ReadDataExtRetOf(const FieldElement& dataExtRet,
                                           qoEnumListObjectType ownerType) {
  DataExtension::RetFields fields;
  fields.Read(dataExtRet);
  if (!fields.hasValue) return;
  if (fields.ownerID != kCustomFieldOwnerID) {
    ApplicationFieldsOf(ownerType)->LoadRet(fields);
    return;
  }
  // A typed custom value waits as its texts until the custom fields are first looked at, unless
  // they already have been; a value that would not load raises now, as filing it would.
  const bool filed = collections_ && collections_->custom;
  if (filed || !fields.hasType) {
    CustomValues(ownerType).LoadRet(fields);
    return;
  }
  DataExtension::CheckRet(fields);
  if (!collections_) collections_ = MakeSlabShared<Collections>();
  Collections& collections = *collections_;
  if (collections.loadedCount == 0) collections.loadedOwnerType = ownerType;
  Collections::LoadedValue& loaded = collections.NextLoaded();
  loaded.name = fields.name;
  loaded.type = fields.type;
  loaded.value = fields.value;
}

}  // namespace brennock
