#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/xml/deferred_element.h"
#include "brennock/lists/address.h"

namespace brennock {

// What vendors, employees and other names share: the personal name, phones, e-mail, account
// number and an address, with the address's place among the record's rows.
class EntityRecordCore : public ListRecordCore {
 public:
  // Setters note the element they change: an employee's Mod carries only those.
  void SetName(const std::string& value) override { Change(name_, value, "Name"); }
  void SetIsActive(bool value) { Change(isActive_, value, "IsActive"); }
  const std::string& Salutation() const noexcept { return salutation_; }
  const std::string& FirstName() const noexcept { return firstName_; }
  const std::string& MiddleName() const noexcept { return middleName_; }
  const std::string& LastName() const noexcept { return lastName_; }
  const std::string& Phone() const noexcept { return phone_; }
  const std::string& AltPhone() const noexcept { return altPhone_; }
  const std::string& Email() const noexcept { return email_; }
  const std::string& AccountNumber() const noexcept { return accountNumber_; }
  void SetSalutation(const std::string& value) { Change(salutation_, value, "Salutation"); }
  void SetFirstName(const std::string& value) { Change(firstName_, value, "FirstName"); }
  void SetMiddleName(const std::string& value) { Change(middleName_, value, "MiddleName"); }
  void SetLastName(const std::string& value) { Change(lastName_, value, "LastName"); }
  void SetPhone(const std::string& value) { Change(phone_, value, "Phone"); }
  void SetAltPhone(const std::string& value) { Change(altPhone_, value, "AltPhone"); }
  void SetEmail(const std::string& value) { Change(email_, value, "Email"); }
  void SetAccountNumber(const std::string& value) {
    Change(accountNumber_, value, "AccountNumber");
  }

  // The record's address, filled in place by later reads. Changing it makes a saved record Dirty.
  std::shared_ptr<brennock::Address> Address() const;

 protected:
  explicit EntityRecordCore(const RecordKind& kind) noexcept : ListRecordCore(kind) {}

  // The address row under the record's element name: read in place; written only when it holds
  // something (an employee's without the fields its aggregate lacks). With kModAlways in flags a
  // Mod carries it only when it changed since it was read.
  static constexpr Binding<qcBase> AddressRow(std::string_view element, uint16_t flags) {
    return {element,        flags,   &ReadAddress,
            &WriteAddress,  nullptr, qbxml::ValueType::kAggregate,
            &AddressPending};
  }
  // The address is refilled from the answer: what it leaves out is empty.
  void BeforeRead() override;
  // 1201 "Address error" on field when the address breaks a length rule.
  void CheckAddress(qcErrors& errors, std::string_view field) const;
  // Copies the shared fields of another record of the same kind through the setters.
  void CopyEntity(const EntityRecordCore& from);

  std::string salutation_, firstName_, middleName_, lastName_;
  std::string phone_, altPhone_, email_, accountNumber_;

 private:
  static void ReadAddress(qcBase& record, const FieldElement& element);
  static void WriteAddress(const qcBase& record, RequestWriter& builder, std::string_view element,
                           uint16_t flags, BodyForm form);
  bool AddressChanged() const;
  // The address as made so far: made from the kept element first if there is one; null while
  // there is none.
  const std::shared_ptr<brennock::Address>& MadeAddress() const;
  // A saved record whose address the client changed is Dirty.
  static bool AddressPending(const qcBase& record);

  mutable std::shared_ptr<brennock::Address> address_;  // created on first use
  // The address as last read (0: empty); for a kept one, set when it is made.
  mutable uint64_t addressStamp_ = 0;
  // An address read while there was none is kept as its element until first asked for: most
  // names of a large load never have theirs looked at.
  mutable DeferredElement keptAddress_;
};

}  // namespace brennock
