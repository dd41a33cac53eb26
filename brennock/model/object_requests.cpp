// The builder's requests that a record writes itself into. They live beside the record protocol,
// which the session's builder knows only by name.
#include "brennock/enums/enumerations.h"
#include "brennock/model/qc_base.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

// The qbXML stem of a record kind: its ObjectType table description without blanks.
std::string ObjectStem(qoEnumListObjectType type) {
  return ThreadEnumerations()
      ->Item(qoeObjectType)
      ->ItemByCode(static_cast<int16_t>(type))
      ->CollectionKey();
}

}  // namespace

void xmlBldr::AppendObjectRequest(qcBase& o, int16_t requestId, std::string_view requestSuffix,
                                  std::string_view bodySuffix,
                                  int32_t (qcBase::*writeBody)(xmlBldr&)) {
  std::string stem = ObjectStem(o.ObjectType());
  std::string request = stem + std::string(requestSuffix);
  std::string body = stem + std::string(bodySuffix);
  OpenAggregate(request, "requestID", std::to_string(requestId));
  AppendPiece("<" + body + ">");
  (o.*writeBody)(*this);
  AppendPiece("</" + body + ">");
  AppendPiece("</" + request + ">");
}

void xmlBldr::InsertQueryRs(qcBase& o, int16_t iRequestId) {
  AppendObjectRequest(o, iRequestId, "QueryRs", "Ret", &qcBase::XMLQueryRs);
}

void xmlBldr::InsertAddRq(qcBase& o, int16_t iRequestId) {
  AppendObjectRequest(o, iRequestId, "AddRq", "Add", &qcBase::XMLInsert);
}

void xmlBldr::InsertModRq(qcBase& o, int16_t iRequestId) {
  AppendObjectRequest(o, iRequestId, "ModRq", "Mod", &qcBase::XMLModify);
}

}  // namespace brennock
