#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "simulator/store/company_db.h"

namespace brennock::simulator {

// Writes a DataExtRet per value the object (a ListID, TxnID or TxnLineID) has under each owner
// ("0" for the user's own custom fields), in the order the fields were defined.
void WriteDataExtensions(CompanyDb& company, std::string& out, std::string_view object_id,
                         const std::vector<std::string>& owner_ids);

}  // namespace brennock::simulator
