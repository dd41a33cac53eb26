#pragma once

#include <memory>

#include "brennock/model/binding.h"

namespace brennock {

class ListCollectionCore;

// Accounts carry data extensions, whose classes live in the company layer: it provides the
// account record's bindings and the Accounts collection for the list registry's Account row.
const RecordBindings& AccountBindings();
std::shared_ptr<ListCollectionCore> NewAccounts();

}  // namespace brennock
