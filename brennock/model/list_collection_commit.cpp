// Deleting through a list collection, and filing QuickBooks's refusal of a save.
#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/list_collection_core.h"
#include "brennock/model/qc_list_object.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {

void ListCollectionCore::FileRefusedSave(PersistentRecord& record, int32_t code,
                                         std::string_view message) {
  AddCommitStatusErrors(*errors_, *record.Errors(), record.CollectionKey(), code, message,
                        RefusedField());
}

std::string_view ListCollectionCore::RefusedField() const { return kQuickBooksField; }

int32_t ListCollectionCore::Delete(const std::string& ListID, bool bRemove) {
  return DeleteOfType(Stem(), ListID, bRemove);
}

int32_t ListCollectionCore::DeleteOfType(std::string_view listDelType, const std::string& ListID,
                                         bool bRemove) {
  RequireMaster();
  std::shared_ptr<qcListObject> record = LookupByListID(ListID, {});
  bool held = record && ItemExists(record->CollectionKey());
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregate("ListDelRq", "requestID", "1");
  builder.CreateElement("ListDelType", listDelType);
  builder.CreateElement("ListID", ListID);
  builder.EndAggregate("ListDelRq");
  builder.NewSendRequest();
  if (builder.ErrNumber() != 0) RaiseError(errDeleteFailed, Stem(), builder.ErrMsg());
  if (bRemove && held) RemoveAt(PositionOf(*record));
  return 0;
}

}  // namespace brennock
