#include "cli/app/simple_lists.h"

#include <array>

#include "brennock/company/company.h"
#include "brennock/lists/class.h"
#include "brennock/lists/customer_message.h"
#include "brennock/lists/customer_type.h"
#include "brennock/lists/job_type.h"
#include "brennock/lists/payment_method.h"
#include "brennock/lists/ship_method.h"
#include "brennock/lists/vendor_type.h"
#include "cli/qbxml/list_types.h"

namespace brennock::cli {
namespace {

template <auto Member>
std::shared_ptr<ListCollectionCore> CollectionOf(Company& company) {
  return (company.*Member)();
}

template <auto Member>
std::shared_ptr<qcListObject> AddHierarchical(Company& company, const std::string& name,
                                              bool active, const std::string& parent) {
  return (company.*Member)()->Add(name, active, parent);
}

template <auto Member>
std::shared_ptr<qcListObject> AddNamed(Company& company, const std::string& name, bool active,
                                       const std::string&) {
  return (company.*Member)()->Add(name, active);
}

constexpr std::array<SimpleList, 7> kSimpleLists = {{
    {"class", "class", true, CollectionOf<&Company::Classes>, AddHierarchical<&Company::Classes>},
    {"customermsg", "customer message", false, CollectionOf<&Company::CustomerMessages>,
     AddNamed<&Company::CustomerMessages>},
    {"customertype", "customer type", true, CollectionOf<&Company::CustomerTypes>,
     AddHierarchical<&Company::CustomerTypes>},
    {"jobtype", "job type", true, CollectionOf<&Company::JobTypes>,
     AddHierarchical<&Company::JobTypes>},
    {"paymentmethod", "payment method", false, CollectionOf<&Company::PaymentMethods>,
     AddNamed<&Company::PaymentMethods>},
    {"shipmethod", "ship method", false, CollectionOf<&Company::ShipMethods>,
     AddNamed<&Company::ShipMethods>},
    {"vendortype", "vendor type", true, CollectionOf<&Company::VendorTypes>,
     AddHierarchical<&Company::VendorTypes>},
}};

}  // namespace

std::span<const SimpleList> SimpleLists() { return kSimpleLists; }

const SimpleList* FindSimpleList(std::string_view name) {
  // The same spellings `list` accepts.
  const ListTypeInfo* type = FindListType(name);
  if (!type) return nullptr;
  for (const auto& list : kSimpleLists)
    if (list.name == type->name) return &list;
  return nullptr;
}

std::string SimpleListNames() {
  std::string names;
  for (const auto& list : kSimpleLists) {
    if (!names.empty()) names += ", ";
    names += list.name;
  }
  return names;
}

}  // namespace brennock::cli
