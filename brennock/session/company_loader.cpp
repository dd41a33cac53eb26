#include "brennock/internal/session/company_loader.h"

namespace brennock {
namespace {

CompanyLoader* registeredLoader = nullptr;

}  // namespace

void RegisterCompanyLoader(CompanyLoader* loader) noexcept { registeredLoader = loader; }

CompanyLoader* RegisteredCompanyLoader() noexcept { return registeredLoader; }

}  // namespace brennock
