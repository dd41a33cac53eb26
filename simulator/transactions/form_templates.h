#pragma once

#include <string>
#include <string_view>

#include "simulator/store/company_db.h"

namespace brennock::simulator {

// The template a new form of a kind ("Invoice", "PurchaseOrder") gets when the request names
// none: the first of its kind, as QuickBooks picks its default. The stored reference value, or
// empty when the company has no template of the kind.
std::string DefaultTemplateRef(CompanyDb& company, std::string_view stem);

}  // namespace brennock::simulator
