#include "brennock/internal/model/field_limits.h"

#include "brennock/internal/qbxml/catalogue.h"
#include "brennock/internal/util/text.h"

namespace brennock {

bool TooLong(std::string_view value, std::string_view aggregate, std::string_view element) {
  const qbxml::Aggregate* shape = qbxml::FindAggregate(aggregate);
  const qbxml::Element* field = shape ? qbxml::FindElement(*shape, element) : nullptr;
  if (field == nullptr || field->maxLength == 0) return false;
  // Every character takes at least one byte: a short text needs no count.
  return value.size() > field->maxLength && Utf8Length(value) > field->maxLength;
}

}  // namespace brennock
