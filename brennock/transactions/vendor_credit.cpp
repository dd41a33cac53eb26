#include "brennock/transactions/vendor_credit.h"

#include "brennock/internal/model/codecs.h"

namespace brennock {
namespace {

using V = VendorCredit;
using I = ItemReceipt;

// The header values every vendor form's Add takes, each through its setter.
template <class Record>
void TakeHeader(Record& record, const std::string& vendor, const std::string& ref, Date date,
                const std::string& account, const std::string& memo) {
  if (!vendor.empty()) record.SetVendor(vendor);
  if (!ref.empty()) record.SetRefNumber(ref);
  if (!date.IsNull()) record.SetTxnDate(date);
  if (!account.empty()) record.SetAPAccount(account);
  if (!memo.empty()) record.SetMemo(memo);
}

}  // namespace

VendorCredit::VendorCredit() : PurchaseTxnCore(RegisteredKind<kObjectType>()) {}

// The rows of VendorCreditAdd, VendorCreditMod and VendorCreditRet, in the schema's order.
const RecordBindings& VendorCredit::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  using R = codecs::Ref;
  constexpr auto kLines = LineRows("ItemLineRet", "ItemGroupLineRet");
  BRENNOCK_BINDINGS(qcBase, IdentityRows(),
                    std::array<Binding<qcBase>, 13>{{
                        Bind<&V::vendor_, R>("VendorRef", kAll),
                        Bind<&V::apAccount_, R>("APAccountRef", kAll),
                        TxnDateRow(),
                        Bind<&V::amount_, codecs::Amount>("CreditAmount", kInRet),
                        ReadOnly(Bind<&V::exchangeRate_, codecs::Single>("ExchangeRate", kInRet)),
                        RefNumberRow(),
                        Bind<&V::memo_, codecs::Text>("Memo", kAll | kSkipEmpty),
                        LinkedTxnRow(),
                        ExpenseLinesRow(),
                        kLines[0],
                        kLines[1],
                        Bind<&V::openAmount_, codecs::Amount>("OpenAmount", kInRet),
                        DataExtRow(),
                    }},
                    UserDataRow());
}

std::shared_ptr<VendorCredit> VendorCredits::Add(const std::string& Vendor,
                                                 const std::string& RefNumber, Date TxnDate,
                                                 const std::string& APAccount,
                                                 const std::string& Memo) {
  std::shared_ptr<VendorCredit> credit = NewMember();
  TakeHeader(*credit, Vendor, RefNumber, TxnDate, APAccount, Memo);
  FileAdded(credit);
  return credit;
}

ItemReceipt::ItemReceipt() : PurchaseTxnCore(RegisteredKind<kObjectType>()) {}

// The rows of ItemReceiptAdd, ItemReceiptMod and ItemReceiptRet, in the schema's order.
const RecordBindings& ItemReceipt::Bindings() {
  constexpr uint16_t kAll = kInAdd | kInMod | kInRet;
  using R = codecs::Ref;
  constexpr auto kLines = LineRows("ItemLineRet", "ItemGroupLineRet");
  BRENNOCK_BINDINGS(qcBase, IdentityRows(),
                    std::array<Binding<qcBase>, 12>{{
                        Bind<&I::vendor_, R>("VendorRef", kAll),
                        Bind<&I::apAccount_, R>("APAccountRef", kAll),
                        TxnDateRow(),
                        Bind<&I::total_, codecs::Amount>("TotalAmount", kInRet),
                        RefNumberRow(),
                        Bind<&I::memo_, codecs::Text>("Memo", kAll | kSkipEmpty),
                        LinkToTxnRow(),
                        LinkedTxnRow(),
                        ExpenseLinesRow(),
                        kLines[0],
                        kLines[1],
                        DataExtRow(),
                    }},
                    UserDataRow());
}

std::shared_ptr<ItemReceipt> ItemReceipts::Add(const std::string& Vendor,
                                               const std::string& RefNumber, Date TxnDate,
                                               const std::string& APAccount,
                                               const std::string& Memo) {
  std::shared_ptr<ItemReceipt> receipt = NewMember();
  TakeHeader(*receipt, Vendor, RefNumber, TxnDate, APAccount, Memo);
  FileAdded(receipt);
  return receipt;
}

}  // namespace brennock
