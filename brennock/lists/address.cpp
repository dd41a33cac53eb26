#include "brennock/lists/address.h"

#include "brennock/errors/collected_errors.h"
#include "brennock/model/codecs.h"
#include "brennock/model/field_limits.h"
#include "brennock/qbxml/request_writer.h"
#include "brennock/util/text.h"

namespace brennock {

const BindingTable<Address>& Address::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet | kSkipEmpty;
  using T = codecs::Text;
  BRENNOCK_BINDINGS(Address, std::array{Bind<&Address::addr1_, T, Address>("Addr1", kAll),
                                        Bind<&Address::addr2_, T, Address>("Addr2", kAll),
                                        Bind<&Address::addr3_, T, Address>("Addr3", kAll),
                                        Bind<&Address::addr4_, T, Address>("Addr4", kAll),
                                        Bind<&Address::addr5_, T, Address>("Addr5", kAll),
                                        Bind<&Address::city_, T, Address>("City", kAll),
                                        Bind<&Address::state_, T, Address>("State", kAll),
                                        Bind<&Address::postalCode_, T, Address>("PostalCode", kAll),
                                        Bind<&Address::country_, T, Address>("Country", kAll),
                                        Bind<&Address::note_, T, Address>("Note", kAll)});
}

void Address::Clear() { *this = Address(); }

void Address::FromDom(const XmlNode& aggregate) {
  Clear();
  ReadFields<Address>(*this, aggregate, Bindings().Readers());
}

void Address::FromDom(const FieldElement& aggregate) {
  Clear();
  Bindings().Read(*this, aggregate);
}

void Address::WriteElements(RequestWriter& builder) const {
  Bindings().Write(*this, builder, BodyForm::kAdd);
}

void Address::WriteEmployeeElements(RequestWriter& builder) const {
  for (const Binding<Address>& row : Bindings().Rows()) {
    if (row.element == "Addr3" || row.element == "Addr4" || row.element == "Addr5" ||
        row.element == "Country")
      continue;
    row.write(*this, builder, row.element, row.flags, BodyForm::kAdd);
  }
}

bool Address::CheckLengths(qcErrors& errors, std::string_view fieldPrefix) {
  struct Limit {
    std::string Address::*field;
    size_t max;
    std::string_view label;
    std::string_view message;
  };
  static constexpr Limit kLimits[] = {
      {&Address::addr1_, 41, "Line1", kMsgAddressLineTooLong},
      {&Address::addr2_, 41, "Line2", kMsgAddressLineTooLong},
      {&Address::addr3_, 41, "Line3", kMsgAddressLineTooLong},
      {&Address::addr4_, 41, "Line4", kMsgAddressLineTooLong},
      {&Address::city_, 31, "City", kMsgAddressCityTooLong},
      {&Address::state_, 21, "State", kMsgAddressStateTooLong},
      {&Address::postalCode_, 13, "Postal Code", kMsgAddressPostalCodeTooLong},
      {&Address::country_, 31, "Country", kMsgAddressCountryTooLong},
  };
  bool fits = true;
  std::string field;
  for (const Limit& limit : kLimits) {
    std::string& value = this->*limit.field;
    // Lines pasted from a multi-line box keep the break that separated them.
    if (limit.label.starts_with("Line") && value.starts_with('\n')) value.erase(0, 1);
    if (Utf8Length(value) <= limit.max) continue;
    field.assign(fieldPrefix);
    field += ' ';
    field += limit.label;
    AddTableError(errors, errAddressTooLong, field, limit.message);
    fits = false;
  }
  return fits;
}

std::string_view Address::FirstTooLongField() const {
  return Bindings().FirstTooLong(*this, "Address");
}

}  // namespace brennock
