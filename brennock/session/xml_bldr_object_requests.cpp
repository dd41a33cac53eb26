// The builder's requests that a record writes itself into: the envelopes come from the record's
// object type, the body from the record's own writers, which the record protocol registers.
#include "brennock/enums/enumerations.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/session/object_request_body.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

const ObjectRequestBody* registeredBody = nullptr;

// The qbXML stem of a record kind: its ObjectType table description without blanks.
std::string ObjectStem(qoEnumListObjectType type) {
  return ThreadEnumerations()
      ->Item(qoeObjectType)
      ->ItemByCode(static_cast<int16_t>(type))
      ->CollectionKey();
}

}  // namespace

void RegisterObjectRequestBody(const ObjectRequestBody* body) noexcept { registeredBody = body; }

void xmlBldr::AppendObjectRequest(qcBase& o, int16_t requestId, ObjectRequestForm form) {
  // The library's link interface keeps the record protocol's registration.
  if (registeredBody == nullptr) RaiseError(errFeatureNotSupported, "xmlBldr");
  static constexpr std::string_view kRequestSuffix[] = {"QueryRs", "AddRq", "ModRq"};
  static constexpr std::string_view kBodySuffix[] = {"Ret", "Add", "Mod"};
  const auto index = static_cast<size_t>(form);
  std::string stem = ObjectStem(registeredBody->ObjectType(o));
  std::string request = stem + std::string(kRequestSuffix[index]);
  std::string body = stem + std::string(kBodySuffix[index]);
  OpenAggregate(request, "requestID", std::to_string(requestId));
  AppendPiece("<" + body + ">");
  registeredBody->Write(o, *this, form);
  AppendPiece("</" + body + ">");
  AppendPiece("</" + request + ">");
}

void xmlBldr::InsertQueryRs(qcBase& o, int16_t iRequestId) {
  AppendObjectRequest(o, iRequestId, ObjectRequestForm::kQueryRs);
}

void xmlBldr::InsertAddRq(qcBase& o, int16_t iRequestId) {
  AppendObjectRequest(o, iRequestId, ObjectRequestForm::kAdd);
}

void xmlBldr::InsertModRq(qcBase& o, int16_t iRequestId) {
  AppendObjectRequest(o, iRequestId, ObjectRequestForm::kMod);
}

}  // namespace brennock
