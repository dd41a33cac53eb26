#include "brennock/transactions/bill.h"

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/model/codecs.h"

namespace brennock {
namespace {

using B = Bill;

}  // namespace

Bill::Bill() : PurchaseTxnCore(RegisteredKind<kObjectType>()) {}

// The rows of BillAdd, BillMod and BillRet, in the schema's order.
const RecordBindings& Bill::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  constexpr uint16_t kText = kAll | kSkipEmpty;
  using R = codecs::Ref;
  using A = codecs::Amount;
  constexpr auto kLines = LineRows("ItemLineRet", "ItemGroupLineRet");
  BRENNOCK_BINDINGS(qcBase, IdentityRows(),
                    std::array<Binding<qcBase>, 17>{{
                        Bind<&B::vendor_, R>("VendorRef", kAll),
                        Bind<&B::apAccount_, R>("APAccountRef", kAll),
                        TxnDateRow(),
                        Bind<&B::dueDate_, codecs::Date>("DueDate", kAll),
                        Bind<&B::amountDue_, A>("AmountDue", kInRet),
                        ReadOnly(Bind<&B::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
                        RefNumberRow(),
                        Bind<&B::terms_, R>("TermsRef", kAll),
                        Bind<&B::memo_, codecs::Text>("Memo", kText),
                        ReadOnly(Bind<&B::isPaid_, codecs::Bool>("IsPaid", kInRet)),
                        LinkToTxnRow(),
                        LinkedTxnRow(),
                        ExpenseLinesRow(),
                        kLines[0],
                        kLines[1],
                        Bind<&B::openAmount_, A>("OpenAmount", kInRet),
                        DataExtRow(),
                    }},
                    UserDataRow());
}

void Bill::CheckRules(qcErrors& errors) { CheckPurchaseRules(errors, true, true); }

// ---- the collection
// -------------------------------------------------------------------------------

std::shared_ptr<Bill> Bills::Add(const std::string& Vendor, const std::string& RefNumber,
                                 Date TxnDate, const std::string& APAccount,
                                 const std::string& Terms, Date DueDate, const std::string& Memo) {
  std::shared_ptr<Bill> bill = NewMember();
  if (!Vendor.empty()) bill->SetVendor(Vendor);
  if (!RefNumber.empty()) bill->SetRefNumber(RefNumber);
  if (!TxnDate.IsNull()) bill->SetTxnDate(TxnDate);
  if (!APAccount.empty()) bill->SetAPAccount(APAccount);
  if (!Terms.empty()) bill->SetTerms(Terms);
  if (!DueDate.IsNull()) bill->SetDueDate(DueDate);
  if (!Memo.empty()) bill->SetMemo(Memo);
  FileAdded(bill);
  return bill;
}

void Bills::GetMe(const std::shared_ptr<Bill>& bill) {
  if (bill) Reread(*bill);
}

}  // namespace brennock
