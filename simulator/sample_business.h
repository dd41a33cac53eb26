#pragma once

#include <functional>
#include <map>
#include <string>

#include "simulator/company_file.h"
#include "simulator/store/company_db.h"

namespace brennock::simulator {

// Fills a new company file with a sample business (inside the caller's transaction) and points
// the default-account and default-tax preferences at its records. progress, when set, hears the
// share of the customers written so far (0 to 1).
void AddSampleBusiness(CompanyDb& company, const SampleBusiness& sample,
                       std::map<std::string, std::string>& company_values,
                       std::map<std::string, std::string>& preferences,
                       const std::function<void(double)>& progress = {});

}  // namespace brennock::simulator
