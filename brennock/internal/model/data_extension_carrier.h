#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "brennock/enums/object_enums.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/field_table.h"
#include "brennock/model/qc_base.h"

namespace brennock {

class DataExtensions;

// The data-extension values a record carries: its custom fields (owner "0") and the registered
// application's fields. The values are checked against the company's definitions through the
// lookup the company layer registers (data_ext_definition_lookup.h). Both collections are created
// on first use, so a record that never has extension values costs one pointer.
class DataExtensionHolder {
 public:
  // The collections when they exist (or custom values were read for them), else null; never
  // creates an empty one.
  DataExtensions* CustomFieldsIfCreated();
  DataExtensions* ApplicationFieldsIfCreated() const noexcept;
  // Saves the values of either collection that hold changes not yet saved, for the record of
  // that ID; returns the number of errors filed.
  int32_t SavePendingValues(const std::string& ListOrTxnId, const std::string& TxnLineId = {});
  // Whether either collection holds values not yet saved.
  bool HasPendingValues() const noexcept;
  // Takes the other holder's collections when they hold values not yet saved: a line read anew
  // from QuickBooks' answer keeps what the client set on the line that was sent.
  void AdoptPendingValues(DataExtensionHolder& from) noexcept;

 protected:
  DataExtensionHolder() noexcept;
  ~DataExtensionHolder();
  DataExtensionHolder(const DataExtensionHolder&) = delete;
  DataExtensionHolder& operator=(const DataExtensionHolder&) = delete;

  // The collections of a record of that object type, created when first asked for. The
  // application collection takes the owner ID registered with the connection, also when the
  // registration comes after it was created.
  std::shared_ptr<DataExtensions> CustomFieldsOf(qoEnumListObjectType ownerType);
  std::shared_ptr<DataExtensions> ApplicationFieldsOf(qoEnumListObjectType ownerType);
  // Commits the custom fields, then the application fields (each only when created), both even
  // when the first raises; the first raised error is raised again afterwards. Returns the number
  // of errors of both.
  int32_t SaveDataExtensionsOf(const std::string& ListOrTxnId, const std::string& TxnLineId = {});
  // Files one DataExtRet element of the record's response into the collection of its owner.
  void ReadDataExtRetOf(const FieldElement& dataExtRet, qoEnumListObjectType ownerType);

 private:
  struct Collections;
  // The block, made when first asked for; custom values read and waiting in it are filed first.
  Collections& MutableCollections();
  void FileLoadedValues();
  // The custom fields, made when first asked for, without handing out a pointer.
  DataExtensions& CustomValues(qoEnumListObjectType ownerType);
  std::shared_ptr<Collections> collections_;
};

// The names of the QuickBooks custom-field definitions (owner "0") assigned to records of that
// object type, in the order of the company's CustomFields (read from QuickBooks on first use);
// empty without a company or when the definitions cannot be read. Asks the company layer's
// registered lookup; Customers, Items, the field readers and the database export share it.
std::vector<std::string> CustomFieldNamesOf(qoEnumListObjectType ownerType);

// What a record class inherits to carry extensions: Record is the class itself (a qcBase whose
// ObjectType() names its kind). Its field table adds DataExtFields(), so DataExtRet elements of
// its responses reach the shared parser.
template <class Record>
class DataExtensionCarrier : public DataExtensionHolder {
 public:
  std::shared_ptr<DataExtensions> CustomFields() { return CustomFieldsOf(Self().ObjectType()); }
  std::shared_ptr<DataExtensions> ApplicationFields() {
    return ApplicationFieldsOf(Self().ObjectType());
  }
  int32_t SaveDataExtensions(const std::string& ListOrTxnId) {
    return SaveDataExtensionsOf(ListOrTxnId);
  }

  // The binding row of a record's DataExtRet elements (read only: values are saved on their own).
  static constexpr Binding<qcBase> DataExtRow() {
    return {"DataExtRet", kInRet, &ReadDataExtRetField, nullptr};
  }
  // The same as a field-table entry, for classes that read through a table of their own.
  static constexpr std::array<FieldEntry, 1> DataExtFields() {
    return {{{DataExtRow().element, DataExtRow().read}}};
  }

 protected:
  DataExtensionCarrier() noexcept = default;
  ~DataExtensionCarrier() = default;

 private:
  const Record& Self() const noexcept { return static_cast<const Record&>(*this); }
  static void ReadDataExtRetField(qcBase& record, const FieldElement& element) {
    Record& self = static_cast<Record&>(record);
    self.ReadDataExtRetOf(element, self.ObjectType());
  }
};

}  // namespace brennock
