#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brennock::simulator {

// The edition of QuickBooks a company file belongs to. Non-US editions list their qbXML versions
// with the country prefix ("CA3.0", "UK3.0", "AU3.0").
enum class Edition { kUS, kCA, kUK, kAU };

// A generated sample business: deterministic for a seed, sized by the counts.
struct SampleBusiness {
  uint64_t seed = 1;
  int customers = 20;
  int jobs_per_customer = 1;  // every third customer gets this many jobs
  int vendors = 8;
  int employees = 4;
  int other_names = 2;
  int invoices = 60;  // a year of them, up to the day the file is made
};

struct CompanyFileOptions {
  Edition edition = Edition::kUS;
  std::string product_name;  // empty: "QuickBooks Enterprise Solutions 16.0" and the like
  int major_version = 26;
  int minor_version = 0;
  std::vector<std::string> qbxml_versions;  // empty: DefaultQbxmlVersions(edition)
  // Company information and preferences by element path below CompanyRet / PreferencesRet
  // ("CompanyName", "Address.City", "AccountingPreferences.IsUsingClassTracking"); they replace
  // the defaults. A ...Ref path takes the full name of the record it names.
  std::map<std::string, std::string> company;
  std::map<std::string, std::string> preferences;
  // "LastRestoreTime" and "LastCondenseTime" (date-times) answered by the company-activity query.
  std::map<std::string, std::string> activity;
  std::optional<SampleBusiness> sample;
  // Called from the creating thread with the share of the work done, 0 to 1 (1 once the file is
  // complete); large sample businesses take seconds. Optional.
  std::function<void(double fraction)> progress;
};

// "1.0" to "16.0", with the edition's prefix on versions from 2.0 on outside the US.
std::vector<std::string> DefaultQbxmlVersions(Edition edition);

// Creates a company file at path. Throws std::runtime_error when the file exists or cannot be
// written.
void CreateCompanyFile(const std::string& path, const CompanyFileOptions& options = {});

}  // namespace brennock::simulator
