#include "brennock/internal/model/master_list.h"

namespace brennock {
namespace {

MasterListLookup registeredLookup = nullptr;

}  // namespace

void RegisterMasterListLookup(MasterListLookup lookup) noexcept { registeredLookup = lookup; }

std::shared_ptr<qcList> MasterList(qoEnumListType list) {
  return registeredLookup ? registeredLookup(list) : nullptr;
}

}  // namespace brennock
