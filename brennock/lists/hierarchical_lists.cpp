// The hierarchical simple lists: Class, CustomerType, JobType and VendorType share one record
// implementation and differ only in their kind.
#include "brennock/lists/hierarchical_lists.h"

namespace brennock {

const RecordBindings& HierarchicalListRecord::Bindings() {
  BRENNOCK_BINDINGS(qcBase, RetHeadRows(), HierarchyRows(), UserDataRow());
}

void HierarchicalListRecord::CheckRules(qcErrors& errors) {
  CheckName(errors);
  CheckParent(errors);
}

}  // namespace brennock
