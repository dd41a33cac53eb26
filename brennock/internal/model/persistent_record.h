#pragma once

#include <memory>
#include <string>

#include "brennock/enums/object_enums.h"
#include "brennock/model/qc_base.h"

namespace brennock {

class qcErrors;
class FieldElement;

// What a collection asks of every member, list record or transaction alike: its key, its state,
// its errors and its rules, besides the persistable protocol of qcBase.
class PersistentRecord : public qcBase {
 public:
  // The key under which collections file the record: a list record's FullName, a transaction's
  // TxnID after a query or its number in the collection.
  virtual std::string CollectionKey() const = 0;
  // Created empty on first use.
  virtual std::shared_ptr<qcErrors> Errors() = 0;
  // New, Clean or Dirty; a Clean record whose address, card, lines or other owned part holds a
  // change not yet sent reads Dirty.
  virtual qoEnumObjectState ObjectState() const = 0;
  // Clears Errors, checks the record's rules and answers whether Errors stayed empty.
  virtual bool Validate() = 0;

  // Library-internal: filled by collections and responses, not by clients.
  virtual void SetObjectState(qoEnumObjectState state) = 0;
  // The ListID of a list record, the TxnID of a transaction.
  virtual std::string ListOrTxnId() const = 0;
  // Reads one ...Ret element into the record, which becomes Clean.
  virtual void ReadElement(const FieldElement& element) = 0;
  // Saves the custom and application fields the client changed (a transaction's lines' too);
  // returns the number of errors filed with them.
  virtual int32_t SavePendingExtensions() = 0;
};

}  // namespace brennock
