#pragma once

#include <optional>
#include <string>
#include <vector>

#include "brennock/enums/list_enums.h"
#include "brennock/enums/object_enums.h"

namespace brennock {

// What the company's data-extension definitions tell a record's values about one name.
struct DataExtDefinitionFacts {
  qbEnumDataExtDataType dataType;
  bool assignedToOwner;  // assigned to the object type asked about
  bool assignedToItems;  // assigned to items in general (qoObjectTypeItem)
};

// The company's data-extension definitions as the records' values see them. The company layer,
// which holds and reads the definitions, registers the lookup when the program starts; without
// one no definition is known.
class DataExtDefinitionLookup {
 public:
  virtual ~DataExtDefinitionLookup() = default;
  // The definition of that name among the custom fields (custom) or the registered application's
  // fields of this thread's company; none without a company or such a definition.
  virtual std::optional<DataExtDefinitionFacts> Find(bool custom, const std::string& name,
                                                     qoEnumListObjectType ownerType) const = 0;
  // The names of the custom-field definitions assigned to records of that object type, in the
  // company's order; empty without a company or when the definitions cannot be read.
  virtual std::vector<std::string> CustomFieldNames(qoEnumListObjectType ownerType) const = 0;
};

// Registration is meant for start-up, before any thread reads or writes extension values.
void RegisterDataExtDefinitionLookup(const DataExtDefinitionLookup* lookup) noexcept;
const DataExtDefinitionLookup* RegisteredDataExtDefinitionLookup() noexcept;

}  // namespace brennock
