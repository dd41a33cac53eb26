#include "brennock/internal/model/data_extension_carrier.h"

#include <exception>

#include "brennock/internal/model/data_ext_definition_lookup.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/model/data_extension.h"

namespace brennock {

// The custom fields live in the block itself: a record read with custom fields then costs one
// allocation for both, not three.
struct DataExtensionHolder::Collections {
  DataExtensions custom;  // in use once customMade
  bool customMade = false;
  std::shared_ptr<DataExtensions> application;
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

DataExtensions* DataExtensionHolder::CustomFieldsIfCreated() const noexcept {
  return collections_ && collections_->customMade ? &collections_->custom : nullptr;
}

DataExtensions* DataExtensionHolder::ApplicationFieldsIfCreated() const noexcept {
  return collections_ ? collections_->application.get() : nullptr;
}

DataExtensionHolder::Collections& DataExtensionHolder::MutableCollections() {
  if (!collections_) collections_ = MakeSlabShared<Collections>();
  return *collections_;
}

DataExtensions& DataExtensionHolder::CustomValues(qoEnumListObjectType ownerType) {
  Collections& collections = MutableCollections();
  if (!collections.customMade) {
    collections.custom.SetOwnerType(ownerType);
    collections.custom.SetOwnerId(std::string(kCustomFieldOwnerID));
    collections.customMade = true;
  }
  return collections.custom;
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
  auto pending = [](DataExtensions* values) {
    return values != nullptr && values->ObjectState() != qoObjectStateClean;
  };
  return pending(CustomFieldsIfCreated()) || pending(ApplicationFieldsIfCreated());
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
  CustomValues(ownerType).LoadRet(fields);
}

}  // namespace brennock
