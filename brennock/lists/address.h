#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "brennock/model/binding.h"

namespace brennock {

class qcErrors;

// A postal address as qbXML writes it (the Address, BillAddress, ShipAddress, ... aggregates).
// Company and the entity records own theirs and fill them in place from responses, so an Address
// handed out earlier always shows the latest values. Field lengths are QuickBooks' limits from the
// qbXML catalogue (41 characters for Addr1..Addr5, 31 for City ...).
class Address {
 public:
  const std::string& Addr1() const noexcept { return addr1_; }
  const std::string& Addr2() const noexcept { return addr2_; }
  const std::string& Addr3() const noexcept { return addr3_; }
  const std::string& Addr4() const noexcept { return addr4_; }
  const std::string& Addr5() const noexcept { return addr5_; }
  const std::string& City() const noexcept { return city_; }
  const std::string& State() const noexcept { return state_; }
  const std::string& PostalCode() const noexcept { return postalCode_; }
  const std::string& Country() const noexcept { return country_; }
  const std::string& Note() const noexcept { return note_; }

  void SetAddr1(std::string value) { addr1_ = std::move(value); }
  void SetAddr2(std::string value) { addr2_ = std::move(value); }
  void SetAddr3(std::string value) { addr3_ = std::move(value); }
  void SetAddr4(std::string value) { addr4_ = std::move(value); }
  void SetAddr5(std::string value) { addr5_ = std::move(value); }
  void SetCity(std::string value) { city_ = std::move(value); }
  void SetState(std::string value) { state_ = std::move(value); }
  void SetPostalCode(std::string value) { postalCode_ = std::move(value); }
  void SetCountry(std::string value) { country_ = std::move(value); }
  void SetNote(std::string value) { note_ = std::move(value); }

  // Empties every field.
  void Clear();
  // Replaces every field with the children of an address aggregate; absent children become empty,
  // unknown ones are skipped.
  void FromDom(const XmlNode& aggregate);
  // The same for an element of a response being read (the company's addresses, in its one pass).
  void FromDom(const FieldElement& aggregate);
  // Writes the non-empty fields in qbXML order into the aggregate the caller has opened.
  void WriteElements(RequestWriter& builder) const;
  // The fields an employee's address takes (no Addr3..Addr5, no Country), in qbXML order.
  void WriteEmployeeElements(RequestWriter& builder) const;
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
  std::string addr1_, addr2_, addr3_, addr4_, addr5_;
  std::string city_, state_, postalCode_, country_, note_;
};

}  // namespace brennock
