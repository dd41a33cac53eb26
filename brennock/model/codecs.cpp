#include "brennock/internal/model/codecs.h"

#include "brennock/enums/enumerations.h"
#include "brennock/enums/qc_enum.h"
#include "brennock/enums/qc_enum_value.h"

namespace brennock::codecs::detail {

int16_t CodeOfTag(qoEnumerationType table, std::string_view tag) {
  // A table's positions and codes differ where it skips codes, so the entry found gives the code.
  return ThreadEnumerations()->Item(table)->Item(EnumTextToCode(tag, table))->Code();
}

std::string TagOfCode(qoEnumerationType table, int16_t code) {
  return EnumCodeToXmlText(table, code);
}

}  // namespace brennock::codecs::detail
