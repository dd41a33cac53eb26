#include "brennock/enums/report_catalogue.h"

#include <iterator>
#include <utility>

#include "brennock/enums/enumerations.h"
#include "brennock/enums/qc_enum.h"

namespace brennock {

namespace {

using Entry = ReportCatalogueEntry;

// Short names keep one report per line; prefixed so they cannot hide class names such as
// Company or Customers.
constexpr qbEnumReportType RptAging = qbReportTypeAging;
constexpr qbEnumReportType RptBudget = qbReportTypeBudgetSummary;
constexpr qbEnumReportType RptCustomSummary = qbReportTypeCustomSummary;
constexpr qbEnumReportType RptCustomDetail = qbReportTypeCustomDetail;
constexpr qbEnumReportType RptGeneralSummary = qbReportTypeGeneralSummary;
constexpr qbEnumReportType RptGeneralDetail = qbReportTypeGeneralDetail;
constexpr qbEnumReportType RptJob = qbReportTypeJob;
constexpr qbEnumReportType RptTime = qbReportTypeTime;
constexpr qbEnumReportType RptPayrollDetail = qbReportTypePayrollDetail;
constexpr qbEnumReportType RptPayrollSummary = qbReportTypePayrollSummary;

constexpr qbEnumReportGroups InCompany = qbReportGroupCompanyAndFinancial;
constexpr qbEnumReportGroups InCustomers = qbReportGroupCustomersAndReceivables;
constexpr qbEnumReportGroups InSales = qbReportGroupSales;
constexpr qbEnumReportGroups InJobsTime = qbReportGroupJobsAndTime;
constexpr qbEnumReportGroups InVendors = qbReportGroupVendorsAndPayables;
constexpr qbEnumReportGroups InPurchases = qbReportGroupPurchases;
constexpr qbEnumReportGroups InInventory = qbReportGroupInventory;
constexpr qbEnumReportGroups InPayroll = qbReportGroupEmployeesAndPayroll;
constexpr qbEnumReportGroups InBanking = qbReportGroupBanking;
constexpr qbEnumReportGroups InAccountant = qbReportGroupAccountantAndTaxes;
constexpr qbEnumReportGroups InBudgets = qbReportGroupBudgetsAndForecasts;
constexpr qbEnumReportGroups InCustom = qbReportGroupCustom;

constexpr uint8_t NoFlags = Entry::None;
constexpr uint8_t Txns = Entry::Txns;
constexpr uint8_t NeedEntity = Entry::NeedEntity;
constexpr uint8_t NeedAccount = Entry::NeedAccount;
constexpr uint8_t NoDate = Entry::NoDate;
constexpr uint8_t NoCalendar = Entry::NoCalendar;

// code, description, report type, group, stored qbXML tag, flags
constexpr Entry kReports[] = {
    {1, "1099 Detail", RptGeneralDetail, InVendors, {}, Txns},
    {2, "Audit Trail", RptGeneralDetail, InAccountant, {}, Txns},
    {3, "Balance Sheet Detail", RptGeneralDetail, InCompany, {}, Txns},
    {4, "Check Detail", RptGeneralDetail, InBanking, {}, Txns},
    {5, "Customer Balance Detail", RptGeneralDetail, InCustomers, {}, Txns},
    {6, "Deposit Detail", RptGeneralDetail, InBanking, {}, Txns},
    {7, "Estimates By Job", RptGeneralDetail, InJobsTime, {}, Txns},
    {8, "Expense By Vendor Detail", RptGeneralDetail, InCompany, {}, Txns},
    {9, "General Ledger", RptGeneralDetail, InAccountant, {}, Txns},
    {10, "Income By Customer Detail", RptGeneralDetail, InCompany, {}, Txns},
    {11, "Income Tax Detail", RptGeneralDetail, InAccountant, {}, Txns},
    {12, "Inventory Valuation Detail", RptGeneralDetail, InInventory, {}, Txns},
    {13, "Job Progress Invoices Vs Estimates", RptGeneralDetail, InJobsTime, {}, Txns},
    {14, "Journal", RptGeneralDetail, InAccountant, {}, Txns},
    {15, "Missing Checks", RptGeneralDetail, InBanking, {}, Txns | NeedAccount},
    {16, "Open Invoices", RptGeneralDetail, InCustomers, {}, Txns},
    {17, "Open Purchase Orders", RptGeneralDetail, InPurchases, "OpenPOs", Txns},
    {18, "Open Purchase Orders By Job", RptGeneralDetail, InPurchases, "OpenPOsByJob", Txns},
    {19, "Pending Sales", RptGeneralDetail, InSales, {}, Txns},
    {20, "Profit And Loss Detail", RptGeneralDetail, InCompany, {}, Txns},
    {21, "Purchase By Item Detail", RptGeneralDetail, InPurchases, {}, Txns},
    {22, "Purchase By Vendor Detail", RptGeneralDetail, InPurchases, {}, Txns},
    {23, "Sales By Customer Detail", RptGeneralDetail, InSales, {}, Txns},
    {24, "Sales By Item Detail", RptGeneralDetail, InSales, {}, Txns},
    {25, "Sales By Rep Detail", RptGeneralDetail, InSales, {}, Txns},
    {26, "Transaction Detail By Account", RptGeneralDetail, InAccountant, "TxnDetailByAccount",
     Txns},
    {27, "Transaction List By Customer", RptGeneralDetail, InCustomers, "TxnListByCustomer", Txns},
    {28, "Transaction List By Date", RptGeneralDetail, InAccountant, "TxnListByDate", Txns},
    {29, "Transaction List By Vendor", RptGeneralDetail, InVendors, "TxnListByVendor", Txns},
    {30, "Unpaid Bills Detail", RptGeneralDetail, InVendors, {}, Txns},
    {31, "Unbilled Costs By Job", RptGeneralDetail, InJobsTime, {}, Txns},
    {32, "Vendor Balance Detail", RptGeneralDetail, InVendors, {}, Txns},
    {33, "AP Aging Detail", RptAging, InVendors, "APAgingDetail", Txns},
    {34, "AP Aging Summary", RptAging, InVendors, "APAgingSummary", NoFlags},
    {35, "AR Aging Detail", RptAging, InCustomers, "ARAgingDetail", Txns},
    {36, "AR Aging Summary", RptAging, InCustomers, "ARAgingSummary", NoFlags},
    {37, "Collections Report", RptAging, InCustomers, {}, Txns},
    {38, "Balance Sheet Prev Year Comp", RptGeneralSummary, InCompany, {}, NoFlags},
    {39, "Balance Sheet Standard", RptGeneralSummary, InCompany, {}, NoFlags},
    {40, "Balance Sheet Summary", RptGeneralSummary, InCompany, {}, NoFlags},
    {41, "Customer Balance Summary", RptGeneralSummary, InCustomers, {}, NoFlags},
    {42, "Expense By Vendor Summary", RptGeneralSummary, InCompany, {}, NoFlags},
    {43, "Income By Customer Summary", RptGeneralSummary, InCompany, {}, NoFlags},
    {44, "Inventory Stock Status By Item", RptGeneralSummary, InInventory, {}, NoCalendar},
    {45, "Inventory Stock Status By Vendor", RptGeneralSummary, InInventory, {}, NoCalendar},
    {46, "Income Tax Summary", RptGeneralSummary, InAccountant, {}, NoFlags},
    {47, "Inventory Valuation Summary", RptGeneralSummary, InInventory, {}, NoCalendar},
    {48, "Physical Inventory Worksheet", RptGeneralSummary, InInventory, {}, NoDate | NoCalendar},
    {49, "Profit And Loss By Class", RptGeneralSummary, InCompany, {}, NoFlags},
    {50, "Profit And Loss By Job", RptGeneralSummary, InCompany, {}, NoFlags},
    {51, "Profit And Loss Prev Year Comp", RptGeneralSummary, InCompany, {}, NoFlags},
    {52, "Profit And Loss Standard", RptGeneralSummary, InCompany, {}, NoFlags},
    {53, "Profit And Loss YTD Comp", RptGeneralSummary, InCompany, {}, NoFlags},
    {54, "Purchase By Item Summary", RptGeneralSummary, InPurchases, {}, NoFlags},
    {55, "Purchase By Vendor Summary", RptGeneralSummary, InPurchases, {}, NoFlags},
    {56, "Sales By Customer Summary", RptGeneralSummary, InSales, {}, NoFlags},
    {57, "Sales By Item Summary", RptGeneralSummary, InSales, {}, NoFlags},
    {58, "Sales By Rep Summary", RptGeneralSummary, InSales, {}, NoFlags},
    {59, "Sales Tax Liability", RptGeneralSummary, InVendors, {}, NoFlags},
    {60, "Sales Tax Revenue Summary", RptGeneralSummary, InVendors, {}, NoFlags},
    {61, "Trial Balance", RptGeneralSummary, InAccountant, {}, NoFlags},
    {62, "Vendor Balance Summary", RptGeneralSummary, InVendors, {}, NoFlags},
    {63, "Job Estimates Vs Actuals Detail", RptJob, InJobsTime, {}, Txns | NeedEntity},
    {64, "Job Estimates Vs Actuals Summary", RptJob, InJobsTime, {}, NoFlags},
    {65, "Job Profitability Detail", RptJob, InJobsTime, {}, Txns | NeedEntity},
    {66, "Job Profitability Summary", RptJob, InJobsTime, {}, NoFlags},
    {67, "Item Estimates Vs Actuals", RptJob, InJobsTime, {}, NoFlags},
    {68, "Item Profitability", RptJob, InJobsTime, {}, NoFlags},
    {69, "Time By Item", RptTime, InJobsTime, {}, NoFlags},
    {70, "Time By Job Detail", RptTime, InJobsTime, {}, NoFlags},
    {71, "Time By Job Summary", RptTime, InJobsTime, {}, NoFlags},
    {72, "Time By Name", RptTime, InJobsTime, {}, NoFlags},
    {73, "Balance Sheet Budget Overview", RptBudget, InBudgets, {}, NoFlags},
    {74, "Balance Sheet Budget Vs Actual", RptBudget, InBudgets, {}, NoFlags},
    {75, "Profit And Loss Budget Overview", RptBudget, InBudgets, {}, NoFlags},
    {76, "Profit And Loss Budget Performance", RptBudget, InBudgets, {}, NoFlags},
    {77, "Profit And Loss Budget Vs Actual", RptBudget, InBudgets, {}, NoFlags},
    {78, "Employee State Taxes Detail", RptPayrollDetail, InPayroll, {}, NoFlags},
    {79, "Payroll Item Detail", RptPayrollDetail, InPayroll, {}, NoFlags},
    {80, "Payroll Review Detail", RptPayrollDetail, InPayroll, {}, NoFlags},
    {81, "Payroll Transaction Detail", RptPayrollDetail, InPayroll, {}, NoFlags},
    {82, "Payroll Transactions By Payee", RptPayrollDetail, InPayroll, {}, NoFlags},
    {83, "Employee Earnings Summary", RptPayrollSummary, InPayroll, {}, NoFlags},
    {84, "Payroll Liability Balances", RptPayrollSummary, InPayroll, {}, NoFlags},
    {85, "Payroll Summary", RptPayrollSummary, InPayroll, {}, NoFlags},
    {86, "Open Sales Order By Customer", RptGeneralDetail, InSales, {}, Txns},
    {87, "Open Sales Order By Item", RptGeneralDetail, InSales, {}, Txns},
    {88, "Transaction Detail", RptCustomDetail, InCustom, "CustomTxnDetail", Txns},
    {89, "Transaction Summary", RptCustomSummary, InCustom, "CustomSummary", NoFlags},
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
