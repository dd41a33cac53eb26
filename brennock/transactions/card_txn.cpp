#include "brennock/transactions/card_txn.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/errors/raise.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/session/session_state.h"
#include "brennock/lists/account.h"

namespace brennock {

void CardTxnCore::CheckRules(qcErrors& errors) {
  auto account =
      std::dynamic_pointer_cast<brennock::Account>(ResolveListObject(qoListAccounts, Account()));
  if (!account)
    AddTableError(errors, errInvalidAccount, "Account");
  else if (account->AccountType() != qbCreditCard)
    AddTableError(errors, errNeedCreditCardAccount, std::string(Kind().stem));
  CheckPurchaseRules(errors, false, false);
}

template <class Record>
const RecordBindings& CardTxnCore::CardBindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  using R = codecs::Ref;
  constexpr auto kLines = LineRows("ItemLineRet", "ItemGroupLineRet");
  BRENNOCK_BINDINGS(
      qcBase, IdentityRows(),
      std::array<Binding<qcBase>, 12>{{
          Bind<&Record::account_, R>("AccountRef", kAll),
          Bind<&Record::payee_, R>("PayeeEntityRef", kAll),
          TxnDateRow(),
          Bind<&Record::amount_, codecs::Amount>("Amount", kInRet),
          ReadOnly(Bind<&Record::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
          RefNumberRow(),
          Bind<&Record::memo_, codecs::Text>("Memo", kAll | kSkipEmpty),
          ExpenseLinesRow(),
          kLines[0],
          kLines[1],
          Record::DataExtRow(),
          UserDataRow()[0],
      }});
}

CreditCardCharge::CreditCardCharge() : CardTxnCore(RegisteredKind<kObjectType>()) {}

const RecordBindings& CreditCardCharge::Bindings() { return CardBindings<CreditCardCharge>(); }

int32_t CreditCardCharge::XMLModify(xmlBldr& cxmlbldr) {
  if (SessionQbxmlVersion() < Currency(6)) RaiseGeneral(Kind().stem, "ModRq not supported");
  return CardTxnCore::XMLModify(cxmlbldr);
}

CreditCardCredit::CreditCardCredit() : CardTxnCore(RegisteredKind<kObjectType>()) {}

const RecordBindings& CreditCardCredit::Bindings() { return CardBindings<CreditCardCredit>(); }

}  // namespace brennock
