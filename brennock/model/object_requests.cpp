// The record protocol's side of the builder's record requests (InsertAddRq, InsertModRq,
// InsertQueryRs): the builder in the session layer below knows records only by name.
#include "brennock/internal/session/object_request_body.h"
#include "brennock/model/qc_base.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

class RecordRequestBody final : public ObjectRequestBody {
 public:
  qoEnumListObjectType ObjectType(const qcBase& record) const override {
    return record.ObjectType();
  }
  void Write(qcBase& record, xmlBldr& builder, ObjectRequestForm form) const override {
    switch (form) {
      case ObjectRequestForm::kQueryRs:
        record.XMLQueryRs(builder);
        return;
      case ObjectRequestForm::kAdd:
        record.XMLInsert(builder);
        return;
      case ObjectRequestForm::kMod:
        record.XMLModify(builder);
        return;
    }
  }
};

bool Register() {
  static const RecordRequestBody body;
  RegisterObjectRequestBody(&body);
  return true;
}

}  // namespace
}  // namespace brennock

// Named as undefined by the library's link interface, so a static link keeps this file.
extern const bool brennock_model_registered;
const bool brennock_model_registered = brennock::Register();
