#pragma once

#include <cstdint>

#include "brennock/enums/object_enums.h"

namespace brennock {

class qcBase;
class xmlBldr;

// The forms of a record's own request body: stem + "Ret" in a query response document,
// stem + "Add" in an add request, stem + "Mod" in a modify request.
enum class ObjectRequestForm : uint8_t { kQueryRs, kAdd, kMod };

// How the builder reaches a record's writers. The record protocol sits above the session and
// registers this when the program starts.
class ObjectRequestBody {
 public:
  virtual ~ObjectRequestBody() = default;
  virtual qoEnumListObjectType ObjectType(const qcBase& record) const = 0;
  // Writes the record's fields for that form with the builder.
  virtual void Write(qcBase& record, xmlBldr& builder, ObjectRequestForm form) const = 0;
};

// Registration is meant for start-up, before any thread writes a request.
void RegisterObjectRequestBody(const ObjectRequestBody* body) noexcept;

}  // namespace brennock
