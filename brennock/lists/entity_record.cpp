#include "brennock/internal/lists/entity_record.h"

#include <functional>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/util/slab_allocator.h"

namespace brennock {
namespace {

EntityRecordCore& Entity(qcBase& record) { return static_cast<EntityRecordCore&>(record); }

// A fingerprint of the address fields; 0 for an address with none.
uint64_t Stamp(const brennock::Address* address) {
  if (address == nullptr) return 0;
  uint64_t stamp = 0;
  bool any = false;
  for (const Binding<brennock::Address>& row : brennock::Address::Bindings().Rows()) {
    std::string_view text = row.text(*address);
    any |= !text.empty();
    stamp = stamp * 1099511628211ULL ^ std::hash<std::string_view>{}(text);
  }
  return any ? (stamp | 1) : 0;
}

}  // namespace

const std::shared_ptr<brennock::Address>& EntityRecordCore::MadeAddress() const {
  if (keptAddress_.Empty()) return address_;
  brennock::Address::MadeFromKept(address_, keptAddress_);
  addressStamp_ = Stamp(address_.get());
  return address_;
}

std::shared_ptr<brennock::Address> EntityRecordCore::Address() const {
  if (!MadeAddress()) address_ = MakeSlabShared<brennock::Address>();
  return address_;
}

// A kept address is as it was read: unchanged.
bool EntityRecordCore::AddressChanged() const {
  return keptAddress_.Empty() && Stamp(address_.get()) != addressStamp_;
}

bool EntityRecordCore::AddressPending(const qcBase& record) {
  return static_cast<const EntityRecordCore&>(record).AddressChanged();
}

void EntityRecordCore::BeforeRead() {
  keptAddress_.Clear();
  if (address_) address_->Reset();
  addressStamp_ = 0;
}

void EntityRecordCore::ReadAddress(qcBase& record, const FieldElement& element) {
  EntityRecordCore& self = Entity(record);
  // A kept address gets its stamp when it is made.
  if (!brennock::Address::ReadOrKeep(self.address_, self.keptAddress_, element))
    self.addressStamp_ = Stamp(self.address_.get());
}

void EntityRecordCore::WriteAddress(const qcBase& record, RequestWriter& builder,
                                    std::string_view element, uint16_t flags, BodyForm form) {
  const auto& self = static_cast<const EntityRecordCore&>(record);
  const bool employee = self.ObjectType() == qoObjectTypeEmployee;
  if (form == BodyForm::kMod && self.AddressChanged()) {
    // Every line of a changed address, the emptied ones empty, so QuickBooks clears them.
    builder.OpenAggregateOnly(element);
    self.Address()->WriteChangedLines(builder, employee);
    builder.EndAggregate(element);
    return;
  }
  if (form == BodyForm::kMod && (flags & kModAlways) != 0) return;
  const brennock::Address* address = self.MadeAddress().get();
  if (Stamp(address) == 0) return;
  // An employee's aggregate lacks some lines: one holding only those is not written at all.
  if (employee && !address->HasEmployeeElements()) return;
  builder.OpenAggregateOnly(element);
  address->WriteEntityElements(builder, employee);
  builder.EndAggregate(element);
}

void EntityRecordCore::CheckAddress(qcErrors& errors, std::string_view field) const {
  brennock::Address* address = MadeAddress().get();
  if (address == nullptr) return;
  qcErrors scratch;
  if (!address->CheckLengths(scratch, "Address")) AddTableError(errors, errAddress, field);
}

void EntityRecordCore::CopyEntity(const EntityRecordCore& from) {
  SetIsActive(from.IsActive());
  SetSalutation(from.salutation_);
  SetFirstName(from.firstName_);
  SetMiddleName(from.middleName_);
  SetLastName(from.lastName_);
  SetPhone(from.phone_);
  SetAltPhone(from.altPhone_);
  SetEmail(from.email_);
  SetAccountNumber(from.accountNumber_);
  *Address() = *from.Address();
}

}  // namespace brennock
