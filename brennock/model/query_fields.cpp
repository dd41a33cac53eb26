#include "brennock/internal/model/query_fields.h"

#include <utility>

namespace brennock {

std::string_view QueryFieldElement(qoFields field) noexcept {
  static constexpr std::pair<qoFields, std::string_view> kElements[] = {
      {qoFldFullName, "FullName"},
      {qoFldListId, "ListID"},
      {qoFldItemSalesDesc, "SalesDesc"},
      {qoFldTxnId, "TxnID"},
      {qoFldIsActive, "IsActive"},
      {qoFldCustom1, "DataExtRet"},
      {qoFldCustom2, "DataExtRet"},
      {qoFldCustom3, "DataExtRet"},
      {qoFldCustom4, "DataExtRet"},
      {qoFldCustom5, "DataExtRet"},
      {qoFldCustom6, "DataExtRet"},
      {qoFldCustom7, "DataExtRet"},
      {qoFldName, "Name"},
      {qoFldCustCompanyName, "CompanyName"},
      {qoFldCustSalutation, "Salutation"},
      {qoFldCustFirstName, "FirstName"},
      {qoFldCustLastName, "LastName"},
      {qoFldCustPhone, "Phone"},
      {qoFldCustAltPhone, "AltPhone"},
      {qoFldCustFax, "Fax"},
      {qoFldCustEmail, "Email"},
      {qoFldCustContact, "Contact"},
      {qoFldCustAltContact, "AltContact"},
      {qoFldCustType, "CustomerTypeRef"},
      {qoFldCustTerms, "TermsRef"},
      {qoFldCustSalesRep, "SalesRepRef"},
      {qoFldCustBalance, "Balance"},
      {qoFldCustTotalBalance, "TotalBalance"},
      {qoFldCustResaleNumber, "ResaleNumber"},
      {qoFldCustAccountNumber, "AccountNumber"},
      {qoFldCustBillToAddress, "BillAddress"},
      {qoFldItemOnHand, "QuantityOnHand"},
      {qoFldItemOnSalesOrder, "QuantityOnSalesOrder"},
      {qoFldItemOnOrder, "QuantityOnOrder"},
      {qoFldItemPrice, "SalesPrice"},
  };
  for (const auto& [code, element] : kElements) {
    if (code == field) return element;
  }
  return {};
}

}  // namespace brennock
