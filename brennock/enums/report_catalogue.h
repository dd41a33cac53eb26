#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "brennock/enums/report_enums.h"
#include "brennock/enums/rpt_descriptor.h"

namespace brennock {

class QCEnum;

// The 89 reports QuickBooks can run through qbXML, as static data (internal to the library).
struct ReportCatalogueEntry {
  enum Flags : uint8_t {
    None = 0,
    Txns = 1,         // HasTxns
    NeedEntity = 2,   // the report needs an entity filter
    NeedAccount = 4,  // the report needs an account filter
    NoDate = 8,       // NoDateAllowed: no report period is sent
    NoCalendar = 16,  // NoCalendarAllowed
  };

  int16_t code;  // qbEnumReports
  std::string_view description;
  qbEnumReportType type;
  qbEnumReportGroups group;
  std::string_view tag;  // empty: the description without blanks
  uint8_t flags;
};

// Every report, in code order (entry i has code i + 1).
std::span<const ReportCatalogueEntry> ReportCatalogue() noexcept;

// Adds one descriptor per report to the report table (ReportTypes).
void FillReportTable(QCEnum& table);

// The request prefix a report type selects ("GeneralDetail" gives GeneralDetailReportQueryRq);
// empty for a value outside 1..10.
std::string_view ReportTypePrefix(qbEnumReportType type) noexcept;

// This thread's descriptor of a report; an unknown code raises 1003 "Unknown Code".
std::shared_ptr<rptDescriptor> ReportDescriptor(qbEnumReports code);

}  // namespace brennock
