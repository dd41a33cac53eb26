#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "brennock/errors/automation_error.h"

namespace brennock {

// The library's error offsets n; the number a client sees is vbObjectError + n (ErrorNumber).
// Functions that take an ErrorCode refuse a bare integer, so an offset is never mistaken for a
// full number or a QuickBooks status code.
enum ErrorCode : int32_t {
  errQuickBooksNotInstalled = 0,  // no request processor could be created
  errNotConnected = 1000,
  errQuickBooksRefused = 1001,  // text: the QuickBooks status message
  errFieldNotModifiable = 1002,
  errGeneral = 1003,  // text: the caller's
  errUnsupportedProduct = 1004,
  errVersionNotSupported = 1005,
  errSsnAccessDenied = 1006,  // no text
  errInvalidEnumString = 1008,
  errUnknownTxnType = 1009,
  errInvalidParent = 1010,
  errValidateFailed = 1011,
  errNameNull = 1012,
  errNameTooLong = 1013,
  errInvalidAccount = 1014,
  errInvalidSalesTaxCode = 1015,
  errInvalidVendor = 1016,
  errNameExists = 1017,
  errCommitFailed = 1018,
  errEmptyGetByArray = 1019,
  errInvalidDateFormat = 1020,
  errMasterOnly = 1021,
  errNotMember = 1022,
  errCommitErrors = 1023,
  errItemNameInUse = 1024,
  errNotOnMaster = 1025,
  errDeleteFailed = 1026,  // text: the QuickBooks status message
  errVoidFailed = 1027,    // text: the QuickBooks status message
  errInvalidCharacter = 1028,
  errObjectTypeNotSupported = 1030,
  errInvalidListOrTxnId = 1031,
  errEditionOnly = 1032,       // texts: kMsgUSOnly, kMsgNonUSOnly
  errNonXmlCharacter = 1033,   // text: the table's, then "U+0007 in <Tag>"
  errResponseTooLarge = 1034,  // text: the table's, then the limit
  errResponseTooDeep = 1035,   // text: the table's, then the limit
  errResponseDoctype = 1036,
  errInvalidItemType = 1101,
  errTaxGroupQuantity = 1103,
  errParentItemType = 1104,
  errDiscountQuantityOrAssetDate = 1105,  // texts: kMsgDiscountQuantity, kMsgAssetPurchaseDate
  errAssetPurchaseDesc = 1106,
  errAddress = 1201,
  errAddressTooLong = 1202,  // texts: kMsgAddress...TooLong
  errAccountNumberTooLong = 1300,
  errBankNumberTooLong = 1301,
  errAccountDescTooLong = 1302,
  errParentAccountType = 1303,
  errSalesTaxCodeNameTooLong = 1400,
  errSalesTaxCodeDescTooLong = 1401,
  errCompanyNameTooLong = 1500,
  errSalutationTooLong = 1501,
  errFirstLastNameTooLong = 1502,
  errMiddleNameTooLong = 1503,
  errPhoneTooLong = 1504,
  errEmailTooLong = 1505,
  errResaleNumberTooLong = 1506,
  errCustomerAccountNumberTooLong = 1507,
  errJobDescTooLong = 1508,
  errLastNameSameAsFirst = 1509,
  errWithChildrenOneName = 1600,
  errMemoTooLong = 1601,
  errVendorCompanyNameTooLong = 1700,
  errContactTooLong = 1701,
  errNameOnCheckTooLong = 1702,
  errVendorNotesTooLong = 1703,
  errVendorTypeFullNameTooLong = 1704,
  errTermsRefFullNameTooLong = 1705,
  errVendorTaxIdTooLong = 1706,
  errEligibleFor1099Incomplete = 1707,
  errBillsAndCreditsNotLoaded = 1708,
  errEntryNumberTooLong = 1800,
  errJournalNotBalanced = 1801,
  errJournalNegativeAmount = 1803,
  errAccountRequired = 1804,
  errNeedCustomer = 1805,
  errNeedVendor = 1806,
  errNonPostingAccount = 1807,
  errInvalidTermsType = 1900,
  errParserMissing = 1999,  // the XML parser component could not be created
  errGroupMemberLine = 2000,
  errInvalidItem = 2001,
  errUnsupportedItemType = 2002,
  errTermsNotFound = 2004,
  errPercentOnPurchase = 2005,
  errAmountNotModifiable = 2006,
  errPropertyNotForTxnType = 2008,
  errGroupOnly = 2009,
  errEntityNotFound = 2010,
  errNeedCreditCardAccount = 2011,
  errCustomerNotFound = 2012,
  errClassNotFound = 2013,
  errItemCodeNotFound = 2014,
  errSalesTaxCodeNotFound = 2015,
  errTaxItemInHeader = 2016,
  errTaxItemInLines = 2017,
  errInvalidCustomer = 2018,
  errInvalidTxnAccount = 2019,
  errNeedARAccount = 2020,
  errLineNeedsItem = 2021,
  errNoLines = 2022,
  errMarkupEstimatesOnly = 2023,
  errVendorRequired = 2024,
  errCustomerRequired = 2025,
  errAutoApplyWithApplied = 2027,
  errInvalidPaymentMethod = 2028,
  errInvalidDiscountAccount = 2029,
  errDuplicatePaymentTxn = 2030,
  errAppliedExceedsTotal = 2031,
  errTxnTypeNotSet = 2034,
  errCurrencyMismatch = 2035,
  errPrintAsTooLong = 2100,
  errSsnTooLong = 2101,
  errInitialsTooLong = 2200,
  errSalesRepEntityTooLong = 2201,
  errSalesRepNameRequired = 2202,
  errSalesRepEntityInvalid = 2203,
  errSalesRepEntityNotFound = 2204,
  errCheckNumberToPrint = 2300,
  errCheckNeedsBankAccount = 2301,
  errMessageTooLong = 2400,
  errNotesNull = 2500,
  errNotesTooLong = 2501,
  errInvalidBaseReport = 2601,
  errInvalidReportBasis = 2602,
  errInvalidBillPaymentMethod = 2700,
  errInvalidDataExtIndex = 2800,
  errAppFieldsOnly = 2801,
  errNoAppFieldsGuid = 2802,
  errDataExtNotDefined = 2804,
  errEventGuidNotRegistered = 2870,
  errDepositLineIncomplete = 2890,
  errFeatureNotSupported = 2910,
  errListTypeNotSet = 2911,
};

// The number a client sees for offset n.
constexpr int32_t ErrorNumber(int32_t n) noexcept { return vbObjectError + n; }

// Rows that carry several texts: the caller picks the one that applies.
inline constexpr std::string_view kMsgUSOnly =
    "This property is only supported for US versions of QuickBooks.";
inline constexpr std::string_view kMsgNonUSOnly =
    "This property is only supported for non-US versions of QuickBooks.";
inline constexpr std::string_view kMsgDiscountQuantity =
    "Cannot specify Quanity if Item is of type Discount.";
inline constexpr std::string_view kMsgAssetPurchaseDate = "Fixed Assets require a purchase date";
inline constexpr std::string_view kMsgAddressLineTooLong =
    "Address lines cannot exceed 41 characters.";
inline constexpr std::string_view kMsgAddressCityTooLong =
    "Address city cannot exceed 31 characters.";
inline constexpr std::string_view kMsgAddressStateTooLong =
    "Address state cannot exceed 21 characters.";
inline constexpr std::string_view kMsgAddressPostalCodeTooLong =
    "Address postal code cannot exceed 13 characters.";
inline constexpr std::string_view kMsgAddressCountryTooLong =
    "Address country cannot exceed 31 characters.";
// The database export's opening failures, raised with offsets 1001 and 1011.
inline constexpr std::string_view kMsgDatabaseConnection = "Unable to open database connection.";
inline constexpr std::string_view kMsgDatabaseFileMissing =
    "Could not find the database file specified. Make sure you typed the path and filename "
    "correctly.";

// How an error reaches the client.
enum class ErrorKind : uint8_t {
  Raised,             // thrown at once as an AutomationError
  Collected,          // added to an Errors list
  CollectedOrRaised,  // depends on the caller (see the row's note)
};

struct ErrorInfo {
  ErrorCode n;
  // The fixed text; empty when the text comes from QuickBooks or the caller. For rows with
  // several texts this is the first of `texts`.
  std::string_view message;
  ErrorKind kind;
  // The source the error is always raised with; empty when the raiser chooses it.
  std::string_view source;
  std::string_view note;  // field labels and occasions, for readers of the table
  std::span<const std::string_view> texts = {};  // every text of a several-text row

  int32_t Number() const noexcept { return ErrorNumber(n); }
};

// Every row, in ascending order of n.
std::span<const ErrorInfo> ErrorTable() noexcept;
// The row for offset n (not a full number), or nullptr.
const ErrorInfo* FindError(int32_t n) noexcept;
// The row's fixed text, or empty for an unknown n or a row without one.
std::string_view ErrorMessage(int32_t n) noexcept;

}  // namespace brennock
