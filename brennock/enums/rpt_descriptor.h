#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "brennock/enums/qc_enum_value.h"
#include "brennock/enums/report_enums.h"

namespace brennock {

// One report of the catalogue: which qbXML report query it uses, its menu group and the options
// it accepts. It is also an entry of the ReportTypes enumeration table.
class rptDescriptor : public qcEnumValue {
 public:
  rptDescriptor() = default;

  // The stored qbXML tag, or the description without blanks when none is stored
  // ("Audit Trail" gives "AuditTrail").
  std::string XMLTag() const override;
  int16_t Code() const override { return code_; }
  std::string Description() const override { return description_; }
  std::string CollectionKey() const override;

  qbEnumReportType ReportType() const noexcept { return reportType_; }
  qbEnumReportGroups ReportGroup() const noexcept { return reportGroup_; }
  bool HasTxns() const noexcept { return hasTxns_; }
  bool NeedEntity() const noexcept { return needEntity_; }
  bool NeedAccount() const noexcept { return needAccount_; }
  bool NoDateAllowed() const noexcept { return noDateAllowed_; }
  bool NoCalendarAllowed() const noexcept { return noCalendarAllowed_; }

  // Internal to the library: the catalogue fills descriptors.
  void SetCode(int16_t value) noexcept { code_ = value; }
  void SetDescription(std::string value) { description_ = std::move(value); }
  void SetXMLTag(std::string value) { xmlTag_ = std::move(value); }
  void SetReportType(qbEnumReportType value) noexcept { reportType_ = value; }
  void SetReportGroup(qbEnumReportGroups value) noexcept { reportGroup_ = value; }
  void SetHasTxns(bool value) noexcept { hasTxns_ = value; }
  void SetNeedEntity(bool value) noexcept { needEntity_ = value; }
  void SetNeedAccount(bool value) noexcept { needAccount_ = value; }
  void SetNoDateAllowed(bool value) noexcept { noDateAllowed_ = value; }
  void SetNoCalendarAllowed(bool value) noexcept { noCalendarAllowed_ = value; }

 private:
  std::string description_;
  std::string xmlTag_;  // empty: derived from the description
  int16_t code_ = 0;
  qbEnumReportType reportType_ = static_cast<qbEnumReportType>(0);
  qbEnumReportGroups reportGroup_ = static_cast<qbEnumReportGroups>(0);
  bool hasTxns_ = false;
  bool needEntity_ = false;
  bool needAccount_ = false;
  bool noDateAllowed_ = false;
  bool noCalendarAllowed_ = false;
};

}  // namespace brennock
