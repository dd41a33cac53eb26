#include "brennock/internal/model/record_core.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/data_extension_carrier.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/internal/xml/element_tree.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/values/currency.h"
#include "brennock/xml/xml_node.h"

namespace brennock {

template <class Interface>
Variant RecordCore<Interface>::FromDom(const XmlNode& obj) {
  ElementTree tree(obj);
  ReadElement(tree.Root());
  return {};
}

template <class Interface>
void RecordCore<Interface>::ReadElement(const FieldElement& element) {
  BeforeRead();
  kind_->bindings().Read(*this, element);
  state_ = qoObjectStateClean;
  changes_.Clear();
  AfterRead();
}

template <class Interface>
qoEnumObjectState RecordCore<Interface>::ObjectState() const {
  if (state_ == qoObjectStateClean && kind_->bindings != nullptr &&
      kind_->bindings().AggregateChanged(*this))
    return qoObjectStateDirty;
  return state_;
}

template <class Interface>
void RecordCore<Interface>::SetObjectState(qoEnumObjectState state) {
  state_ = state;
  if (state == qoObjectStateClean) changes_.Clear();
}

template <class Interface>
bool RecordCore<Interface>::Validate() {
  ClearErrorList();
  if (ObjectState() == qoObjectStateClean) return true;
  CheckRules(*ErrorList());
  return ErrorListEmpty();
}

template <class Interface>
int32_t RecordCore<Interface>::SavePendingExtensions() {
  auto* holder = dynamic_cast<DataExtensionHolder*>(this);
  return holder != nullptr ? holder->SavePendingValues(this->ListOrTxnId()) : 0;
}

template <class Interface>
void RecordCore<Interface>::CheckModify(bool bNewOnly) {
  if (kind_->transaction() && bNewOnly && state_ != qoObjectStateNew &&
      SessionQbxmlVersion() > Currency(2)) {
    bNewOnly = false;  // later sessions modify what the first ones only added
  }
  RecordBase::CheckModify(bNewOnly, kind_->className);
}

template <class Interface>
void RecordCore<Interface>::MarkChanged(std::string_view element) {
  const RecordBindings& bindings = kind_->bindings();
  const size_t row = bindings.IndexOf(element);
  if (row < bindings.Rows().size()) changes_.Mark(row);
}

template <class Interface>
int32_t RecordCore<Interface>::XMLInsert(xmlBldr& cxmlbldr) {
  kind_->bindings().Write(*this, cxmlbldr, BodyForm::kAdd);
  return 0;
}

template <class Interface>
int32_t RecordCore<Interface>::XMLModify(xmlBldr& cxmlbldr) {
  if (!kind_->modifyRefusal.empty()) RaiseGeneral(kind_->stem, std::string(kind_->modifyRefusal));
  if (kind_->Has(kModChanges)) {
    kind_->bindings().WriteChanged(*this, cxmlbldr, changes_);
  } else {
    kind_->bindings().Write(*this, cxmlbldr, BodyForm::kMod, &changes_);
  }
  return 0;
}

template <class Interface>
int32_t RecordCore<Interface>::XMLQueryRs(xmlBldr& cxmlbldr) {
  kind_->bindings().Write(*this, cxmlbldr, BodyForm::kRet);
  return 0;
}

template <class Interface>
void RecordCore<Interface>::ReadUserData(qcBase& record, const FieldElement& element) {
  static_cast<RecordCore&>(record).SetUserData(Variant(element.text()));
}

template <class Interface>
void RecordCore<Interface>::WriteUserData(const qcBase& record, RequestWriter& builder,
                                          std::string_view element, uint16_t, BodyForm) {
  const Variant& data = static_cast<const RecordCore&>(record).UserData();
  if (data.IsEmpty() || data.IsObject()) return;
  builder.CreateElement(element, data.ToString());
}

template class RecordCore<qcListObject>;
template class RecordCore<PersistentRecord>;

}  // namespace brennock
