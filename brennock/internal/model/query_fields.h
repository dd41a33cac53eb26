#pragma once

#include <string_view>

#include "brennock/enums/company_enums.h"

namespace brennock {

// The response element a selectable field reads ("CompanyName" for qoFldCustCompanyName); empty
// for the fields taken from the record element's own name (item and entity type) and for unknown
// codes. The custom fields read DataExtRet.
std::string_view QueryFieldElement(qoFields field) noexcept;

}  // namespace brennock
