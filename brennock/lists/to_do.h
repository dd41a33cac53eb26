#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/enums/query_enums.h"
#include "brennock/internal/model/list_record_core.h"
#include "brennock/internal/model/typed_list_collection.h"
#include "brennock/values/date.h"

namespace brennock {

// A to-do note with a reminder date. Its fields can be set only before it is saved.
class ToDo final : public ListRecordCore {
 public:
  static constexpr qoEnumListObjectType kObjectType = qoObjectTypeToDo;
  ToDo() : ListRecordCore(RegisteredKind<kObjectType>()) {}

  const std::string& Notes() const noexcept { return notes_; }
  bool IsDone() const noexcept { return isDone_; }
  Date ReminderDate() const noexcept { return reminderDate_; }
  // Add-only: on a saved record each raises 1002 and keeps the old value.
  void SetNotes(const std::string& value) { Assign(notes_, value, true); }
  void SetIsDone(bool value) { Assign(isDone_, value, true); }
  void SetReminderDate(Date value) { Assign(reminderDate_, value, true); }

  static const RecordBindings& Bindings();

 protected:
  // 2500 for empty notes, 2501 for notes of 4096 or more characters.
  void CheckRules(qcErrors& errors) override;

 private:
  std::string notes_;
  Date reminderDate_;
  bool isDone_ = false;
};

class ToDoList final : public TypedListCollection<ToDo> {
 public:
  // Master collection only (else 1021).
  std::shared_ptr<ToDo> Add(const std::string& Notes = {}, bool IsActive = true,
                            bool IsDone = false, Date ReminderDate = {}) {
    return AddMember({}, IsActive, {}, [&](ToDo& r) {
      r.SetNotes(Notes);
      r.SetIsDone(IsDone);
      r.SetReminderDate(ReminderDate);
    });
  }
  // ToDoQueryRq with MaxReturned (above 0) and DoneStatus; returns Count.
  int32_t GetByDoneStatus(qoEnumDoneStatus DoneStatus, int32_t MaxReturned = 0,
                          const std::string& sMDBPath = {});
};

}  // namespace brennock
