#include "brennock/company/deleted_items.h"

#include <algorithm>
#include <array>

#include "brennock/enums/enumerations.h"
#include "brennock/enums/qc_enum.h"
#include "brennock/enums/qc_enum_value.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/runtime_errors.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_attributes.h"
#include "brennock/xml/xml_document.h"

namespace brennock {
namespace {

constexpr std::array<std::string_view, 28> kListDelTypes = {"Account",
                                                            "Customer",
                                                            "Employee",
                                                            "OtherName",
                                                            "Vendor",
                                                            "StandardTerms",
                                                            "DateDrivenTerms",
                                                            "Class",
                                                            "SalesRep",
                                                            "CustomerType",
                                                            "VendorType",
                                                            "JobType",
                                                            "CustomerMsg",
                                                            "PaymentMethod",
                                                            "ShipMethod",
                                                            "SalesTaxCode",
                                                            "ToDo",
                                                            "ItemService",
                                                            "ItemNonInventory",
                                                            "ItemOtherCharge",
                                                            "ItemInventory",
                                                            "ItemInventoryAssembly",
                                                            "ItemSubtotal",
                                                            "ItemDiscount",
                                                            "ItemPayment",
                                                            "ItemSalesTax",
                                                            "ItemSalesTaxGroup",
                                                            "ItemGroup"};
constexpr std::array<std::string_view, 18> kTxnDelTypes = {
    "BillPaymentCheck", "BillPaymentCreditCard", "Bill",         "Charge",        "Check",
    "CreditCardCharge", "CreditCardCredit",      "CreditMemo",   "Deposit",       "Estimate",
    "Invoice",          "InventoryAdjustment",   "JournalEntry", "PurchaseOrder", "ReceivePayment",
    "SalesReceipt",     "TimeTracking",          "VendorCredit"};

template <size_t N>
bool Among(const std::array<std::string_view, N>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// One deleted-records query: the types asked for, then the date range.
template <size_t N>
void WriteQuery(xmlBldr& builder, std::string_view request, std::string_view typeElement,
                const std::array<std::string_view, N>& all, std::string_view only, Date from,
                Date to) {
  builder.OpenAggregateOnly(request);
  if (only.empty()) {
    for (std::string_view type : all) builder.CreateElement(typeElement, type);
  } else {
    builder.CreateElement(typeElement, only);
  }
  builder.OpenAggregateOnly("DeletedDateRangeFilter");
  if (from.Value() != 0)
    builder.CreateElement("FromDeletedDate", ModConvertDtypes::DateTimeToText(from));
  if (to.Value() != 0) builder.CreateElement("ToDeletedDate", ModConvertDtypes::DateTimeToText(to));
  builder.EndAggregate("DeletedDateRangeFilter");
  builder.EndAggregate(request);
}

// The object type whose qbXML name is tag; 0 when none.
qoEnumListObjectType ObjectTypeOf(std::string_view tag) {
  std::shared_ptr<QCEnum> table = ThreadEnumerations()->Item(qoeObjectType);
  for (int32_t i = 1; i <= table->Count(); ++i) {
    std::shared_ptr<qcEnumValue> entry = table->Item(i);
    std::string text = entry->XMLTag().empty() ? entry->CollectionKey() : entry->XMLTag();
    if (text == tag) return static_cast<qoEnumListObjectType>(entry->Code());
  }
  return static_cast<qoEnumListObjectType>(0);
}

// A deleted type names its object type; both kinds of bill payment are one object type.
void ReadDeletedType(qoEnumListObjectType& type, const FieldElement& element) {
  std::string scratch;
  const std::string_view tag = element.TextView(scratch);
  type = tag == "BillPaymentCheck" || tag == "BillPaymentCreditCard" ? qoObjectTypeBillPayment
                                                                     : ObjectTypeOf(tag);
}

}  // namespace

// The rows of ListDeletedRet and TxnDeletedRet, read only: a list record and a transaction name
// the same facts under their own elements.
struct DeletedItemRows {
  using D = DeletedItem;
  static constexpr Binding<D> Type(std::string_view element) {
    return {element,
            kInRet,
            [](D& d, const FieldElement& x) { ReadDeletedType(d.deletedObjectType_, x); },
            nullptr,
            nullptr,
            qbxml::ValueType::kEnum};
  }
  static const BindingTable<D>& Table() {
    BRENNOCK_BINDINGS(
        D, std::array{Type("ListDelType"), Type("TxnDelType"),
                      Bind<&D::listOrTxnId_, codecs::Text, D>("ListID", kInRet),
                      Bind<&D::listOrTxnId_, codecs::Text, D>("TxnID", kInRet),
                      Bind<&D::timeCreated_, codecs::Stamp, D>("TimeCreated", kInRet),
                      Bind<&D::timeDeleted_, codecs::Stamp, D>("TimeDeleted", kInRet),
                      Bind<&D::fullNameOrRefNumber_, codecs::Text, D>("FullName", kInRet),
                      Bind<&D::fullNameOrRefNumber_, codecs::Text, D>("RefNumber", kInRet)});
  }
};

void DeletedItem::FromDom(const XmlNode& element) {
  ReadFields<DeletedItem>(*this, element, DeletedItemRows::Table().Readers());
}

std::shared_ptr<DeletedItem> DeletedItems::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseRuntime(kSubscriptOutOfRangeNumber);
  return members_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<DeletedItem> DeletedItems::Item(const std::string& key) const {
  for (const auto& member : members_)
    if (member->ListOrTxnId() == key) return member;
  RaiseRuntime(kInvalidArgumentNumber);
}

bool DeletedItems::ItemExists(const std::string& key) const noexcept {
  return std::any_of(members_.begin(), members_.end(),
                     [&](const auto& member) { return member->ListOrTxnId() == key; });
}

int32_t DeletedItems::GetByDateSpan(Date FromDate, Date ToDate,
                                    std::optional<qoEnumListObjectType> ObjectType) {
  Clear();
  errors_.Clear();
  std::string tag;
  if (ObjectType) tag = EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(*ObjectType));
  bool lists = !ObjectType || Among(kListDelTypes, tag);
  bool txns = !ObjectType || Among(kTxnDelTypes, tag);
  xmlBldr builder;
  std::shared_ptr<XmlDocument> response;
  try {
    builder.NewClear();
    if (lists)
      WriteQuery(builder, "ListDeletedQueryRq", "ListDelType", kListDelTypes, tag, FromDate,
                 ToDate);
    if (txns)
      WriteQuery(builder, "TxnDeletedQueryRq", "TxnDelType", kTxnDelTypes, tag, FromDate, ToDate);
    response = builder.NewSendRequest();
  } catch (const AutomationError& error) {
    errors_.Add(error.Number(), "", error.Description());
    return Count();
  }
  for (XmlNode answer : response->documentElement().childNodes().item(0).childNodes()) {
    if (answer.nodeType() != NODE_ELEMENT) continue;
    // A refused query is reported, not read as "nothing deleted"; 1 is QuickBooks' "none found".
    XmlAttributes status = answer.attributes();
    XmlAttribute code = status.getNamedItem("statusCode");
    if (code && code.text() != "0" && code.text() != "1") {
      XmlAttribute message = status.getNamedItem("statusMessage");
      errors_.Add(ModConvertDtypes::TextToInt32(code.text()), "", message ? message.text() : "");
      continue;
    }
    for (XmlNode element : answer.childNodes()) {
      if (element.nodeType() != NODE_ELEMENT) continue;
      auto item = std::make_shared<DeletedItem>();
      item->FromDom(element);
      members_.push_back(std::move(item));
    }
  }
  return Count();
}

}  // namespace brennock
