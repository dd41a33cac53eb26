#include "brennock/model/report_catalogue.h"

#include <iterator>

#include "brennock/model/enumerations.h"
#include "brennock/model/qc_enum.h"

namespace brennock {

namespace {

using Entry = ReportCatalogueEntry;

// Short names keep one report per line.
constexpr qbEnumReportType Aging = qbReportTypeAging;
constexpr qbEnumReportType Budget = qbReportTypeBudgetSummary;
constexpr qbEnumReportType CustomSummary = qbReportTypeCustomSummary;
constexpr qbEnumReportType CustomDetail = qbReportTypeCustomDetail;
constexpr qbEnumReportType GeneralSummary = qbReportTypeGeneralSummary;
constexpr qbEnumReportType GeneralDetail = qbReportTypeGeneralDetail;
constexpr qbEnumReportType Job = qbReportTypeJob;
constexpr qbEnumReportType Time = qbReportTypeTime;
constexpr qbEnumReportType PayrollDetail = qbReportTypePayrollDetail;
constexpr qbEnumReportType PayrollSummary = qbReportTypePayrollSummary;

constexpr qbEnumReportGroups Company = qbReportGroupCompanyAndFinancial;
constexpr qbEnumReportGroups Customers = qbReportGroupCustomersAndReceivables;
constexpr qbEnumReportGroups Sales = qbReportGroupSales;
constexpr qbEnumReportGroups JobsTime = qbReportGroupJobsAndTime;
constexpr qbEnumReportGroups Vendors = qbReportGroupVendorsAndPayables;
constexpr qbEnumReportGroups Purchases = qbReportGroupPurchases;
constexpr qbEnumReportGroups Inventory = qbReportGroupInventory;
constexpr qbEnumReportGroups Payroll = qbReportGroupEmployeesAndPayroll;
constexpr qbEnumReportGroups Banking = qbReportGroupBanking;
constexpr qbEnumReportGroups Accountant = qbReportGroupAccountantAndTaxes;
constexpr qbEnumReportGroups Budgets = qbReportGroupBudgetsAndForecasts;
constexpr qbEnumReportGroups Custom = qbReportGroupCustom;

constexpr uint8_t None = Entry::None;
constexpr uint8_t Txns = Entry::Txns;
constexpr uint8_t NeedEntity = Entry::NeedEntity;
constexpr uint8_t NeedAccount = Entry::NeedAccount;
constexpr uint8_t NoDate = Entry::NoDate;
constexpr uint8_t NoCalendar = Entry::NoCalendar;

// code, description, report type, group, stored qbXML tag, flags
constexpr Entry kReports[] = {
    {1, "1099 Detail", GeneralDetail, Vendors, {}, Txns},
    {2, "Audit Trail", GeneralDetail, Accountant, {}, Txns},
    {3, "Balance Sheet Detail", GeneralDetail, Company, {}, Txns},
    {4, "Check Detail", GeneralDetail, Banking, {}, Txns},
    {5, "Customer Balance Detail", GeneralDetail, Customers, {}, Txns},
    {6, "Deposit Detail", GeneralDetail, Banking, {}, Txns},
    {7, "Estimates By Job", GeneralDetail, JobsTime, {}, Txns},
    {8, "Expense By Vendor Detail", GeneralDetail, Company, {}, Txns},
    {9, "General Ledger", GeneralDetail, Accountant, {}, Txns},
    {10, "Income By Customer Detail", GeneralDetail, Company, {}, Txns},
    {11, "Income Tax Detail", GeneralDetail, Accountant, {}, Txns},
    {12, "Inventory Valuation Detail", GeneralDetail, Inventory, {}, Txns},
    {13, "Job Progress Invoices Vs Estimates", GeneralDetail, JobsTime, {}, Txns},
    {14, "Journal", GeneralDetail, Accountant, {}, Txns},
    {15, "Missing Checks", GeneralDetail, Banking, {}, Txns | NeedAccount},
    {16, "Open Invoices", GeneralDetail, Customers, {}, Txns},
    {17, "Open Purchase Orders", GeneralDetail, Purchases, "OpenPOs", Txns},
    {18, "Open Purchase Orders By Job", GeneralDetail, Purchases, "OpenPOsByJob", Txns},
    {19, "Pending Sales", GeneralDetail, Sales, {}, Txns},
    {20, "Profit And Loss Detail", GeneralDetail, Company, {}, Txns},
    {21, "Purchase By Item Detail", GeneralDetail, Purchases, {}, Txns},
    {22, "Purchase By Vendor Detail", GeneralDetail, Purchases, {}, Txns},
    {23, "Sales By Customer Detail", GeneralDetail, Sales, {}, Txns},
    {24, "Sales By Item Detail", GeneralDetail, Sales, {}, Txns},
    {25, "Sales By Rep Detail", GeneralDetail, Sales, {}, Txns},
    {26, "Transaction Detail By Account", GeneralDetail, Accountant, "TxnDetailByAccount", Txns},
    {27, "Transaction List By Customer", GeneralDetail, Customers, "TxnListByCustomer", Txns},
    {28, "Transaction List By Date", GeneralDetail, Accountant, "TxnListByDate", Txns},
    {29, "Transaction List By Vendor", GeneralDetail, Vendors, "TxnListByVendor", Txns},
    {30, "Unpaid Bills Detail", GeneralDetail, Vendors, {}, Txns},
    {31, "Unbilled Costs By Job", GeneralDetail, JobsTime, {}, Txns},
    {32, "Vendor Balance Detail", GeneralDetail, Vendors, {}, Txns},
    {33, "AP Aging Detail", Aging, Vendors, "APAgingDetail", Txns},
    {34, "AP Aging Summary", Aging, Vendors, "APAgingSummary", None},
    {35, "AR Aging Detail", Aging, Customers, "ARAgingDetail", Txns},
    {36, "AR Aging Summary", Aging, Customers, "ARAgingSummary", None},
    {37, "Collections Report", Aging, Customers, {}, Txns},
    {38, "Balance Sheet Prev Year Comp", GeneralSummary, Company, {}, None},
    {39, "Balance Sheet Standard", GeneralSummary, Company, {}, None},
    {40, "Balance Sheet Summary", GeneralSummary, Company, {}, None},
    {41, "Customer Balance Summary", GeneralSummary, Customers, {}, None},
    {42, "Expense By Vendor Summary", GeneralSummary, Company, {}, None},
    {43, "Income By Customer Summary", GeneralSummary, Company, {}, None},
    {44, "Inventory Stock Status By Item", GeneralSummary, Inventory, {}, NoCalendar},
    {45, "Inventory Stock Status By Vendor", GeneralSummary, Inventory, {}, NoCalendar},
    {46, "Income Tax Summary", GeneralSummary, Accountant, {}, None},
    {47, "Inventory Valuation Summary", GeneralSummary, Inventory, {}, NoCalendar},
    {48, "Physical Inventory Worksheet", GeneralSummary, Inventory, {}, NoDate | NoCalendar},
    {49, "Profit And Loss By Class", GeneralSummary, Company, {}, None},
    {50, "Profit And Loss By Job", GeneralSummary, Company, {}, None},
    {51, "Profit And Loss Prev Year Comp", GeneralSummary, Company, {}, None},
    {52, "Profit And Loss Standard", GeneralSummary, Company, {}, None},
    {53, "Profit And Loss YTD Comp", GeneralSummary, Company, {}, None},
    {54, "Purchase By Item Summary", GeneralSummary, Purchases, {}, None},
    {55, "Purchase By Vendor Summary", GeneralSummary, Purchases, {}, None},
    {56, "Sales By Customer Summary", GeneralSummary, Sales, {}, None},
    {57, "Sales By Item Summary", GeneralSummary, Sales, {}, None},
    {58, "Sales By Rep Summary", GeneralSummary, Sales, {}, None},
    {59, "Sales Tax Liability", GeneralSummary, Vendors, {}, None},
    {60, "Sales Tax Revenue Summary", GeneralSummary, Vendors, {}, None},
    {61, "Trial Balance", GeneralSummary, Accountant, {}, None},
    {62, "Vendor Balance Summary", GeneralSummary, Vendors, {}, None},
    {63, "Job Estimates Vs Actuals Detail", Job, JobsTime, {}, Txns | NeedEntity},
    {64, "Job Estimates Vs Actuals Summary", Job, JobsTime, {}, None},
    {65, "Job Profitability Detail", Job, JobsTime, {}, Txns | NeedEntity},
    {66, "Job Profitability Summary", Job, JobsTime, {}, None},
    {67, "Item Estimates Vs Actuals", Job, JobsTime, {}, None},
    {68, "Item Profitability", Job, JobsTime, {}, None},
    {69, "Time By Item", Time, JobsTime, {}, None},
    {70, "Time By Job Detail", Time, JobsTime, {}, None},
    {71, "Time By Job Summary", Time, JobsTime, {}, None},
    {72, "Time By Name", Time, JobsTime, {}, None},
    {73, "Balance Sheet Budget Overview", Budget, Budgets, {}, None},
    {74, "Balance Sheet Budget Vs Actual", Budget, Budgets, {}, None},
    {75, "Profit And Loss Budget Overview", Budget, Budgets, {}, None},
    {76, "Profit And Loss Budget Performance", Budget, Budgets, {}, None},
    {77, "Profit And Loss Budget Vs Actual", Budget, Budgets, {}, None},
    {78, "Employee State Taxes Detail", PayrollDetail, Payroll, {}, None},
    {79, "Payroll Item Detail", PayrollDetail, Payroll, {}, None},
    {80, "Payroll Review Detail", PayrollDetail, Payroll, {}, None},
    {81, "Payroll Transaction Detail", PayrollDetail, Payroll, {}, None},
    {82, "Payroll Transactions By Payee", PayrollDetail, Payroll, {}, None},
    {83, "Employee Earnings Summary", PayrollSummary, Payroll, {}, None},
    {84, "Payroll Liability Balances", PayrollSummary, Payroll, {}, None},
    {85, "Payroll Summary", PayrollSummary, Payroll, {}, None},
    {86, "Open Sales Order By Customer", GeneralDetail, Sales, {}, Txns},
    {87, "Open Sales Order By Item", GeneralDetail, Sales, {}, Txns},
    {88, "Transaction Detail", CustomDetail, Custom, "CustomTxnDetail", Txns},
    {89, "Transaction Summary", CustomSummary, Custom, "CustomSummary", None},
};

constexpr bool InCodeOrder() {
  for (size_t i = 0; i < std::size(kReports); ++i) {
    if (kReports[i].code != static_cast<int16_t>(i + 1)) return false;
  }
  return true;
}
static_assert(std::size(kReports) == 89);
static_assert(InCodeOrder(), "the catalogue is listed by code");

constexpr std::string_view kTypePrefixes[] = {
    "Aging",         "BudgetSummary", "CustomSummary", "CustomDetail",  "GeneralSummary",
    "GeneralDetail", "Job",           "Time",          "PayrollDetail", "PayrollSummary",
};

}  // namespace

std::span<const ReportCatalogueEntry> ReportCatalogue() noexcept { return kReports; }

void FillReportTable(QCEnum& table) {
  table.Reserve(std::size(kReports));
  for (const Entry& r : kReports) {
    auto d = std::make_shared<rptDescriptor>();
    d->SetCode(r.code);
    d->SetDescription(std::string(r.description));
    d->SetXMLTag(std::string(r.tag));
    d->SetReportType(r.type);
    d->SetReportGroup(r.group);
    d->SetHasTxns((r.flags & Txns) != 0);
    d->SetNeedEntity((r.flags & NeedEntity) != 0);
    d->SetNeedAccount((r.flags & NeedAccount) != 0);
    d->SetNoDateAllowed((r.flags & NoDate) != 0);
    d->SetNoCalendarAllowed((r.flags & NoCalendar) != 0);
    table.AddObject(std::move(d));
  }
}

std::string_view ReportTypePrefix(qbEnumReportType type) noexcept {
  if (type < 1 || type > static_cast<int32_t>(std::size(kTypePrefixes))) return {};
  return kTypePrefixes[type - 1];
}

std::shared_ptr<rptDescriptor> ReportDescriptor(qbEnumReports code) {
  auto entry = ThreadEnumerations()->Item(qoeReport)->ItemByCode(static_cast<int16_t>(code));
  auto descriptor = std::dynamic_pointer_cast<rptDescriptor>(entry);
  if (!descriptor) RaiseUnknownEnumCode();  // a client put a plain entry into the table
  return descriptor;
}

}  // namespace brennock
