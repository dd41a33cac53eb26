#include "brennock/lists/template.h"

#include "brennock/internal/errors/raise.h"
#include "brennock/session/xml_bldr.h"

namespace brennock {
namespace {

// A date-time kept as the text QuickBooks wrote, offset and all.
struct StampText : codecs::Text {
  static constexpr qbxml::ValueType kType = qbxml::ValueType::kDateTime;
};

}  // namespace

const RecordBindings& Template::Bindings() {
  BRENNOCK_BINDINGS(
      qcBase,
      std::array{
          RetHeadRows()[0], Bind<&Template::timeCreatedText_, StampText>("TimeCreated", kInRet),
          Bind<&Template::timeModifiedText_, StampText>("TimeModified", kInRet), RetHeadRows()[3]},
      NameRow("Name", kInRet), ActiveRow(kInRet),
      std::array{Bind<&Template::appliesTo_, codecs::EnumTag<qoeTxnType>>("TemplateType", kInRet)},
      UserDataRow());
}

int32_t Templates::GetAll(int32_t /*MaxReturned*/, const std::string& sMDBPath) {
  return RunListQuery(0, sMDBPath, nullptr);
}

int32_t Templates::Delete(const std::string& ListID, bool bRemove) {
  // No lookup first: QuickBooks finds templates by nothing but a full query.
  xmlBldr& builder = Builder();
  builder.NewClear();
  builder.OpenAggregate("ListDelRq", "requestID", "1");
  builder.CreateElement("ListDelType", "Template");
  builder.CreateElement("ListID", ListID);
  builder.EndAggregate("ListDelRq");
  builder.NewSendRequest();
  if (builder.ErrNumber() != 0) RaiseError(errDeleteFailed, "Template", builder.ErrMsg());
  if (!bRemove) return 0;
  for (int32_t i = 1; i <= Count(); ++i) {
    if (Item(i)->ListID() == ListID) {
      Remove(i);
      break;
    }
  }
  return 0;
}

}  // namespace brennock
