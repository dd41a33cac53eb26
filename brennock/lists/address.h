#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "brennock/enums/object_enums.h"
#include "brennock/internal/model/binding.h"
#include "brennock/values/variant.h"

namespace brennock {

class qcErrors;

// A postal address as qbXML writes it (the Address, BillAddress, ShipAddress, ... aggregates).
// Company and the entity records own theirs and fill them in place from responses, so an Address
// handed out earlier always shows the latest values. Field lengths are QuickBooks' limits from the
// qbXML catalogue (41 characters for Addr1..Addr5, 31 for City ...).
//
// A record's address has a state of its own: Clean when untouched or as QuickBooks last sent it,
// Dirty once a setter changed it. Records write it into Add and Mod requests only when Dirty.
class Address {
 public:
  Address();
  ~Address();
  Address(const Address& other);
  Address& operator=(const Address& other);

  const std::string& Addr1() const noexcept { return addr1_; }
  const std::string& Addr2() const noexcept { return addr2_; }
  const std::string& Addr3() const noexcept { return addr3_; }
  const std::string& Addr4() const noexcept { return addr4_; }
  const std::string& Addr5() const noexcept { return addr5_; }
  // The lines by the names records use (Line1 is Addr1 ...).
  const std::string& Line1() const noexcept { return addr1_; }
  const std::string& Line2() const noexcept { return addr2_; }
  const std::string& Line3() const noexcept { return addr3_; }
  const std::string& Line4() const noexcept { return addr4_; }
  const std::string& Line5() const noexcept { return addr5_; }
  const std::string& City() const noexcept { return city_; }
  // The region: State, Province or County, whichever QuickBooks sent.
  const std::string& State() const noexcept { return state_; }
  const std::string& PostalCode() const noexcept { return postalCode_; }
  const std::string& Country() const noexcept { return country_; }
  const std::string& Note() const noexcept { return note_; }

  // Each setter makes the address Dirty.
  void SetAddr1(std::string value) { Set(addr1_, std::move(value)); }
  void SetAddr2(std::string value) { Set(addr2_, std::move(value)); }
  void SetAddr3(std::string value) { Set(addr3_, std::move(value)); }
  void SetAddr4(std::string value) { Set(addr4_, std::move(value)); }
  void SetAddr5(std::string value) { Set(addr5_, std::move(value)); }
  void SetLine1(std::string value) { Set(addr1_, std::move(value)); }
  void SetLine2(std::string value) { Set(addr2_, std::move(value)); }
  void SetLine3(std::string value) { Set(addr3_, std::move(value)); }
  void SetLine4(std::string value) { Set(addr4_, std::move(value)); }
  void SetLine5(std::string value) { Set(addr5_, std::move(value)); }
  void SetCity(std::string value) { Set(city_, std::move(value)); }
  void SetState(std::string value) { Set(state_, std::move(value)); }
  void SetPostalCode(std::string value) { Set(postalCode_, std::move(value)); }
  void SetCountry(std::string value) { Set(country_, std::move(value)); }
  void SetNote(std::string value) { Set(note_, std::move(value)); }

  qoEnumObjectState ObjectState() const noexcept { return objectState_; }
  // The errors of the last Validate.
  std::shared_ptr<qcErrors> Errors();
  const Variant& UserData() const noexcept { return userData_; }
  void SetUserData(Variant value) { userData_ = std::move(value); }
  // True when every field is empty.
  bool IsEmpty() const noexcept;
  // On an address that is not Clean: drops a line feed leading Line1..Line4, then 1202 for each
  // field longer than QuickBooks takes (lines 41, city 31, state 21, postal code 13, country 31).
  bool Validate();
  // Takes every field of another address; the address becomes Dirty.
  void CopyAddress(const Address& from);

  // Empties every field.
  void Clear();
  // Replaces every field with the children of an address aggregate; absent children become empty,
  // unknown ones are skipped. State, Province and County all fill State. The address is Clean.
  void FromDom(const XmlNode& aggregate);
  // Library-internal: empties the address as its owner is read again (Clean, as QuickBooks sent
  // none).
  void Reset() {
    Clear();
    objectState_ = qoObjectStateClean;
    changed_ = 0;
  }
  // The same for an element of a response being read (the company's addresses, in its one pass).
  void FromDom(const FieldElement& aggregate);
  // Writes the non-empty fields in qbXML order into the aggregate the caller has opened.
  void WriteElements(RequestWriter& builder) const;
  // A customer's address in its Add or Mod request: every line, empty ones too, the region under
  // the session edition's name (State, Province or County); an employee's address (shortForm)
  // has no Addr3..Addr5 and no Country.
  void WriteRecordElements(RequestWriter& builder, bool shortForm) const;
  // The same with only the lines that hold text or that the client emptied (written empty, so
  // QuickBooks clears them): a changed address of a vendor, employee or other name in a Mod.
  void WriteChangedLines(RequestWriter& builder, bool shortForm) const;
  // A vendor's, other name's or employee's address in its Add or Mod request: the non-empty
  // fields in qbXML order, the region under the session edition's name (State, Province or
  // County); an employee's address (shortForm) has no Addr3..Addr5 and no Country.
  void WriteEntityElements(RequestWriter& builder, bool shortForm) const;
  // Whether any line an employee's address aggregate has holds text.
  bool HasEmployeeElements() const;
  // Element name of the first field longer than QuickBooks allows; empty when all fit.
  std::string_view FirstTooLongField() const;
  // The entity records' address rules: a leading line feed is dropped from Addr1..Addr4, then
  // each line of 42 or more characters, a City over 31, a State over 21, a PostalCode over 13 and
  // a Country over 31 characters adds 1202 with its own text, on the field fieldPrefix, a blank
  // and the field's label ("Address City"). Answers whether all fit.
  bool CheckLengths(qcErrors& errors, std::string_view fieldPrefix);

  // One row per field, in qbXML order: reading, writing and checking all walk them.
  static const BindingTable<Address>& Bindings();

 private:
  void Set(std::string& field, std::string value) {
    field = std::move(value);
    objectState_ = qoObjectStateDirty;
    changed_ |= static_cast<uint16_t>(1u << (&field - &addr1_));
  }
  void WriteLines(RequestWriter& builder, bool shortForm, bool changedOnly) const;
  // A line to write into a Mod: one that holds text or that the client emptied.
  bool ModLine(const std::string& field) const {
    return !field.empty() || (changed_ & (1u << (&field - &addr1_))) != 0;
  }

  // One array in memory, in this order: a line's bit in changed_ is its place.
  std::string addr1_, addr2_, addr3_, addr4_, addr5_;
  std::string city_, state_, postalCode_, country_, note_;
  uint16_t changed_ = 0;              // the lines the client set since the address was read
  std::shared_ptr<qcErrors> errors_;  // created on first use
  Variant userData_;
  qoEnumObjectState objectState_ = qoObjectStateClean;
};

}  // namespace brennock
