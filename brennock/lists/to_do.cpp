#include "brennock/lists/to_do.h"

#include "brennock/enums/enumerations.h"
#include "brennock/errors/collected_errors.h"
#include "brennock/session/xml_bldr.h"
#include "brennock/util/text.h"
#include "brennock/values/convert_dtypes.h"
#include "brennock/xml/xml_node.h"

namespace brennock {
namespace {

constexpr size_t kMaxNotesLength = 4095;

// ToDo has no Mod refusal: its XMLModify writes nothing.
constexpr ListRecordKind kToDoKind{qoObjectTypeToDo, qoListToDos, "ToDo", "ToDo", {}, false,
                                   &ToDo::Fields};

}  // namespace

ToDo::ToDo() : ListRecordCore(kToDoKind) {}

const FieldTable& ToDo::Fields() {
  static constexpr auto kEntries = SortedFields(
      IdentityFields(),
      std::array<FieldEntry, 3>{{
          {"Notes", [](qcBase& r, const FieldElement& e) { RecordAs<ToDo>(r).notes_ = e.text(); }},
          {"IsDone",
           [](qcBase& r, const FieldElement& e) {
             RecordAs<ToDo>(r).isDone_ = ModConvertDtypes::TextToBool(e.text());
           }},
          {"ReminderDate",
           [](qcBase& r, const FieldElement& e) {
             RecordAs<ToDo>(r).reminderDate_ = ModConvertDtypes::TextToDate(e.text());
           }},
      }});
  static constexpr FieldTable kTable(kEntries);
  return kTable;
}

void ToDo::SetNotes(const std::string& value) {
  CheckModify(true);
  notes_ = value;
}

void ToDo::SetIsDone(bool value) {
  CheckModify(true);
  isDone_ = value;
}

void ToDo::SetReminderDate(Date value) {
  CheckModify(true);
  reminderDate_ = value;
}

int32_t ToDo::XMLInsert(xmlBldr& cxmlbldr) {
  cxmlbldr.CreateElement("Notes", notes_);
  cxmlbldr.CreateElement("IsActive", ModConvertDtypes::BoolToRequestText(isActive_));
  cxmlbldr.CreateElement("IsDone", ModConvertDtypes::BoolToRequestText(isDone_));
  cxmlbldr.CreateDateElement("ReminderDate", reminderDate_, 0.0);
  return 0;
}

int32_t ToDo::XMLQueryRs(xmlBldr& cxmlbldr) {
  WriteRetIdentity(cxmlbldr);
  cxmlbldr.CreateElement("Notes", notes_);
  cxmlbldr.CreateElement("IsActive", ModConvertDtypes::BoolToResponseText(isActive_));
  cxmlbldr.CreateElement("IsDone", ModConvertDtypes::BoolToResponseText(isDone_));
  cxmlbldr.CreateDateElement("ReminderDate", reminderDate_, 0.0);
  WriteRetUserData(cxmlbldr);
  return 0;
}

void ToDo::CheckRules(qcErrors& errors) {
  if (notes_.empty()) AddTableError(errors, errNotesNull, "Notes");
  if (Utf8Length(notes_) > kMaxNotesLength) AddTableError(errors, errNotesTooLong, "Notes");
}

ToDoList::ToDoList() : TypedListCollection<ToDo>(kToDoKind, &MakeListRecord<ToDo>) {}

std::shared_ptr<ToDo> ToDoList::Add(const std::string& Notes, bool IsActive, bool IsDone,
                                    Date ReminderDate) {
  std::shared_ptr<ToDo> record = NewMember();
  record->SetNotes(Notes);
  record->SetIsActive(IsActive);
  record->SetIsDone(IsDone);
  record->SetReminderDate(ReminderDate);
  FileNew(record);
  return record;
}

int32_t ToDoList::GetByDoneStatus(qoEnumDoneStatus DoneStatus, int32_t MaxReturned,
                                  const std::string& sMDBPath) {
  // Resolved first: an unknown code raises before the collection is emptied.
  std::string status =
      DoneStatusTable()->ItemByCode(static_cast<int16_t>(DoneStatus))->Description();
  return RunQuery(MaxReturned, sMDBPath,
                  [&](xmlBldr& builder) { builder.CreateElement("DoneStatus", status); });
}

}  // namespace brennock
