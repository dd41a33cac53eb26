#include "brennock/errors/error_table.h"

#include <algorithm>
#include <array>

namespace brennock {
namespace {

using enum ErrorKind;

constexpr std::string_view kBrennock = "Brennock";

constexpr std::array<std::string_view, 2> kEditionTexts = {kMsgUSOnly, kMsgNonUSOnly};
constexpr std::array<std::string_view, 2> kItemFieldTexts = {kMsgDiscountQuantity,
                                                             kMsgAssetPurchaseDate};
constexpr std::array<std::string_view, 5> kAddressTexts = {
    kMsgAddressLineTooLong, kMsgAddressCityTooLong, kMsgAddressStateTooLong,
    kMsgAddressPostalCodeTooLong, kMsgAddressCountryTooLong};

// clang-format off
constexpr ErrorInfo kTable[] = {
  {errQuickBooksNotInstalled, "QuickBooks is not installed.", Raised, "brennock",
   "opening a connection when no request processor can be created"},
  {errNotConnected, "QBConnect has not been called, or it failed", Raised, kBrennock,
   "an operation needs the connection and there is none"},
  {errQuickBooksRefused, "", Collected, "",
   "QuickBooks refused an Add or Mod; text = its status message; field \"QuickBooks: \" or "
   "\"QuickBooks response: \""},
  {errFieldNotModifiable, "Field cannot be modified", Raised, "",
   "a New-only property written on a saved record; source = class name"},
  {errGeneral, "", Raised, "", "general raise routine; source \"Brennock: \" + context"},
  {errUnsupportedProduct, "Brennock must have QuickBooks Pro 2002 or higher installed", Raised,
   kBrennock, "the host query reports an unsupported product"},
  {errVersionNotSupported,
   "The version of QuickBooks you are running does not support this feature.", Raised, "",
   "the feature needs a newer qbXML version"},
  {errSsnAccessDenied, "", Raised, "Brennock, S_MSG_ACCESS_DENIED",
   "social security number used without personal-data permission; no description"},
  {errInvalidEnumString, "An invalid enumeration string was supplied.", Raised, kBrennock,
   "text-to-code lookup found no entry"},
  {errUnknownTxnType, "Internal error.  Unknown transaction type.", Raised, kBrennock, ""},
  {errInvalidParent, "Invalid parent specified", Collected, "", "field \"Parent\""},
  {errValidateFailed,
   "Indicated object failed validation.  Check object's errors for details.", Collected, "",
   "on the collection, field = the record's CollectionKey"},
  {errNameNull, "Name cannot be null", Collected, "", "field \"Name\""},
  {errNameTooLong, "Name cannot exceed 31 characters", Collected, "", "field \"Name\""},
  {errInvalidAccount, "Invalid account specified", Collected, "",
   "field = the account property"},
  {errInvalidSalesTaxCode, "Invalid sales tax code specified", Collected, "",
   "field \"SalesTaxCode\""},
  {errInvalidVendor, "Invalid vendor specified", Collected, "", "field \"Vendor\""},
  {errNameExists, "Name specified already exists on file", Collected, "",
   "on the record, field \"Name\": QuickBooks status 3100"},
  {errCommitFailed, "Indicated object failed commit.  Check object's errors for details.",
   Collected, "", "on the collection, field = the record's CollectionKey"},
  {errEmptyGetByArray, "Empty array passed to GetBy... call", CollectedOrRaised, kBrennock,
   "collected with field \"GetByEntity\" or \"GetByAccount\", or raised"},
  {errInvalidDateFormat, "Invalid date format", Collected, "", "transaction lines"},
  {errMasterOnly, "This operation is only permitted on the master collection", Raised, "",
   "Add, Delete, Commit on a child collection; source = object-type name"},
  {errNotMember, "The specified object is not a member of the collection", Collected, "",
   "on the collection, field = object-type name"},
  {errCommitErrors,
   "Error(s) occurred during commit.  Check each object's Errors for details.", Raised, "",
   "after a commit with errors when ErrorMode is True"},
  {errItemNameInUse,
   "There was an error when saving this Items list.  The name of this list element is already "
   "in use.",
   Collected, "", "on an item, field \"QuickBooks\": QuickBooks status 3180"},
  {errNotOnMaster, "This operation is not permitted on the master collection", Raised, "", ""},
  {errDeleteFailed, "", Raised, "", "Delete refused; text = QuickBooks status message"},
  {errVoidFailed, "", Raised, "", "Void refused; text = QuickBooks status message"},
  {errInvalidCharacter, "This field cantains an invalid character.", Collected, "",
   "amount-as-text setters of lines"},
  {errObjectTypeNotSupported, "This operation is not supported for the indicated object type.",
   Raised, "", "form display of the connection"},
  {errInvalidListOrTxnId, "An invalid list or txn ID was passed.", Raised, "", ""},
  {errEditionOnly, kMsgUSOnly, Raised, "", "country-specific properties", kEditionTexts},
  {errNonXmlCharacter, "The request holds a character XML does not allow: ", Raised, "XMLBldr",
   "a request about to be sent; text = the table's, the code point and the element "
   "(\"U+0007 in <Name>\"); nothing is sent"},
  {errResponseTooLarge, "The response from QuickBooks is larger than the limit in bytes of ",
   Raised, "XMLBldr", "a response over BRENNOCK_MAX_RESPONSE_BYTES; text = the table's and the "
   "limit; nothing of it is read"},
  {errResponseTooDeep, "The response from QuickBooks nests elements deeper than the limit of ",
   Raised, "XMLBldr", "a response over BRENNOCK_MAX_RESPONSE_DEPTH; text = the table's and the "
   "limit; nothing of it is read"},
  {errResponseDoctype,
   "The response from QuickBooks declares a document type with declarations of its own.", Raised,
   "XMLBldr", "a DOCTYPE with an internal subset in a response; nothing of it is read"},
  {errInvalidItemType, "Invalid item type specified", Raised, "Item", ""},
  {errTaxGroupQuantity, "Quantity must be 1 for sales tax group lines", Collected, "", ""},
  {errParentItemType, "Parent item type must be the same as the child's", Collected, "",
   "field \"Parent\""},
  {errDiscountQuantityOrAssetDate, kMsgDiscountQuantity, Collected, "",
   "field \"GroupLine\" or \"PurchaseDate\"", kItemFieldTexts},
  {errAssetPurchaseDesc, "Fixed Assets require a purchase description", Collected, "",
   "field \"PurchaseDesc\""},
  {errAddress, "Address error", Collected, "",
   "field \"OtherName Address\" or \"Employee Address\""},
  {errAddressTooLong, kMsgAddressLineTooLong, Collected, "",
   "fields \"Line1\"..\"Line4\", \"City\", \"State\", \"Postal Code\", \"Country\"",
   kAddressTexts},
  {errAccountNumberTooLong, "Account number cannot exceed 7 characters", Collected, "",
   "field \"Number\""},
  {errBankNumberTooLong, "Bank number cannot exceed 25 characters", Collected, "",
   "field \"BankNumber\""},
  {errAccountDescTooLong, "Account description cannot exceed 29 characters", Collected, "",
   "field \"Description\""},
  {errParentAccountType, "Parent account type must be the same as childs", Collected, "",
   "field \"Parent\""},
  {errSalesTaxCodeNameTooLong, "Sales tax code name cannot exceed 3 characters", Collected, "",
   "field \"Name\""},
  {errSalesTaxCodeDescTooLong, "Sales tax code description cannot exceed 31 characters",
   Collected, "", "field \"Description\""},
  {errCompanyNameTooLong, "Customer/Company name cannot exceed 41 characters", Collected, "",
   "fields \"Name\", \"Company Name\", \"Contact\", \"Alt Contact\""},
  {errSalutationTooLong, "Salutation cannot exceed 15 characters", Collected, "",
   "field \"Salutation\""},
  {errFirstLastNameTooLong, "First/Last name cannot exceed 25 characters", Collected, "",
   "fields \"First Name\", \"Last Name\""},
  {errMiddleNameTooLong, "Middle name cannot exceed 5 characters", Collected, "",
   "field \"Middle Name\""},
  {errPhoneTooLong, "Phone numbers cannot exceed 21 characters", Collected, "",
   "fields \"Phone\", \"Alt Phone\", fax"},
  {errEmailTooLong, "Email cannot exceed 99 characters", Collected, "", "field \"Email\""},
  {errResaleNumberTooLong, "Resale number cannot exceed 15 characters", Collected, "",
   "field \"Resale Number\""},
  {errCustomerAccountNumberTooLong, "Account number cannot exceed 99 characters", Collected, "",
   "field \"Account Number\""},
  {errJobDescTooLong, "Job description cannot exceed 99 characters", Collected, "", ""},
  {errLastNameSameAsFirst, "Last Name cannot be the same as First Name", Collected, "",
   "field \"Last Name\""},
  {errWithChildrenOneName, "If WithChildren is specified only one name is allowed",
   CollectedOrRaised, kBrennock, "collected by transaction queries, raised by report filters"},
  {errMemoTooLong, "Memo length cannot exceed 4095 characters", Collected, "", "field \"Memo\""},
  {errVendorCompanyNameTooLong, "Vendor/Company name cannot exceed 41 characters", Collected,
   "", "field \"Company Name\""},
  {errContactTooLong, "Contact names cannot exceed 41 characters", Collected, "",
   "fields \"Contact\", \"Alt Contact\""},
  {errNameOnCheckTooLong, "Names on Checks cannot exceed 41 characters", Collected, "",
   "field \"Name On Check\""},
  {errVendorNotesTooLong, "Notes cannot exceed 4095 characters", Collected, "",
   "field \"Notes\""},
  {errVendorTypeFullNameTooLong, "VendorType FullName cannot exceed 159 characters", Collected,
   "", "field \"Vendor Type: Full Name\""},
  {errTermsRefFullNameTooLong, "TermsRef FullName cannot exceed 31 characters", Collected, "",
   "field \"TermsRef: Full Name\""},
  {errVendorTaxIdTooLong, "Vendor TaxID cannot exceed 15 characters", Collected, "",
   "field \"Tax ID\""},
  {errEligibleFor1099Incomplete,
   "If EligibleFor1099 is True, Vendor Address and TaxID is required", Collected, "",
   "field \"Eligible For 1099\""},
  {errBillsAndCreditsNotLoaded,
   "You must call GetBillsAndCredits before accessing this property.", Raised, kBrennock, ""},
  {errEntryNumberTooLong, "EntryNumber cannot exceed 11 characters", Collected, "",
   "field \"RefNumber\""},
  {errJournalNotBalanced, "Journal lines do not balance", Collected, "",
   "field \"TotalBalance\""},
  {errJournalNegativeAmount, "Journal lines can only contain positive amounts", Collected, "",
   "field \"Amount\""},
  {errAccountRequired, "Journal entries require an account on each line with an amount",
   Collected, "", "field \"Account\""},
  {errNeedCustomer, "Transactions to accounts receivable must include a customer", Collected,
   "", "field \"Entity\""},
  {errNeedVendor, "Transactions to accounts payable must include a vendor", Collected, "",
   "field \"Entity\""},
  {errNonPostingAccount, "Non-posting accounts cannot be used", Collected, "",
   "field \"Account\""},
  {errInvalidTermsType, "Invalid terms type specified", Raised, "Terms", ""},
  {errParserMissing, "Microsoft XML 4.0 parser not installed.", Raised, "brennock",
   "the XML parser component could not be created; the prompt is shown first"},
  {errEntityNotFound, "Entity does not exist", Collected, "", "field \"Entity\""},
  {errNeedCreditCardAccount, "Account type must be Credit Card", Collected, "",
   "field \"CreditCardCharge\" or \"CreditCardCredit\""},
  {errClassNotFound, "Class code does not exist", Collected, "", "field \"Class\""},
  {errInvalidCustomer, "Invalid customer specified", Collected, "", "field \"Customer\""},
  {errNeedARAccount, "Account type must be Accounts Receivable", Collected, "",
   "field \"ARAccount\""},
  {errLineNeedsItem, "Transaction lines with amounts must have items", Collected, "",
   "field \"Item\""},
  {errNoLines, "Transactions must have at least one line item", Collected, "", ""},
  {errVendorRequired, "Vendor is required for this type of transaction", Collected, "",
   "field \"Vendor\""},
  {errCustomerRequired, "Customer is required for this type of transaction", Collected, "",
   "field \"Customer\""},
  {errAutoApplyWithApplied,
   "Cannot specify transactions to apply ReceivePayments to when IsAutoApply is True", Collected,
   "", "field \"IsAutoApply\""},
  {errDuplicatePaymentTxn,
   "Cannot apply more than one payment to the same TxnID in a ReceivePayment.Add call",
   Collected, "", ""},
  {errTxnTypeNotSet, "The TxnType property has not been set", Raised, "TxnEntries", ""},
  {errCurrencyMismatch, "The currencies of your account and customer/vendor must match.",
   Collected, "", "field \"Customer\""},
  {errPrintAsTooLong, "Print As value cannot exceed 41 characters", Collected, "",
   "field \"Print As\""},
  {errSsnTooLong, "Social Security Number (SSN) cannot exceed 15 characters", Collected, "", ""},
  {errInitialsTooLong, "Initials cannot exceed 5 characters", Collected, "",
   "field \"Initial\""},
  {errSalesRepEntityTooLong, "SalesRepEntity FullName cannot exceed 31 characters", Collected,
   "", "field \"SalesRepEntity:FullName\""},
  {errSalesRepNameRequired, "SalesRep Name or ListID must be provided", Collected, "", ""},
  {errSalesRepEntityInvalid, "SalesRepEntity is not valid", Collected, "", ""},
  {errSalesRepEntityNotFound, "SalesRepEntity not found", Collected, "", ""},
  {errCheckNumberToPrint, "You cannot specify a check number for a check to be printed",
   Collected, "", ""},
  {errCheckNeedsBankAccount, "Checks can only be written against bank accounts", Collected, "",
   ""},
  {errMessageTooLong, "Message cannot exceed 101 characters", Collected, "", "field \"Name\""},
  {errNotesNull, "Notes cannot be null", Collected, "", "field \"Notes\""},
  {errNotesTooLong, "Notes cannot exceed 4095 characters", Collected, "", "field \"Notes\""},
  {errInvalidBaseReport, "Invalid BaseReport property.", Raised, "", ""},
  {errInvalidReportBasis, "Basis must be Cash or Accural", Raised, "", ""},
  {errInvalidDataExtIndex, "Invalid data extension index specified.", Raised, "", ""},
  {errAppFieldsOnly, "This operation is only permitted on application defined fields.", Raised,
   "", "definition change on owner \"0\" below qbXML 3.0"},
  {errNoAppFieldsGuid, "No GUID has been registered for application defined fields.", Raised,
   "", "definition change without a registered owner ID"},
  {errDataExtNotDefined, "Specified data extension in not defined for this object type.",
   Raised, "", ""},
  {errEventGuidNotRegistered, "QBConnection.RegisterEventGUID has not been called", Raised, "",
   ""},
  {errDepositLineIncomplete, "Deposit lines must include either a TxnId or an Account.",
   Collected, "", ""},
  {errFeatureNotSupported, "This version of brennock does not support this feature.", Raised,
   "", ""},
  {errListTypeNotSet, "The ListType property has not been set or is invalid", Raised,
   "ListEntries", ""},
};
// clang-format on

// Lookups use a binary search, so the rows must stay in strictly ascending order (which also
// rules out a number listed twice).
constexpr bool StrictlyAscending() {
  for (size_t i = 1; i < std::size(kTable); ++i) {
    if (kTable[i - 1].n >= kTable[i].n) return false;
  }
  return true;
}
static_assert(StrictlyAscending(), "error table rows must be in strictly ascending order");

}  // namespace

std::span<const ErrorInfo> ErrorTable() noexcept { return kTable; }

const ErrorInfo* FindError(int32_t n) noexcept {
  const auto* row = std::lower_bound(std::begin(kTable), std::end(kTable), n,
                                     [](const ErrorInfo& info, int32_t v) { return info.n < v; });
  return row != std::end(kTable) && row->n == n ? row : nullptr;
}

std::string_view ErrorMessage(int32_t n) noexcept {
  const ErrorInfo* row = FindError(n);
  return row ? row->message : std::string_view{};
}

}  // namespace brennock
