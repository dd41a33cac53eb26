#include "brennock/lists/other_name.h"

#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/util/text.h"

namespace brennock {
namespace {

bool Over(std::string_view value, size_t limit) { return Utf8Length(value) > limit; }

}  // namespace

const RecordBindings& OtherName::Bindings() {
  using T = codecs::Text;
  using O = OtherName;
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet | kSkipEmpty;
  BRENNOCK_BINDINGS(
      qcBase, ModHeadRows(), NameRow("Name", kInAdd | kInMod | kInRet),
      ActiveRow(kInAdd | kInMod | kInRet),
      std::array{
          Bind<&O::companyName_, T>("CompanyName", kAll),
          Bind<&O::salutation_, T>("Salutation", kAll), Bind<&O::firstName_, T>("FirstName", kAll),
          Bind<&O::middleName_, T>("MiddleName", kAll), Bind<&O::lastName_, T>("LastName", kAll),
          AddressRow("OtherNameAddress", kInAdd | kInMod | kInRet),
          Bind<&O::phone_, T>("Phone", kAll), Bind<&O::altPhone_, T>("AltPhone", kAll),
          Bind<&O::fax_, T>("Fax", kAll), Bind<&O::email_, T>("Email", kAll),
          Bind<&O::contact_, T>("Contact", kAll), Bind<&O::altContact_, T>("AltContact", kAll),
          Bind<&O::accountNumber_, T>("AccountNumber", kAll), DataExtRow()},
      UserDataRow());
}

void OtherName::CheckRules(qcErrors& errors) {
  if (name_.empty()) AddTableError(errors, errNameNull, "Name");
  if (Over(name_, 41)) AddTableError(errors, errNameTooLong, "Name");
  if (Over(companyName_, 41)) AddTableError(errors, errVendorCompanyNameTooLong, "Company Name");
  if (Over(salutation_, 15)) AddTableError(errors, errSalutationTooLong, "Salutation");
  if (Over(firstName_, 25)) AddTableError(errors, errFirstLastNameTooLong, "First Name");
  if (Over(middleName_, 5)) AddTableError(errors, errMiddleNameTooLong, "Middle Name");
  if (Over(lastName_, 25)) {
    AddTableError(errors, errFirstLastNameTooLong, "Last Name");
  } else if (!firstName_.empty() && lastName_ == firstName_) {
    AddTableError(errors, errLastNameSameAsFirst, "Last Name");
  }
  CheckAddress(errors, "OtherName Address");
  if (Over(phone_, 21)) AddTableError(errors, errPhoneTooLong, "Phone");
  if (Over(altPhone_, 21)) AddTableError(errors, errPhoneTooLong, "Alt Phone");
  if (Over(fax_, 21)) AddTableError(errors, errPhoneTooLong, "Fax");
  if (Over(email_, 99)) AddTableError(errors, errEmailTooLong, "Email");
  if (Over(contact_, 41)) AddTableError(errors, errContactTooLong, "Contact");
  if (Over(altContact_, 41)) AddTableError(errors, errContactTooLong, "Alt Contact");
  if (Over(accountNumber_, 99))
    AddTableError(errors, errCustomerAccountNumberTooLong, "Account Number");
}

std::shared_ptr<OtherName> OtherNames::Add(const std::string& Name, bool IsActive) {
  std::shared_ptr<OtherName> record = NewMember();
  Fill(*record, Name, IsActive);
  FileNew(record);
  return record;
}

}  // namespace brennock
