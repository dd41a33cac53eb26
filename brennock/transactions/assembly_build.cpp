#include "brennock/transactions/assembly_build.h"

#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/transactions/line_item_facts.h"
#include "brennock/items/item_protocol.h"

namespace brennock {
namespace {

using B = AssemblyBuild;

}  // namespace

AssemblyBuild::AssemblyBuild() : TxnRecordCore(RegisteredKind<kObjectType>()) {
  txnDate_ = Date::Today();
}

// The rows of BuildAssemblyAdd and BuildAssemblyRet, in the schema's order. QuickBooks answers
// the components used (ComponentItemLineRet); the build keeps none of them.
const RecordBindings& AssemblyBuild::Bindings() {
  constexpr uint16_t kAdd = kInAdd | kInRet;
  constexpr uint16_t kRet = kInRet;
  using Q = codecs::Single;
  BRENNOCK_BINDINGS(qcBase, IdentityRows(),
                    std::array<Binding<qcBase>, 11>{{
                        Bind<&B::item_, codecs::Ref>("ItemInventoryAssemblyRef", kAdd),
                        TxnDateRow(),
                        Bind<&B::refNumber_, codecs::Text>("RefNumber", kAdd | kSkipEmpty),
                        Bind<&B::memo_, codecs::Text>("Memo", kAdd | kSkipEmpty),
                        ReadOnly(Bind<&B::isPending_, codecs::Bool>("IsPending", kRet)),
                        Bind<&B::quantityToBuild_, Q>("QuantityToBuild", kAdd),
                        ReadOnly(Bind<&B::quantityCanBuild_, Q>("QuantityCanBuild", kRet)),
                        ReadOnly(Bind<&B::quantityOnHand_, Q>("QuantityOnHand", kRet)),
                        ReadOnly(Bind<&B::quantityOnSalesOrder_, Q>("QuantityOnSalesOrder", kRet)),
                        DataExtRow(),
                        UserDataRow()[0],
                    }});
}

void AssemblyBuild::SetItem(const std::string& value) {
  std::shared_ptr<qcItem> item = FindItem(value);
  if (!item || item->ItemType() != qbItemAssembly) {
    AddTableError(*ErrorList(), errItemCodeNotFound, "Item");
    itemRefused_ = true;
    return;
  }
  ChangeRef(item_, value, "ItemInventoryAssemblyRef");
  itemRefused_ = false;
}

bool AssemblyBuild::Validate() {
  ClearErrorList();
  if (itemRefused_) AddTableError(*ErrorList(), errItemCodeNotFound, "Item");
  return ErrorListEmpty();
}

// ---- the collection -----------------------------------------------------------------------------

std::shared_ptr<AssemblyBuild> AssemblyBuilds::Add(const std::string& Item, Date TxnDate,
                                                   const std::string& RefNumber,
                                                   const std::string& Memo, float QuantityToBuild) {
  std::shared_ptr<AssemblyBuild> build = NewMember();
  if (!Item.empty()) build->SetItem(Item);
  if (!TxnDate.IsNull()) build->SetTxnDate(TxnDate);
  if (!RefNumber.empty()) build->SetRefNumber(RefNumber);
  if (!Memo.empty()) build->SetMemo(Memo);
  if (QuantityToBuild != 0) build->SetQuantityToBuild(QuantityToBuild);
  FileAdded(build);
  return build;
}

}  // namespace brennock
