#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace brennock {

// One entry of an enumeration table: a code, its name in words and, where qbXML spells it
// differently, its qbXML text. Read-only to clients.
class qcEnumValue {
 public:
  virtual ~qcEnumValue() = default;

  virtual std::string XMLTag() const = 0;
  virtual int16_t Code() const = 0;
  virtual std::string Description() const = 0;
  // Description with every blank removed ("Sales Tax Code" gives "SalesTaxCode"); the entry's key
  // in its table.
  virtual std::string CollectionKey() const = 0;
};

// Text without its blanks: the key rule of enumeration tables and report descriptors.
std::string RemoveBlanks(std::string_view text);

}  // namespace brennock
