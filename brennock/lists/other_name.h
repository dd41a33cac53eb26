#pragma once

#include <memory>
#include <string>

#include "brennock/internal/lists/entity_record.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/model/typed_list_collection.h"

namespace brennock {

// A name that is neither customer, vendor nor employee (an owner, a one-off payee). It carries the
// vendor's name and contact fields and application fields, but no custom fields, type, terms,
// balances or 1099 data.
class OtherName final : public EntityRecordCore, public DataExtensionCarrier<OtherName> {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeOtherName;
  OtherName() : EntityRecordCore(RegisteredKind<kObjectType>()) {}

  const std::string& CompanyName() const noexcept { return companyName_; }
  const std::string& Fax() const noexcept { return fax_; }
  const std::string& Contact() const noexcept { return contact_; }
  const std::string& AltContact() const noexcept { return altContact_; }
  void SetCompanyName(const std::string& value) { Change(companyName_, value, "CompanyName"); }
  void SetFax(const std::string& value) { Change(fax_, value, "Fax"); }
  void SetContact(const std::string& value) { Change(contact_, value, "Contact"); }
  void SetAltContact(const std::string& value) { Change(altContact_, value, "AltContact"); }

  static const RecordBindings& Bindings();

 protected:
  void CheckRules(qcErrors& errors) override;

 private:
  // QuickBooks' custom fields of other names are read (into their collection) but not offered.
  using DataExtensionCarrier<OtherName>::CustomFields;

  std::string companyName_, fax_, contact_, altContact_;
};

class OtherNames final : public TypedListCollection<OtherName> {
 public:
  OtherNames() : TypedListCollection<OtherName>(true) {}
  // Master collection only (else 1021).
  std::shared_ptr<OtherName> Add(const std::string& Name = {}, bool IsActive = true);
};

}  // namespace brennock
