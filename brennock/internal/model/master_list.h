#pragma once

#include <memory>

#include "brennock/enums/object_enums.h"

namespace brennock {

class qcList;

// The master collection of a list in the company of this thread's session (through its Lists
// registry); null when no company is open, the list has no registered collection, or no lookup is
// registered. The company layer registers the lookup when the program starts, so list references
// resolve through it without depending on the company.
std::shared_ptr<qcList> MasterList(qoEnumListType list);

using MasterListLookup = std::shared_ptr<qcList> (*)(qoEnumListType list);
void RegisterMasterListLookup(MasterListLookup lookup) noexcept;

}  // namespace brennock
