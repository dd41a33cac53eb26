#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "brennock/enums/object_enums.h"
#include "brennock/internal/model/persistent_record.h"

namespace brennock {

class qcErrors;
class qcListObjectRefs;

// Every list record (Class, Customer, Account ...): identity, hierarchy and validation on top of
// the persistable protocol of qcBase. FromDom, XMLInsert, XMLModify and XMLQueryRs come from
// qcBase; FromDom's empty result stands for the interface's 32-bit 0. CollectionKey is the
// record's FullName.
class qcListObject : public PersistentRecord {
 public:
  virtual std::string ListID() const = 0;
  virtual std::string Name() const = 0;
  virtual bool SupportsChildren() const = 0;
  // Full name of the parent record; empty at the top of the hierarchy.
  virtual std::string Parent() const = 0;
  virtual std::shared_ptr<qcListObjectRefs> Children() = 0;
  virtual std::string FullName() const = 0;
  virtual int16_t Sublevel() const = 0;

  // Library-internal: filled by collections and responses, not by clients.
  virtual void SetName(const std::string& value) = 0;
};

}  // namespace brennock
