#include "brennock/lists/address.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/field_limits.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/util/text.h"
#include "brennock/internal/xml/deferred_element.h"
#include "brennock/internal/xml/element_tree.h"

namespace brennock {
namespace {

// The region element of a record address in the session's edition.
std::string_view RegionElement() {
  const SessionState& session = Session();
  if (session.ukEdition || session.australianEdition) return "County";
  if (session.nonUSEdition) return "Province";
  return "State";
}

}  // namespace

Address::Address() = default;
Address::~Address() = default;

// A copy has the same fields, state and user data, and errors of its own.
Address::Address(const Address& other) { *this = other; }

Address& Address::operator=(const Address& other) {
  if (this == &other) return *this;
  addr1_ = other.addr1_;
  addr2_ = other.addr2_;
  city_ = other.city_;
  state_ = other.state_;
  postalCode_ = other.postalCode_;
  country_ = other.country_;
  // An address without a block copies as one with an empty block; the errors stay this one's.
  if (other.rare_ || rare_) {
    static const Rare kNone;
    const Rare& from = other.rare_ ? *other.rare_ : kNone;
    Rare& rare = MutableRare();
    rare.addr3 = from.addr3;
    rare.addr4 = from.addr4;
    rare.addr5 = from.addr5;
    rare.note = from.note;
    rare.userData = from.userData;
  }
  objectState_ = other.objectState_;
  return *this;
}

Address::Rare& Address::MutableRare() {
  if (!rare_) rare_ = std::make_unique<Rare>();
  return *rare_;
}

const Variant& Address::UserData() const noexcept {
  static const Variant kEmpty;
  return rare_ ? rare_->userData : kEmpty;
}

void Address::CopyAddress(const Address& from) {
  if (this == &from) return;
  qoEnumObjectState keep = objectState_;
  Variant userData = UserData();
  *this = from;
  if (rare_) rare_->userData = std::move(userData);
  objectState_ = keep == qoObjectStateNew ? keep : qoObjectStateDirty;
}

const BindingTable<Address>& Address::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet | kSkipEmpty;
  using T = codecs::Text;
  // Other editions send the region as Province or County.
  constexpr uint16_t kRegion = kInRet | kNotInSchema;
  BRENNOCK_BINDINGS(Address,
                    std::array{Bind<&Address::addr1_, T, Address>("Addr1", kAll),
                               Bind<&Address::addr2_, T, Address>("Addr2", kAll),
                               BindRare<&Address::rare_, &Rare::addr3, T, Address>("Addr3", kAll),
                               BindRare<&Address::rare_, &Rare::addr4, T, Address>("Addr4", kAll),
                               BindRare<&Address::rare_, &Rare::addr5, T, Address>("Addr5", kAll),
                               Bind<&Address::city_, T, Address>("City", kAll),
                               Bind<&Address::state_, T, Address>("State", kAll),
                               ReadOnly(Bind<&Address::state_, T, Address>("Province", kRegion)),
                               ReadOnly(Bind<&Address::state_, T, Address>("County", kRegion)),
                               Bind<&Address::postalCode_, T, Address>("PostalCode", kAll),
                               Bind<&Address::country_, T, Address>("Country", kAll),
                               BindRare<&Address::rare_, &Rare::note, T, Address>("Note", kAll)});
}

std::shared_ptr<qcErrors> Address::Errors() {
  std::shared_ptr<qcErrors>& errors = MutableRare().errors;
  if (!errors) errors = std::make_shared<qcErrors>();
  return errors;
}

bool Address::IsEmpty() const noexcept {
  return addr1_.empty() && addr2_.empty() && city_.empty() && state_.empty() &&
         postalCode_.empty() && country_.empty() &&
         (!rare_ || (rare_->addr3.empty() && rare_->addr4.empty() && rare_->addr5.empty() &&
                     rare_->note.empty()));
}

bool Address::Validate() {
  std::shared_ptr<qcErrors> errors = Errors();
  errors->Clear();
  if (objectState_ == qoObjectStateClean) return true;
  return CheckLengths(*errors, {});
}

void Address::Clear() {
  addr1_.clear();
  addr2_.clear();
  city_.clear();
  state_.clear();
  postalCode_.clear();
  country_.clear();
  if (rare_) {
    rare_->addr3.clear();
    rare_->addr4.clear();
    rare_->addr5.clear();
    rare_->note.clear();
  }
}

void Address::FromDom(const XmlNode& aggregate) {
  Clear();
  ReadFields<Address>(*this, aggregate, Bindings().Readers());
  objectState_ = qoObjectStateClean;
  changed_ = 0;
}

void Address::FromDom(const FieldElement& aggregate) {
  Clear();
  FromDomEmpty(aggregate);
}

void Address::FromDomEmpty(const FieldElement& aggregate) {
  Bindings().Read(*this, aggregate);
  objectState_ = qoObjectStateClean;
  changed_ = 0;
}

void Address::FromKeptEmpty(DeferredElement& kept) {
  ElementTree tree;
  kept.Rebuild(tree);
  FromDomEmpty(tree.Root());
  kept.Clear();
}

bool Address::ReadOrKeep(std::shared_ptr<Address>& address, DeferredElement& kept,
                         const FieldElement& element) {
  if (address) {
    address->FromDom(element);
    return false;
  }
  if (kept.Keep(element)) return true;
  address = MakeSlabShared<Address>();
  address->FromDomEmpty(element);
  return false;
}

const std::shared_ptr<Address>& Address::MadeFromKept(std::shared_ptr<Address>& address,
                                                      DeferredElement& kept) {
  if (!kept.Empty()) {
    auto made = MakeSlabShared<Address>();
    made->FromKeptEmpty(kept);
    address = std::move(made);
  }
  return address;
}

void Address::WriteElements(RequestWriter& builder) const {
  Bindings().Write(*this, builder, BodyForm::kAdd);
}

void Address::WriteRecordElements(RequestWriter& builder, bool shortForm) const {
  WriteLines(builder, shortForm, false);
}

void Address::WriteChangedLines(RequestWriter& builder, bool shortForm) const {
  WriteLines(builder, shortForm, true);
}

void Address::WriteLines(RequestWriter& builder, bool shortForm, bool changedOnly) const {
  auto line = [&](std::string_view element, const std::string& field, FieldBit bit) {
    if (!changedOnly || ModLine(field, bit)) builder.CreateElement(element, field);
  };
  line("Addr1", addr1_, kAddr1);
  line("Addr2", addr2_, kAddr2);
  if (!shortForm) {
    line("Addr3", Addr3(), kAddr3);
    line("Addr4", Addr4(), kAddr4);
    line("Addr5", Addr5(), kAddr5);
  }
  line("City", city_, kCity);
  line(RegionElement(), state_, kState);
  line("PostalCode", postalCode_, kPostalCode);
  if (!shortForm) line("Country", country_, kCountry);
}

namespace {

// The lines an employee's address aggregate has: not Addr3..Addr5 nor Country, nor the regions
// other editions send.
bool InEmployeeAddress(const Binding<Address>& row) {
  return row.write != nullptr && row.element != "Addr3" && row.element != "Addr4" &&
         row.element != "Addr5" && row.element != "Country";
}

}  // namespace

void Address::WriteEntityElements(RequestWriter& builder, bool shortForm) const {
  for (const Binding<Address>& row : Bindings().Rows()) {
    if (row.write == nullptr || (shortForm && !InEmployeeAddress(row))) continue;
    std::string_view element = row.element == "State" ? RegionElement() : row.element;
    row.write(*this, builder, element, row.flags, BodyForm::kAdd);
  }
}

bool Address::HasEmployeeElements() const {
  for (const Binding<Address>& row : Bindings().Rows()) {
    if (InEmployeeAddress(row) && row.text != nullptr && !row.text(*this).empty()) return true;
  }
  return false;
}

bool Address::CheckLengths(qcErrors& errors, std::string_view fieldPrefix) {
  struct Limit {
    std::string* value;  // null: a rare line the address does not hold
    size_t max;
    std::string_view label;
    std::string_view message;
  };
  const Limit limits[] = {
      {&addr1_, 41, "Line1", kMsgAddressLineTooLong},
      {&addr2_, 41, "Line2", kMsgAddressLineTooLong},
      {rare_ ? &rare_->addr3 : nullptr, 41, "Line3", kMsgAddressLineTooLong},
      {rare_ ? &rare_->addr4 : nullptr, 41, "Line4", kMsgAddressLineTooLong},
      {&city_, 31, "City", kMsgAddressCityTooLong},
      {&state_, 21, "State", kMsgAddressStateTooLong},
      {&postalCode_, 13, "Postal Code", kMsgAddressPostalCodeTooLong},
      {&country_, 31, "Country", kMsgAddressCountryTooLong},
  };
  bool fits = true;
  std::string field;
  for (const Limit& limit : limits) {
    if (limit.value == nullptr) continue;
    std::string& value = *limit.value;
    // Lines pasted from a multi-line box keep the break that separated them.
    if (limit.label.starts_with("Line") && value.starts_with('\n')) value.erase(0, 1);
    if (Utf8Length(value) <= limit.max) continue;
    field.assign(fieldPrefix);
    if (!field.empty()) field += ' ';
    field += limit.label;
    AddTableError(errors, errAddressTooLong, field, limit.message);
    fits = false;
  }
  return fits;
}

std::string_view Address::FirstTooLongField() const {
  return Bindings().FirstTooLong(*this, "Address");
}

}  // namespace brennock
