// Asking QuickBooks to show one of its forms.
#include <string_view>

#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/bill_payment_form_kind.h"
#include "brennock/internal/session/version_check.h"
#include "brennock/session/qb_connection.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

constexpr std::string_view kSource = "brennock:QBConnection:DisplayQBForm";
constexpr int32_t kFormsVersion = 3;

enum class FormFamily { None, List, Txn, BillPayment };

FormFamily FamilyOf(qoEnumListObjectType type) {
  switch (type) {
    case qoObjectTypeCustomer:
    case qoObjectTypeVendor:
    case qoObjectTypeOtherName:
    case qoObjectTypeEmployee:
      return FormFamily::List;
    case qoObjectTypeJournalEntry:
    case qoObjectTypeBill:
    case qoObjectTypeCheck:
    case qoObjectTypePurchaseOrder:
    case qoObjectTypeVendorCredit:
    case qoObjectTypeCreditCardCharge:
    case qoObjectTypeCreditCardCredit:
    case qoObjectTypeInvoice:
    case qoObjectTypeSalesReceipt:
    case qoObjectTypeCreditMemo:
    case qoObjectTypeEstimate:
    case qoObjectTypeReceivePayment:
    case qoObjectTypeDeposit:
    case qoObjectTypeCharge:
    case qoObjectTypeInventoryAdjustment:
    case qoObjectTypeSalesTaxPaymentCheck:
    case qoObjectTypeSalesOrder:
    case qoObjectTypeItemReceipt:
      return FormFamily::Txn;
    case qoObjectTypeBillPayment:
      return FormFamily::BillPayment;
    default:
      return FormFamily::None;
  }
}

// <{Family}DisplayAddRq><{Family}DisplayAddType>form</...></...>, or the Mod form with the record's
// ID element.
void WriteDisplayRequest(xmlBldr& builder, std::string_view family, std::string_view form,
                         std::string_view idTag, const std::string& id) {
  std::string_view operation = id.empty() ? "Add" : "Mod";
  std::string request = std::string(family) + "Display" + std::string(operation);
  builder.OpenAggregateOnly(request + "Rq");
  builder.CreateElement(request + "Type", form);
  if (!id.empty()) builder.CreateElement(idTag, id);
  builder.EndAggregate(request + "Rq");
}

}  // namespace

void QBConnection::DisplayQBForm(qoEnumListObjectType FormType, const std::string& ListOrTxnId) {
  RequireQbxmlVersion(kFormsVersion);
  xmlBldr builder;
  builder.NewClear();
  switch (FamilyOf(FormType)) {
    case FormFamily::List:
    case FormFamily::Txn: {
      bool list = FamilyOf(FormType) == FormFamily::List;
      std::string form = ThreadEnumerations()
                             ->Item(qoeObjectType)
                             ->ItemByCode(static_cast<int16_t>(FormType))
                             ->CollectionKey();
      WriteDisplayRequest(builder, list ? "List" : "Txn", form, list ? "ListID" : "TxnID",
                          ListOrTxnId);
      break;
    }
    case FormFamily::BillPayment: {
      std::string form =
          ListOrTxnId.empty() ? "BillPaymentCheck" : BillPaymentFormKind(ListOrTxnId);
      if (form.empty()) RaiseError(errInvalidListOrTxnId, kSource);
      WriteDisplayRequest(builder, "Txn", form, "TxnID", ListOrTxnId);
      break;
    }
    case FormFamily::None:
      RaiseError(errObjectTypeNotSupported, kSource);
  }
  builder.NewSendRequest();
}

}  // namespace brennock
