#include "brennock/lists/to_do.h"

#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {

// A to-do has no name of its own in requests; a Name QuickBooks sends is read, never written.
const RecordBindings& ToDo::Bindings() {
  BRENNOCK_BINDINGS(
      qcBase, RetHeadRows(), std::array{ReadOnly(NameRow("Name", kInRet | kNotInSchema)[0])},
      std::array{Bind<&ToDo::notes_, codecs::Text>("Notes", kInAdd | kInRet)}, ActiveRow(),
      std::array{
          Bind<&ToDo::isDone_, codecs::Bool>("IsDone", kInAdd | kInRet),
          Bind<&ToDo::reminderDate_, codecs::Date>("ReminderDate", kInAdd | kInRet | kSkipEmpty)},
      UserDataRow());
}

void ToDo::CheckRules(qcErrors& errors) {
  if (notes_.empty()) AddTableError(errors, errNotesNull, "Notes");
  if (TooLong(notes_, "ToDoAdd", "Notes")) AddTableError(errors, errNotesTooLong, "Notes");
}

int32_t ToDoList::GetByDoneStatus(qoEnumDoneStatus DoneStatus, int32_t MaxReturned,
                                  const std::string& sMDBPath) {
  // Resolved first: an unknown code raises before the collection is emptied.
  std::string status =
      DoneStatusTable()->ItemByCode(static_cast<int16_t>(DoneStatus))->Description();
  return RunListQuery(MaxReturned, sMDBPath,
                      [&](xmlBldr& builder) { builder.CreateElement("DoneStatus", status); });
}

}  // namespace brennock
