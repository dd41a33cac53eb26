#include "brennock/internal/transactions/line_owner.h"

#include <array>

namespace brennock {
namespace {

// The element names of each owner's lines: line and group line, in the Add, Mod and Ret forms.
struct OwnerLines {
  qoEnumListObjectType owner;
  std::array<std::string_view, 3> line;
  std::array<std::string_view, 3> group;
};

constexpr OwnerLines kPurchaseLines = {
    qoObjectTypeBill,
    {"ItemLineAdd", "ItemLineMod", "ItemLineRet"},
    {"ItemGroupLineAdd", "ItemGroupLineMod", "ItemGroupLineRet"}};

constexpr OwnerLines kOwners[] = {
    {qoObjectTypeInvoice,
     {"InvoiceLineAdd", "InvoiceLineMod", "InvoiceLineRet"},
     {"InvoiceLineGroupAdd", "InvoiceLineGroupMod", "InvoiceLineGroupRet"}},
    {qoObjectTypeSalesReceipt,
     {"SalesReceiptLineAdd", "SalesReceiptLineMod", "SalesReceiptLineRet"},
     {"SalesReceiptLineGroupAdd", "SalesReceiptLineGroupMod", "SalesReceiptLineGroupRet"}},
    {qoObjectTypeCreditMemo,
     {"CreditMemoLineAdd", "CreditMemoLineMod", "CreditMemoLineRet"},
     {"CreditMemoLineGroupAdd", "CreditMemoLineGroupMod", "CreditMemoLineGroupRet"}},
    {qoObjectTypeSalesOrder,
     {"SalesOrderLineAdd", "SalesOrderLineMod", "SalesOrderLineRet"},
     {"SalesOrderLineGroupAdd", "SalesOrderLineGroupMod", "SalesOrderLineGroupRet"}},
    {qoObjectTypeEstimate,
     {"EstimateLineAdd", "EstimateLineMod", "EstimateLineRet"},
     {"EstimateLineGroupAdd", "EstimateLineGroupMod", "EstimateLineGroupRet"}},
    {qoObjectTypePurchaseOrder,
     {"PurchaseOrderLineAdd", "PurchaseOrderLineMod", "PurchaseOrderLineRet"},
     {"PurchaseOrderLineGroupAdd", "PurchaseOrderLineGroupMod", "PurchaseOrderLineGroupRet"}},
};

const OwnerLines* LinesOf(qoEnumListObjectType owner) noexcept {
  for (const OwnerLines& lines : kOwners)
    if (lines.owner == owner) return &lines;
  return IsPurchaseOwner(owner) ? &kPurchaseLines : nullptr;
}

}  // namespace

LineOwnerClass OwnerClassOf(qoEnumListObjectType owner) noexcept {
  if (IsSalesOwner(owner)) return LineOwnerClass::kSales;
  if (IsPurchaseOwner(owner)) return LineOwnerClass::kPurchase;
  return LineOwnerClass::kNone;
}

bool IsSalesOwner(qoEnumListObjectType owner) noexcept {
  switch (owner) {
    case qoObjectTypeInvoice:
    case qoObjectTypeSalesReceipt:
    case qoObjectTypeCreditMemo:
    case qoObjectTypeEstimate:
    case qoObjectTypeSalesOrder:
      return true;
    default:
      return false;
  }
}

bool IsPurchaseOwner(qoEnumListObjectType owner) noexcept {
  switch (owner) {
    case qoObjectTypeBill:
    case qoObjectTypeCheck:
    case qoObjectTypePurchaseOrder:
    case qoObjectTypeVendorCredit:
    case qoObjectTypeCreditCardCharge:
    case qoObjectTypeCreditCardCredit:
    case qoObjectTypeItemReceipt:
      return true;
    default:
      return false;
  }
}

std::string_view LineElement(qoEnumListObjectType owner, bool group, BodyForm form) noexcept {
  const OwnerLines* lines = LinesOf(owner);
  if (lines == nullptr) return {};
  return (group ? lines->group : lines->line)[static_cast<size_t>(form)];
}

std::string_view LineRetElement(qoEnumListObjectType owner) noexcept {
  return LineElement(owner, false, BodyForm::kRet);
}

std::string_view GroupRetElement(qoEnumListObjectType owner) noexcept {
  return LineElement(owner, true, BodyForm::kRet);
}

}  // namespace brennock
