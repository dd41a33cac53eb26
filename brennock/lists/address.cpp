#include "brennock/lists/address.h"

#include "brennock/model/codecs.h"
#include "brennock/model/field_limits.h"

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

std::string_view Address::FirstTooLongField() const {
  return Bindings().FirstTooLong(*this, "Address");
}

}  // namespace brennock
