#pragma once

#include <memory>
#include <string>

#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"

namespace brennock {

// A sales representative: initials that appear on sales forms, standing for an employee, a vendor
// or an other name (the entity). The initials are the record's key (its Name and FullName).
class SalesRep final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeSalesRep;
  SalesRep() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  const std::string& Initial() const noexcept { return name_; }
  // Full name of the employee, vendor or other name behind the rep.
  std::string Entity() const { return entity_.FullName(); }
  // Add-only: on a saved record raises 1002 and keeps the old value.
  void SetEntity(const std::string& value);

  static const RecordBindings& Bindings();

 protected:
  // 2200 for initials above 5 characters; 2202 without an entity, else 2201 for an entity name of
  // 32 or more characters; then 2204 when QuickBooks knows no such entity and 2203 when it is a
  // customer.
  void CheckRules(qcErrors& errors) override;

 private:
  qcListObjectRef entity_{qoListEntities, {}};
};

class SalesReps final : public TypedListCollection<SalesRep> {
 public:
  // Master collection only (else 1021).
  std::shared_ptr<SalesRep> Add(const std::string& Initial = {}, bool IsActive = true,
                                const std::string& EntityFullName = {}) {
    return AddMember(Initial, IsActive, {}, [&](SalesRep& r) { r.SetEntity(EntityFullName); });
  }
};

}  // namespace brennock
