#include "brennock/model/data_extension.h"

#include <limits>
#include <optional>

#include "brennock/enums/enumeration_type.h"
#include "brennock/enums/enumerations.h"
#include "brennock/enums/qc_enum.h"
#include "brennock/enums/qc_enum_value.h"
#include "brennock/errors/automation_error.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/error_table.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/binding.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/model/data_ext_definition_lookup.h"
#include "brennock/internal/model/field_table.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/util/slab_allocator.h"
#include "brennock/internal/util/text.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_document.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

using namespace ModConvertDtypes;

namespace {

constexpr std::string_view kSource = "DataExt";
// Custom fields, and every change of a saved value's owner record, need this qbXML version.
const Currency kCustomFieldVersion(3);
// Queries carry OwnerID from this version on.
const Currency kOwnerIDVersion(2);

[[noreturn]] void RaiseUnknownType(qbEnumDataExtDataType type) {
  RaiseGeneral(kSource, "Unknown Data Type: " + std::to_string(static_cast<int32_t>(type)));
}

bool IsKnownType(qbEnumDataExtDataType type) {
  return type >= qbDataExtTypeINTTYPE && type <= qbDataExtTypeSTR1024TYPE;
}

bool IsItemType(qoEnumListObjectType type) {
  auto code = static_cast<int32_t>(type);
  return (code >= qoObjectTypeItemService && code <= qoObjectTypeItemSalesTaxGroup) ||
         type == qoObjectTypeItemAssembly || type == qoObjectTypeItemFixedAssset;
}

// Whether values of that owner type belong to a list record (QuickBooks keeps one extension list
// for all kinds of item); else to a transaction or the company.
bool IsListOwner(qoEnumListObjectType type) {
  switch (static_cast<int32_t>(type)) {
    case qoObjectTypeAccount:
    case qoObjectTypeCustomer:
    case qoObjectTypeVendor:
    case qoObjectTypeOtherName:
    case qoObjectTypeEmployee:
    case qoObjectTypeItem:
      return true;
    default:
      return IsItemType(type);
  }
}

// The ListDataExtType of a list owner, or empty for transactions (and the company).
std::string ListOwnerTag(qoEnumListObjectType type) {
  if (!IsListOwner(type)) return {};
  return EnumCodeToXmlText(qoeObjectType,
                           static_cast<int16_t>(IsItemType(type) ? qoObjectTypeItem : type));
}

bool OfList(const DataExtension& value) {
  return value.OwnerType() != qoObjectTypeCompany && IsListOwner(value.OwnerType());
}
bool OfTxn(const DataExtension& value) {
  return value.OwnerType() != qoObjectTypeCompany && !IsListOwner(value.OwnerType());
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

qbEnumDataExtDataType TypeFromTag(std::string_view tag) {
  // A response names the same type again and again: the last tag looked up is remembered.
  struct Last {
    std::string tag;
    qbEnumDataExtDataType type{};
  };
  thread_local Last last;
  if (!last.tag.empty() && tag == last.tag) return last.type;
  auto type =
      static_cast<qbEnumDataExtDataType>(ThreadEnumerations()
                                             ->Item(qoeDataExtDataTypes)
                                             ->Item(EnumTextToCode(tag, qoeDataExtDataTypes))
                                             ->Code());
  last.tag.assign(tag);
  last.type = type;
  return type;
}

size_t MaxTextLength(qbEnumDataExtDataType type) {
  if (type == qbDataExtTypeSTR255TYPE) return 255;
  if (type == qbDataExtTypeSTR1024TYPE) return 1024;
  return std::string::npos;
}

}  // namespace

DataExtension::DataExtension(std::string name, qbEnumDataExtDataType dataType, std::string ownerID,
                             qoEnumListObjectType ownerType)
    : name_(std::move(name)),
      ownerID_(std::move(ownerID)),
      dataType_(dataType),
      ownerType_(ownerType) {
  // An unknown type keeps an empty value and raises once it is set or written.
  if (IsKnownType(dataType_)) value_ = Converted(Variant(), dataType_);
}

DataExtension::~DataExtension() = default;

Variant DataExtension::Converted(const Variant& value, qbEnumDataExtDataType type) const {
  switch (type) {
    case qbDataExtTypeINTTYPE:
      return value.IsEmpty() ? Variant(int32_t{0}) : Variant(value.ToInt32());
    case qbDataExtTypeAMTTYPE:
    case qbDataExtTypeQUANTYPE:
      return value.IsEmpty() ? Variant(Currency()) : Variant(value.ToCurrency());
    case qbDataExtTypePRICETYPE:
      // Prices go through their text so they keep the precision QuickBooks stores.
      return value.IsEmpty() ? Variant(0.0f)
                             : Variant(TextToSingleThroughCurrency(value.ToString()));
    case qbDataExtTypePERCENTTYPE:
      return value.IsEmpty() ? Variant(0.0f) : Variant(value.ToSingle());
    case qbDataExtTypeDATETIMETYPE:
      return value.IsEmpty() ? Variant(qbNullDate) : Variant(value.ToDate());
    case qbDataExtTypeSTR255TYPE:
    case qbDataExtTypeSTR1024TYPE:
      return value.IsEmpty() ? Variant(std::string()) : Variant(value.ToString());
  }
  RaiseUnknownType(type);
}

Variant DataExtension::FromText(std::string_view text, qbEnumDataExtDataType type) {
  switch (type) {
    case qbDataExtTypeINTTYPE:
      return Variant(TextToInt32(text));
    case qbDataExtTypeAMTTYPE:
    case qbDataExtTypeQUANTYPE:
      return Variant(TextToCurrency(text));
    case qbDataExtTypePRICETYPE:
    case qbDataExtTypePERCENTTYPE:
      return Variant(TextToSingleThroughCurrency(text));
    case qbDataExtTypeDATETIMETYPE:
      return Variant(TextToDate(text));
    case qbDataExtTypeSTR255TYPE:
    case qbDataExtTypeSTR1024TYPE:
      return Variant(std::string(text));
  }
  RaiseUnknownType(type);
}

void DataExtension::CheckChange(bool replacesIdentity) {
  Currency version = Session().qbxmlVersionNumber;
  if (ownerID_ == kCustomFieldOwnerID && version < kCustomFieldVersion)
    RaiseError(errVersionNotSupported, kSource);
  if (state_ == qoObjectStateNew) return;
  if (replacesIdentity && version < kCustomFieldVersion) RaiseError(errFieldNotModifiable, kSource);
  state_ = qoObjectStateDirty;
}

void DataExtension::SetDataType(qbEnumDataExtDataType value) {
  if (!IsKnownType(value)) RaiseUnknownType(value);
  Variant converted = Converted(value_, value);
  CheckChange(false);
  dataType_ = value;
  value_ = std::move(converted);
}

void DataExtension::SetValue(const Variant& value) {
  Variant converted = Converted(value, dataType_);
  CheckChange(false);
  value_ = std::move(converted);
}

void DataExtension::SetValueAsString(std::string_view text) {
  Variant converted = FromText(text, dataType_);
  CheckChange(false);
  value_ = std::move(converted);
}

void DataExtension::SetListOrTxnId(std::string value) {
  if (value == listOrTxnId_) return;
  CheckChange(!listOrTxnId_.empty());
  listOrTxnId_ = std::move(value);
}

void DataExtension::SetTxnLineId(std::string value) {
  if (value == txnLineId_) return;
  CheckChange(!txnLineId_.empty());
  txnLineId_ = std::move(value);
}

void DataExtension::Load(qbEnumDataExtDataType dataType, std::string_view text) {
  value_ = FromText(text, dataType);
  dataType_ = dataType;
}

bool DataExtension::HasEmptyValue() const { return value_ == Converted(Variant(), dataType_); }

std::string DataExtension::ValueText() const {
  switch (dataType_) {
    case qbDataExtTypeINTTYPE:
      return IntegerToText(value_.ToInt32());
    case qbDataExtTypeAMTTYPE:
      return AmountToText(value_.ToCurrency());
    case qbDataExtTypePRICETYPE:
    case qbDataExtTypePERCENTTYPE:
      return PriceToText(value_.ToSingle());
    case qbDataExtTypeQUANTYPE:
      return QuantityToText(value_.ToCurrency());
    case qbDataExtTypeDATETIMETYPE:
      return DateToText(value_.ToDate());
    case qbDataExtTypeSTR255TYPE:
    case qbDataExtTypeSTR1024TYPE:
      return value_.ToString();
  }
  RaiseUnknownType(dataType_);
}

// The owner record is one of three choices: a list record, a transaction (or its line), or the
// company. An empty value is left out of a modify, which then deletes the value.
const BindingTable<DataExtension>& DataExtension::Bindings() {
  using D = DataExtension;
  constexpr uint16_t kRequests = kInAdd | kInMod;
  BRENNOCK_BINDINGS(
      D,
      std::array{
          Bind<&D::ownerID_, codecs::Text, D>("OwnerID", kRequests | kInRet),
          Bind<&D::name_, codecs::Text, D>("DataExtName", kRequests | kInRet),
          Bind<&D::dataType_, codecs::EnumTag<qoeDataExtDataTypes>, D>("DataExtType", kInRet),
          Binding<D>{"ListDataExtType", kRequests, nullptr,
                     [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       if (OfList(d)) b.CreateElement(name, ListOwnerTag(d.ownerType_));
                     }},
          Binding<D>{"ListObjRef", kRequests, nullptr,
                     [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       if (!OfList(d)) return;
                       b.OpenAggregateOnly(name);
                       b.CreateElement("ListID", d.listOrTxnId_);
                       b.EndAggregate(name);
                     }},
          Binding<D>{"TxnDataExtType", kRequests, nullptr,
                     [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       if (OfTxn(d))
                         b.CreateElement(
                             name,
                             EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(d.ownerType_)));
                     }},
          Binding<D>{"TxnID", kRequests, nullptr,
                     [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       if (OfTxn(d)) b.CreateElement(name, d.listOrTxnId_);
                     }},
          Binding<D>{"TxnLineID", kRequests, nullptr,
                     [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       if (OfTxn(d) && !d.txnLineId_.empty()) b.CreateElement(name, d.txnLineId_);
                     }},
          Binding<D>{"OtherDataExtType", kRequests, nullptr,
                     [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm) {
                       if (d.ownerType_ == qoObjectTypeCompany) b.CreateElement(name, "Company");
                     }},
          Binding<D>{
              "DataExtValue", kRequests | kInRet, nullptr,
              [](const D& d, RequestWriter& b, std::string_view name, uint16_t, BodyForm form) {
                if (form != BodyForm::kMod || !d.HasEmptyValue())
                  b.CreateElement(name, d.ValueText());
              }}});
}

int32_t DataExtension::XMLInsert(xmlBldr& cxmlbldr) {
  Bindings().Write(*this, cxmlbldr, BodyForm::kAdd);
  return 0;
}

int32_t DataExtension::XMLModify(xmlBldr& cxmlbldr) {
  Bindings().Write(*this, cxmlbldr, BodyForm::kMod);
  return 0;
}

int32_t DataExtension::XMLQueryRs(xmlBldr& cxmlbldr) {
  Bindings().Write(*this, cxmlbldr, BodyForm::kRet);
  return 0;
}

void DataExtension::WriteRequest(xmlBldr& builder, int32_t requestId) const {
  std::string_view kind = state_ == qoObjectStateNew ? "Add" : HasEmptyValue() ? "Del" : "Mod";
  std::string request = "DataExt" + std::string(kind);
  builder.OpenAggregate(request + "Rq", "requestID", std::to_string(requestId));
  builder.OpenAggregateOnly(request);
  Bindings().Write(*this, builder, state_ == qoObjectStateNew ? BodyForm::kAdd : BodyForm::kMod);
  builder.EndAggregate(request);
  builder.EndAggregate(request + "Rq");
}

Variant DataExtension::FromDom(const XmlNode& obj) {
  RetFields fields;
  ElementTree tree(obj);
  fields.Read(tree.Root());
  Load(fields);
  return Variant();
}

void DataExtension::Load(const RetFields& fields) {
  if (!fields.ownerID.empty() && fields.ownerID != ownerID_) ownerID_ = fields.ownerID;
  if (!fields.name.empty() && fields.name != name_) name_ = fields.name;
  // Converted before anything is stored, so a bad value leaves the extension as it was.
  qbEnumDataExtDataType type = fields.hasType ? TypeFromTag(fields.type) : dataType_;
  if (fields.hasValue) {
    Load(type, fields.value);
  } else if (type != dataType_) {
    value_ = Converted(Variant(), type);
    dataType_ = type;
  }
  state_ = qoObjectStateClean;
}

void DataExtension::CheckRet(const RetFields& fields) {
  const qbEnumDataExtDataType type = TypeFromTag(fields.type);
  // Any text is a string value: only the other types are converted to be checked.
  if (type != qbDataExtTypeSTR255TYPE && type != qbDataExtTypeSTR1024TYPE)
    (void)FromText(fields.value, type);
}

// The texts are kept as views (into the tree, or into the scratch of their field): the shared
// parser converts them once it knows the target, and a value in the wrong form changes nothing.
void DataExtension::RetFields::Read(const FieldElement& ret) {
  using F = RetFields;
  static constexpr std::array<Binding<F>, 4> kRows{{
      {"OwnerID", kInRet,
       [](F& f, const FieldElement& x) { f.ownerID = x.TextView(f.scratch[0]); }},
      {"DataExtName", kInRet,
       [](F& f, const FieldElement& x) { f.name = x.TextView(f.scratch[1]); }},
      {"DataExtType", kInRet,
       [](F& f, const FieldElement& x) {
         f.type = x.TextView(f.scratch[2]);
         f.hasType = true;
       }},
      {"DataExtValue", kInRet,
       [](F& f, const FieldElement& x) {
         f.value = x.TextView(f.scratch[3]);
         f.hasValue = true;
       }},
  }};
  BRENNOCK_BINDING_TABLE(F);
  kTable.Read(*this, ret);
}

bool DataExtension::Validate() {
  ClearErrorList();
  if (state_ == qoObjectStateClean) return true;
  if (!IsKnownType(dataType_)) {
    AddTableError(Errors(), errGeneral, "DataType",
                  "Unknown Data Type: " + std::to_string(static_cast<int32_t>(dataType_)));
  } else if (size_t limit = MaxTextLength(dataType_);
             limit != std::string::npos && Utf8Length(value_.ToString()) > limit) {
    AddTableError(Errors(), errGeneral, "Value",
                  "Value cannot exceed " + std::to_string(limit) + " characters");
  }
  return ErrorListEmpty();
}

qoEnumObjectState DataExtensions::ObjectState() const noexcept {
  bool anyNew = false;
  for (const auto& member : members_) {
    if (member->ObjectState() == qoObjectStateDirty) return qoObjectStateDirty;
    anyNew |= member->ObjectState() == qoObjectStateNew;
  }
  return anyNew ? qoObjectStateNew : qoObjectStateClean;
}

std::shared_ptr<DataExtension> DataExtensions::Add(const std::string& Name,
                                                   qbEnumDataExtDataType DataType) {
  auto extension = MakeSlabShared<DataExtension>(Name, DataType, ownerID_, ownerType_);
  // A new value takes the collection's record without a change guard.
  extension->listOrTxnId_ = listOrTxnId_;
  members_.push_back(extension);
  return extension;
}

bool DataExtensions::IsAssignedToOwner(const DataExtDefinitionFacts& definition) const {
  if (definition.assignedToOwner) return true;
  // Definitions name items as one class, whatever the kind of item the record is.
  return IsItemType(ownerType_) && definition.assignedToItems;
}

DataExtension* DataExtensions::Find(std::string_view key) const noexcept {
  for (const auto& member : members_)
    if (EqualsIgnoringCase(member->Name(), key)) return member.get();
  return nullptr;
}

std::shared_ptr<DataExtension> DataExtensions::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseError(errInvalidDataExtIndex, kSource);
  return members_[static_cast<size_t>(index - 1)];
}

std::shared_ptr<DataExtension> DataExtensions::Item(const std::string& key) {
  for (const auto& member : members_)
    if (EqualsIgnoringCase(member->Name(), key)) return member;
  const DataExtDefinitionLookup* definitions = RegisteredDataExtDefinitionLookup();
  const bool custom = ownerID_ == kCustomFieldOwnerID;
  std::optional<DataExtDefinitionFacts> definition =
      definitions ? definitions->Find(custom, key, ownerType_) : std::nullopt;
  if (!custom) {
    if (!definition || !IsAssignedToOwner(*definition))
      RaiseError(errDataExtNotDefined, "DataExtensions");
    return Add(key, definition->dataType);
  }
  if (definition && !IsAssignedToOwner(*definition))
    RaiseError(errDataExtNotDefined, "DataExtensions");
  return Add(key, definition ? definition->dataType : qbDataExtTypeSTR255TYPE);
}

int32_t DataExtensions::Commit(const std::string& ListOrTxnId, const std::string& TxnLineId) {
  errors_.Clear();
  listOrTxnId_ = ListOrTxnId;
  xmlBldr builder;
  builder.NewClear();
  std::vector<DataExtension*> sent;
  for (const auto& member : members_) {
    if (member->ObjectState() == qoObjectStateClean) continue;
    // The empty value means "no value": a new one has nothing to add (a value looked up by
    // Item and never set stays out of the request).
    if (member->ObjectState() == qoObjectStateNew && member->HasEmptyValue()) continue;
    if (sent.size() >= static_cast<size_t>(std::numeric_limits<int16_t>::max())) break;
    member->SetListOrTxnId(ListOrTxnId);
    member->SetTxnLineId(TxnLineId);
    member->ClearErrors();
    sent.push_back(member.get());
    member->WriteRequest(builder, static_cast<int32_t>(sent.size()));
  }
  if (!sent.empty()) {
    std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
    XmlNode messageSet = response->documentElement().childNodes().item(0);
    size_t position = 0;
    for (XmlNode element : messageSet.childNodes()) {
      if (element.nodeType() != NODE_ELEMENT || position >= sent.size()) continue;
      DataExtension& member = *sent[position++];
      int32_t code = TextToInt32(element.attributes().getNamedItem("statusCode").text());
      if (code == 0) {
        member.SetObjectState(qoObjectStateClean);
      } else {
        AddCommitStatusErrors(errors_, member.Errors(), member.Name(), code,
                              element.attributes().getNamedItem("statusMessage").text());
      }
    }
  }
  if (Session().errorMode) {
    if (builder.ErrNumber() != 0 && errors_.Count() == 0)
      throw AutomationError(builder.ErrNumber(), std::string(kSource), builder.ErrMsg());
    if (errors_.Count() != 0) RaiseError(errCommitErrors, kSource);
  }
  return errors_.Count();
}

int32_t DataExtensions::GetAll() {
  errors_.Clear();
  bool company = ownerType_ == qoObjectTypeCompany;
  if (!company && listOrTxnId_.empty()) RaiseError(errInvalidListOrTxnId, "DataExtensions");
  std::string stem = EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(ownerType_));
  if (stem.empty()) RaiseError(errObjectTypeNotSupported, "DataExtensions");
  xmlBldr builder;
  builder.NewClear();
  builder.OpenAggregateOnly(stem + "QueryRq");
  if (!company)
    builder.CreateElement(ListOwnerTag(ownerType_).empty() ? "TxnID" : "ListID", listOrTxnId_);
  builder.CreateElement("OwnerID", ownerID_, kOwnerIDVersion);
  builder.EndAggregate(stem + "QueryRq");
  std::shared_ptr<XmlDocument> response = builder.NewSendRequest();
  if (builder.ErrNumber() != 0) {
    AddTableError(errors_, errQuickBooksRefused, kQuickBooksField,
                  StripQuickBooksErrorMarker(builder.ErrMsg()));
    return Count();
  }
  members_.clear();
  // QBXML, QBXMLMsgsRs, the query response, its first record.
  XmlNode ret = response->documentElement().childNodes().item(0).childNodes().item(0);
  ret = ret.childNodes().item(0);
  if (!ret) return Count();
  bool custom = ownerID_ == kCustomFieldOwnerID;
  for (const XmlNode& child : ret.childNodes())
    if (child.baseName() == "DataExtRet")
      ReadDataExtRet(child, custom ? this : nullptr, custom ? nullptr : this);
  return Count();
}

bool DataExtensions::Validate() {
  errors_.Clear();
  for (const auto& member : members_)
    if (!member->Validate()) AddTableError(errors_, errValidateFailed, member->Name());
  return errors_.Count() == 0;
}

void DataExtensions::LoadRet(const DataExtension::RetFields& fields) {
  if (ownerID_.empty()) ownerID_ = fields.ownerID;
  DataExtension* extension = Find(fields.name);
  if (extension == nullptr) {
    // Most records carry one or two values.
    if (members_.empty()) members_.reserve(2);
    extension = Add(std::string(fields.name)).get();
  }
  extension->Load(fields);
}

void ReadDataExtRet(const FieldElement& dataExtRet, const DataExtTargetFor& targetFor) {
  DataExtension::RetFields fields;
  fields.Read(dataExtRet);
  if (!fields.hasValue) return;
  DataExtensions* target = targetFor(std::string(fields.ownerID));
  if (target != nullptr) target->LoadRet(fields);
}

void ReadDataExtRet(const XmlNode& dataExtRet, const DataExtTargetFor& targetFor) {
  ElementTree tree(dataExtRet);
  ReadDataExtRet(tree.Root(), targetFor);
}

void ReadDataExtRet(const XmlNode& dataExtRet, DataExtensions* customFields,
                    DataExtensions* applicationFields) {
  ReadDataExtRet(dataExtRet, [customFields, applicationFields](const std::string& ownerID) {
    return ownerID == kCustomFieldOwnerID ? customFields : applicationFields;
  });
}

}  // namespace brennock
