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
class DeferredElement;

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
  const std::string& Addr3() const noexcept { return rare_ ? rare_->addr3 : detail::EmptyText(); }
  const std::string& Addr4() const noexcept { return rare_ ? rare_->addr4 : detail::EmptyText(); }
  const std::string& Addr5() const noexcept { return rare_ ? rare_->addr5 : detail::EmptyText(); }
  // The lines by the names records use (Line1 is Addr1 ...).
  const std::string& Line1() const noexcept { return Addr1(); }
  const std::string& Line2() const noexcept { return Addr2(); }
  const std::string& Line3() const noexcept { return Addr3(); }
  const std::string& Line4() const noexcept { return Addr4(); }
  const std::string& Line5() const noexcept { return Addr5(); }
  const std::string& City() const noexcept { return city_; }
  // The region: State, Province or County, whichever QuickBooks sent.
  const std::string& State() const noexcept { return state_; }
  const std::string& PostalCode() const noexcept { return postalCode_; }
  const std::string& Country() const noexcept { return country_; }
  const std::string& Note() const noexcept { return rare_ ? rare_->note : detail::EmptyText(); }

  // Each setter makes the address Dirty.
  void SetAddr1(std::string value) { Set(addr1_, std::move(value), kAddr1); }
  void SetAddr2(std::string value) { Set(addr2_, std::move(value), kAddr2); }
  void SetAddr3(std::string value) { Set(MutableRare().addr3, std::move(value), kAddr3); }
  void SetAddr4(std::string value) { Set(MutableRare().addr4, std::move(value), kAddr4); }
  void SetAddr5(std::string value) { Set(MutableRare().addr5, std::move(value), kAddr5); }
  void SetLine1(std::string value) { SetAddr1(std::move(value)); }
  void SetLine2(std::string value) { SetAddr2(std::move(value)); }
  void SetLine3(std::string value) { SetAddr3(std::move(value)); }
  void SetLine4(std::string value) { SetAddr4(std::move(value)); }
  void SetLine5(std::string value) { SetAddr5(std::move(value)); }
  void SetCity(std::string value) { Set(city_, std::move(value), kCity); }
  void SetState(std::string value) { Set(state_, std::move(value), kState); }
  void SetPostalCode(std::string value) { Set(postalCode_, std::move(value), kPostalCode); }
  void SetCountry(std::string value) { Set(country_, std::move(value), kCountry); }
  void SetNote(std::string value) { Set(MutableRare().note, std::move(value), kNote); }

  qoEnumObjectState ObjectState() const noexcept { return objectState_; }
  // The errors of the last Validate.
  std::shared_ptr<qcErrors> Errors();
  const Variant& UserData() const noexcept;
  void SetUserData(Variant value) { MutableRare().userData = std::move(value); }
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
  // The same for an address that is already empty (just made, or Reset as its owner is read
  // again): nothing to clear first.
  void FromDomEmpty(const FieldElement& aggregate);
  // The same for an address element kept as read (one that is not empty), which is let go.
  void FromKeptEmpty(DeferredElement& kept);
  // An owner's address element in a response: read into the address when there is one; else kept
  // as read until the address is first asked for (MadeFromKept), or, when it is not a plain
  // aggregate, read into a new address now. True when it was kept.
  static bool ReadOrKeep(std::shared_ptr<Address>& address, DeferredElement& kept,
                         const FieldElement& element);
  // The owner's address, made first from its kept element if there is one.
  static const std::shared_ptr<Address>& MadeFromKept(std::shared_ptr<Address>& address,
                                                      DeferredElement& kept);
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
  // A field's bit in changed_.
  enum FieldBit : uint8_t {
    kAddr1,
    kAddr2,
    kAddr3,
    kAddr4,
    kAddr5,
    kCity,
    kState,
    kPostalCode,
    kCountry,
    kNote
  };
  // What few addresses hold, in one block made on first use: most addresses have two lines, a
  // city, a region, a postal code and a country, and never an error list or UserData. An
  // address without it is 208 bytes instead of 392 to make, read and free.
  struct Rare {
    std::string addr3, addr4, addr5, note;
    std::shared_ptr<qcErrors> errors;  // created on first use
    Variant userData;
  };
  Rare& MutableRare();

  void Set(std::string& field, std::string value, FieldBit bit) {
    field = std::move(value);
    objectState_ = qoObjectStateDirty;
    changed_ |= static_cast<uint16_t>(1u << bit);
  }
  void WriteLines(RequestWriter& builder, bool shortForm, bool changedOnly) const;
  // A line to write into a Mod: one that holds text or that the client emptied.
  bool ModLine(const std::string& field, FieldBit bit) const {
    return !field.empty() || (changed_ & (1u << bit)) != 0;
  }

  std::string addr1_, addr2_, city_, state_, postalCode_, country_;
  std::unique_ptr<Rare> rare_;
  uint16_t changed_ = 0;  // the fields the client set since the address was read
  qoEnumObjectState objectState_ = qoObjectStateClean;
};

}  // namespace brennock
