#include "brennock/company/data_extension.h"

#include <limits>

#include "brennock/company/company.h"
#include "brennock/company/data_extension_definitions.h"
#include "brennock/model/automation_error.h"
#include "brennock/model/collected_errors.h"
#include "brennock/model/convert_dtypes.h"
#include "brennock/model/enumeration_type.h"
#include "brennock/model/enumerations.h"
#include "brennock/model/error_table.h"
#include "brennock/model/qc_enum.h"
#include "brennock/model/qc_enum_value.h"
#include "brennock/model/raise.h"
#include "brennock/model/xml_document.h"
#include "brennock/model/xml_node.h"
#include "brennock/session/session_state.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {

using namespace ModConvertDtypes;

namespace {

[[noreturn]] void RaiseUnknownType(qbEnumDataExtDataType type) {
  RaiseGeneral("DataExt", "Unknown Data Type: " + std::to_string(static_cast<int32_t>(type)));
}

bool IsListOwner(qoEnumListObjectType type) {
  switch (static_cast<int32_t>(type)) {
    case 1:   // account
    case 14:  // customer
    case 20:  // vendor
    case 21:  // other name
    case 26:  // employee
    case 45:  // item
      return true;
    default:
      return false;
  }
}

}  // namespace

DataExtension::DataExtension(std::string name, qbEnumDataExtDataType dataType, std::string ownerID,
                             qoEnumListObjectType ownerType)
    : name_(std::move(name)),
      dataType_(dataType),
      ownerID_(std::move(ownerID)),
      ownerType_(ownerType) {
  // An unknown type keeps an empty value and raises once it is set or written.
  if (dataType_ >= qbDataExtTypeINTTYPE && dataType_ <= qbDataExtTypeSTR1024TYPE)
    value_ = Converted(Variant());
}

Variant DataExtension::Converted(const Variant& value) const {
  switch (dataType_) {
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
  RaiseUnknownType(dataType_);
}

void DataExtension::SetValue(const Variant& value) {
  if (ownerID_ == kCustomFieldOwnerID && Session().qbxmlVersionNumber < Currency(3))
    RaiseError(errVersionNotSupported, "DataExt");
  value_ = Converted(value);
  if (objectState_ != qoObjectStateNew) objectState_ = qoObjectStateDirty;
}

void DataExtension::SetValueAsString(std::string_view text) {
  switch (dataType_) {
    case qbDataExtTypeINTTYPE:
      value_ = Variant(TextToInt32(text));
      return;
    case qbDataExtTypeAMTTYPE:
    case qbDataExtTypeQUANTYPE:
      value_ = Variant(TextToCurrency(text));
      return;
    case qbDataExtTypePRICETYPE:
    case qbDataExtTypePERCENTTYPE:
      value_ = Variant(TextToSingleThroughCurrency(text));
      return;
    case qbDataExtTypeDATETIMETYPE:
      value_ = Variant(TextToDate(text));
      return;
    case qbDataExtTypeSTR255TYPE:
    case qbDataExtTypeSTR1024TYPE:
      value_ = Variant(std::string(text));
      return;
  }
  RaiseUnknownType(dataType_);
}

bool DataExtension::HasEmptyValue() const { return value_ == Converted(Variant()); }

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

void DataExtension::WriteOwnerBlock(xmlBldr& builder) const {
  if (IsListOwner(ownerType_)) {
    builder.CreateElement("ListDataExtType",
                          EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(ownerType_)));
    builder.OpenAggregateOnly("ListObjRef");
    builder.CreateElement("ListID", listOrTxnId_);
    builder.EndAggregate("ListObjRef");
  } else if (ownerType_ == qoObjectTypeCompany) {
    builder.CreateElement("OtherDataExtType", "Company");
  } else {
    builder.CreateElement("TxnDataExtType",
                          EnumCodeToXmlText(qoeObjectType, static_cast<int16_t>(ownerType_)));
    builder.CreateElement("TxnID", listOrTxnId_);
    if (!txnLineId_.empty()) builder.CreateElement("TxnLineID", txnLineId_);
  }
}

void DataExtension::WriteRequest(xmlBldr& builder, int16_t requestId) const {
  std::string_view kind = objectState_ == qoObjectStateNew ? "Add"
                          : HasEmptyValue()                ? "Del"
                                                           : "Mod";
  std::string request = "DataExt" + std::string(kind);
  builder.OpenAggregate(request + "Rq", "requestID", std::to_string(requestId));
  builder.OpenAggregateOnly(request);
  builder.CreateElement("OwnerID", ownerID_);
  builder.CreateElement("DataExtName", name_);
  WriteOwnerBlock(builder);
  if (kind != "Del") builder.CreateElement("DataExtValue", ValueText());
  builder.EndAggregate(request);
  builder.EndAggregate(request + "Rq");
}

std::shared_ptr<DataExtension> DataExtensions::Add(const std::string& Name,
                                                   qbEnumDataExtDataType DataType) {
  auto extension = std::make_shared<DataExtension>(Name, DataType, ownerID_, ownerType_);
  extension->SetListOrTxnId(listOrTxnId_);
  members_.push_back(extension);
  return extension;
}

bool DataExtensions::IsAssignedToOwner(const DataExtensionDefinition& definition) const {
  if (definition.IsAssignedTo(ownerType_)) return true;
  // Item records also match a definition assigned to items in general.
  auto type = static_cast<int32_t>(ownerType_);
  bool isItem = (type >= 3 && type <= 12) || type == 49 || type == 61;
  return isItem && definition.IsAssignedTo(qoObjectTypeItem);
}

std::shared_ptr<DataExtension> DataExtensions::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseError(errInvalidDataExtIndex, "DataExt");
  return members_[static_cast<size_t>(index - 1)];
}

bool DataExtensions::ItemExists(const std::string& key) const noexcept {
  for (const auto& member : members_)
    if (member->Name() == key) return true;
  return false;
}

std::shared_ptr<DataExtension> DataExtensions::Item(const std::string& key) {
  for (const auto& member : members_)
    if (member->Name() == key) return member;
  const std::shared_ptr<Company>& company = Session().company;
  if (ownerID_ != kCustomFieldOwnerID) {
    std::shared_ptr<DataExtensionDefinition> definition =
        company ? company->ApplicationFields()->Find(key) : nullptr;
    if (!definition || !IsAssignedToOwner(*definition))
      RaiseError(errDataExtNotDefined, "DataExtensions");
    return Add(key, definition->DataType());
  }
  std::shared_ptr<DataExtensionDefinition> definition =
      company ? company->CustomFields()->Find(key) : nullptr;
  if (definition && !IsAssignedToOwner(*definition))
    RaiseError(errDataExtNotDefined, "DataExtensions");
  return Add(key, definition ? definition->DataType() : qbDataExtTypeSTR255TYPE);
}

int32_t DataExtensions::Commit(const std::string& ListOrTxnId, const std::string& TxnLineId) {
  errors_.Clear();
  xmlBldr builder;
  builder.NewClear();
  std::vector<DataExtension*> sent;
  for (const auto& member : members_) {
    if (member->ObjectState() == qoObjectStateClean) continue;
    if (sent.size() >= static_cast<size_t>(std::numeric_limits<int16_t>::max())) break;
    member->SetListOrTxnId(ListOrTxnId);
    member->SetTxnLineId(TxnLineId);
    member->Errors().Clear();
    sent.push_back(member.get());
    member->WriteRequest(builder, static_cast<int16_t>(sent.size()));
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
      throw AutomationError(builder.ErrNumber(), "DataExt", builder.ErrMsg());
    if (errors_.Count() != 0) RaiseError(errCommitErrors, "DataExt");
  }
  return errors_.Count();
}

void ReadDataExtRet(const XmlNode& dataExtRet, DataExtensions* customFields,
                    DataExtensions* applicationFields) {
  DataExtensions* target = nullptr;
  std::string name;
  auto type = qbDataExtTypeSTR255TYPE;
  for (const XmlNode& child : dataExtRet.childNodes()) {
    std::string element = child.baseName();
    if (element == "OwnerID") {
      std::string ownerID = child.text();
      target = ownerID == kCustomFieldOwnerID ? customFields : applicationFields;
      if (target != nullptr && target->OwnerId().empty()) target->SetOwnerId(std::move(ownerID));
    } else if (element == "DataExtName") {
      name = child.text();
    } else if (element == "DataExtType") {
      type = static_cast<qbEnumDataExtDataType>(
          ThreadEnumerations()
              ->Item(qoeDataExtDataTypes)
              ->Item(EnumTextToCode(child.text(), qoeDataExtDataTypes))
              ->Code());
    } else if (element == "DataExtValue" && target != nullptr) {
      std::shared_ptr<DataExtension> extension =
          target->ItemExists(name) ? target->Item(name) : target->Add(name, type);
      extension->SetValueAsString(child.text());
      extension->SetObjectState(qoObjectStateClean);
    }
  }
}

}  // namespace brennock
