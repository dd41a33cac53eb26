#include "brennock/lists/address.h"

#include "brennock/model/xml_node.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {

// One table of the fields drives reading, writing and checking.
#define BRENNOCK_ADDRESS_FIELDS(F)                                                          \
  F("Addr1", addr1_, 41)                                                                    \
  F("Addr2", addr2_, 41)                                                                    \
  F("Addr3", addr3_, 41) F("Addr4", addr4_, 41) F("Addr5", addr5_, 41) F("City", city_, 31) \
      F("State", state_, 21) F("PostalCode", postalCode_, 13) F("Country", country_, 31)    \
          F("Note", note_, 41)

void Address::Clear() {
#define BRENNOCK_CLEAR(name, member, limit) member.clear();
  BRENNOCK_ADDRESS_FIELDS(BRENNOCK_CLEAR)
#undef BRENNOCK_CLEAR
}

void Address::FromDom(const XmlNode& aggregate) {
  Clear();
  for (const XmlNode& child : aggregate.childNodes()) {
    std::string name = child.baseName();
#define BRENNOCK_READ(tag, member, limit) \
  if (name == tag) {                      \
    member = child.text();                \
    continue;                             \
  }
    BRENNOCK_ADDRESS_FIELDS(BRENNOCK_READ)
#undef BRENNOCK_READ
  }
}

void Address::WriteElements(xmlBldr& builder) const {
#define BRENNOCK_WRITE(tag, member, limit) \
  if (!member.empty()) builder.CreateElement(tag, member);
  BRENNOCK_ADDRESS_FIELDS(BRENNOCK_WRITE)
#undef BRENNOCK_WRITE
}

std::string_view Address::FirstTooLongField() const noexcept {
#define BRENNOCK_CHECK(tag, member, limit) \
  if (member.size() > limit) return tag;
  BRENNOCK_ADDRESS_FIELDS(BRENNOCK_CHECK)
#undef BRENNOCK_CHECK
  return {};
}

#undef BRENNOCK_ADDRESS_FIELDS

}  // namespace brennock
