#include "brennock/reports/rpt_filters.h"

#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/collection_support.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/internal/reports/report_xml.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

std::string qcIdList::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("qcIdList");
  return ids_[static_cast<size_t>(index - 1)];
}

void qcIdList::Remove(int32_t index) {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("qcIdList");
  ids_.erase(ids_.begin() + (index - 1));
}

rptNameFilter::rptNameFilter(std::string_view aggregate, std::string_view typeElement,
                             qoEnumerationType typeTable)
    : aggregate_(aggregate),
      typeElement_(typeElement),
      typeTable_(typeTable),
      listIds_(std::make_shared<qcIdList>()),
      fullNames_(std::make_shared<qcIdList>()) {}

rptAccountFilter::rptAccountFilter()
    : rptNameFilter("ReportAccountFilter", "AccountTypeFilter", qoeReportAccountFilters) {}
rptEntityFilter::rptEntityFilter()
    : rptNameFilter("ReportEntityFilter", "EntityTypeFilter", qoeEntityType) {}
rptItemFilter::rptItemFilter() : rptNameFilter("ReportItemFilter", "ItemTypeFilter", qoeItemType) {}
rptClassFilter::rptClassFilter()
    : rptNameFilter("ReportClassFilter", {}, static_cast<qoEnumerationType>(0)) {}

void rptNameFilter::ToXml(RequestWriter& writer) const {
  if (typeFilter_ != 0 && !typeElement_.empty()) {
    writer.OpenAggregateOnly(aggregate_);
    writer.CreateElement(typeElement_,
                         EnumCodeToXmlText(typeTable_, static_cast<int16_t>(typeFilter_)));
    writer.EndAggregate(aggregate_);
    return;
  }
  if (fullNames_->Count() == 0 && listIds_->Count() == 0) return;
  writer.OpenAggregateOnly(aggregate_);
  auto writeEach = [&](const qcIdList& list, std::string_view element,
                       std::string_view elementWithChildren) {
    int32_t written = 0;
    for (const std::string& entry : list) {
      if (withChildren_ && written == 1) RaiseLibraryError(errWithChildrenOneName);
      writer.CreateElement(withChildren_ ? elementWithChildren : element, entry);
      ++written;
    }
  };
  writeEach(*fullNames_, "FullName", "FullNameWithChildren");
  writeEach(*listIds_, "ListID", "ListIDWithChildren");
  writer.EndAggregate(aggregate_);
}

void rptNameFilter::FromDom(const XmlNode& obj) {
  for (const XmlNode& child : obj.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT) continue;
    const std::string name = child.baseName();
    if (!typeElement_.empty() && name == typeElement_) {
      typeFilter_ = EnumCodeOrZero(child.text(), typeTable_);
    } else if (name == "ListID") {
      listIds_->Add(child.text());
    } else if (name == "FullName") {
      fullNames_->Add(child.text());
    } else if (name == "ListIDWithChildren") {
      listIds_->Add(child.text());
      withChildren_ = true;
    } else if (name == "FullNameWithChildren") {
      fullNames_->Add(child.text());
      withChildren_ = true;
    }
  }
}

qbEnumTxnType rptTxnTypeFilter::Item(int32_t index) const {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("rptTxnTypeFilter");
  return types_[static_cast<size_t>(index - 1)];
}

void rptTxnTypeFilter::Remove(int32_t index) {
  if (index < 1 || index > Count()) RaiseCollectionPositionOutOfRange("rptTxnTypeFilter");
  types_.erase(types_.begin() + (index - 1));
}

void rptTxnTypeFilter::FromDom(const XmlNode& obj) {
  for (const XmlNode& child : obj.childNodes()) {
    if (child.nodeType() != NODE_ELEMENT || child.baseName() != "TxnTypeFilter") continue;
    if (int32_t code = EnumCodeOrZero(child.text(), qoeTxnType))
      types_.push_back(static_cast<qbEnumTxnType>(code));
  }
}

void rptTxnTypeFilter::ToXml(RequestWriter& writer) const {
  if (types_.empty()) return;
  writer.OpenAggregateOnly("ReportTxnTypeFilter");
  for (qbEnumTxnType type : types_)
    writer.CreateElement("TxnTypeFilter",
                         EnumCodeToXmlText(qoeTxnType, static_cast<int16_t>(type)));
  writer.EndAggregate("ReportTxnTypeFilter");
}

std::shared_ptr<rptAccountFilter> rptFilters::AccountFilter() {
  if (!account_) account_ = std::make_shared<rptAccountFilter>();
  return account_;
}
std::shared_ptr<rptEntityFilter> rptFilters::EntityFilter() {
  if (!entity_) entity_ = std::make_shared<rptEntityFilter>();
  return entity_;
}
std::shared_ptr<rptItemFilter> rptFilters::ItemFilter() {
  if (!item_) item_ = std::make_shared<rptItemFilter>();
  return item_;
}
std::shared_ptr<rptTxnTypeFilter> rptFilters::TxnTypes() {
  if (!txnTypes_) txnTypes_ = std::make_shared<rptTxnTypeFilter>();
  return txnTypes_;
}
std::shared_ptr<rptClassFilter> rptFilters::ClassFilter() {
  if (!class_) class_ = std::make_shared<rptClassFilter>();
  return class_;
}

void rptFilters::Clear() {
  for (rptNameFilter* filter : {static_cast<rptNameFilter*>(AccountFilter().get()),
                                static_cast<rptNameFilter*>(EntityFilter().get()),
                                static_cast<rptNameFilter*>(ItemFilter().get()),
                                static_cast<rptNameFilter*>(ClassFilter().get())}) {
    filter->ListIds()->Clear();
    filter->FullNames()->Clear();
  }
  TxnTypes()->Clear();
}

void rptFilters::ToXml(RequestWriter& writer) const {
  if (account_) account_->ToXml(writer);
  if (entity_) entity_->ToXml(writer);
  if (item_) item_->ToXml(writer);
  if (class_) class_->ToXml(writer);
  if (txnTypes_) txnTypes_->ToXml(writer);
}

}  // namespace brennock
