// Until the company module is part of the library there is nothing to load the company into. The
// company module replaces this file with its own definition of SessionCompanyLoader.
#include "brennock/session/company_loader.h"

namespace brennock {

CompanyLoader* SessionCompanyLoader() { return nullptr; }

}  // namespace brennock
