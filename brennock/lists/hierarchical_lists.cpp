// The hierarchical simple lists: Class, CustomerType, JobType and VendorType share one record
// implementation and differ only in their kind.
#include "brennock/lists/class.h"
#include "brennock/lists/customer_type.h"
#include "brennock/lists/job_type.h"
#include "brennock/lists/vendor_type.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"

namespace brennock {
namespace {

constexpr std::string_view kNoModify = "XMLModify not allowed";

constexpr ListRecordKind kClassKind{qoObjectTypeClass,
                                    qoListClasses,
                                    "Class",
                                    "Class",
                                    kNoModify,
                                    true,
                                    &HierarchicalListRecord::Fields};
constexpr ListRecordKind kCustomerTypeKind{qoObjectTypeCustomerType,
                                           qoListCustomerTypes,
                                           "CustomerType",
                                           "CustomerType",
                                           kNoModify,
                                           true,
                                           &HierarchicalListRecord::Fields};
constexpr ListRecordKind kJobTypeKind{qoObjectTypeJobType,
                                      qoListJobTypes,
                                      "JobType",
                                      "JobType",
                                      kNoModify,
                                      true,
                                      &HierarchicalListRecord::Fields};
constexpr ListRecordKind kVendorTypeKind{
    qoObjectTypeVendorType,         qoListVendorTypes, "VendorType", "VendorType", kNoModify, true,
    &HierarchicalListRecord::Fields};

}  // namespace

const FieldTable& HierarchicalListRecord::Fields() {
  static constexpr auto kEntries = SortedFields(IdentityFields(), HierarchyFields());
  static constexpr FieldTable kTable(kEntries);
  return kTable;
}

int32_t HierarchicalListRecord::XMLInsert(xmlBldr& cxmlbldr) {
  WriteNameAndActive(cxmlbldr, false);
  WriteParentRef(cxmlbldr);
  return 0;
}

int32_t HierarchicalListRecord::XMLQueryRs(xmlBldr& cxmlbldr) {
  WriteRetIdentity(cxmlbldr);
  cxmlbldr.CreateElement("Name", name_);
  cxmlbldr.CreateElement("FullName", StoredFullName());
  cxmlbldr.CreateElement("IsActive", ModConvertDtypes::BoolToResponseText(isActive_));
  WriteParentRef(cxmlbldr);
  cxmlbldr.CreateElement("Sublevel", ModConvertDtypes::IntegerToText(sublevel_));
  WriteRetUserData(cxmlbldr);
  return 0;
}

void HierarchicalListRecord::CheckRules(qcErrors& errors) {
  CheckName(errors);
  CheckParent(errors);
}

Class::Class() : HierarchicalListRecord(kClassKind) {}
Classes::Classes() : HierarchicalListCollection<Class>(kClassKind, &MakeListRecord<Class>) {}

CustomerType::CustomerType() : HierarchicalListRecord(kCustomerTypeKind) {}
CustomerTypes::CustomerTypes()
    : HierarchicalListCollection<CustomerType>(kCustomerTypeKind, &MakeListRecord<CustomerType>) {}

JobType::JobType() : HierarchicalListRecord(kJobTypeKind) {}
JobTypes::JobTypes()
    : HierarchicalListCollection<JobType>(kJobTypeKind, &MakeListRecord<JobType>) {}

VendorType::VendorType() : HierarchicalListRecord(kVendorTypeKind) {}
VendorTypes::VendorTypes()
    : HierarchicalListCollection<VendorType>(kVendorTypeKind, &MakeListRecord<VendorType>) {}

}  // namespace brennock
