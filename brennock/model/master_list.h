#pragma once

#include <memory>

#include "brennock/enums/object_enums.h"

namespace brennock {

class qcList;

// The master collection of a list in the company of this thread's session (through its Lists
// registry); null when no company is open or the list has no registered collection. Provided by
// the company layer: list references resolve through it without depending on the company.
std::shared_ptr<qcList> MasterList(qoEnumListType list);

}  // namespace brennock
