#include "brennock/items/item_blocks.h"

#include <array>

#include "brennock/errors/qc_errors.h"
#include "brennock/internal/errors/collected_errors.h"
#include "brennock/internal/model/codecs.h"
#include "brennock/internal/qbxml/request_writer.h"
#include "brennock/lists/account.h"

namespace brennock {
namespace {

constexpr std::string_view kSalesOrPurchase = "itemSalesOrPurchase";
constexpr std::string_view kSalesAndPurchase = "itemSalesAndPurchase";

// A reference row of a block, written by the block's own rule.
template <class Block, qcListObjectRef Block::*Member>
constexpr Binding<Block> BlockRef(std::string_view element, uint16_t flags) {
  return {element,
          flags,
          [](Block& b, const FieldElement& x) { (b.*Member).FromDom(x); },
          [](const Block& b, RequestWriter& w, std::string_view name, uint16_t, BodyForm) {
            WriteBlockRef(b.*Member, w, name);
          },
          nullptr,
          qbxml::ValueType::kRef};
}

template <class Block>
void WriteInside(const Block& block, const BindingTable<Block>& table, RequestWriter& builder,
                 std::string_view element, BodyForm form) {
  builder.OpenAggregateOnly(element);
  // The query-result form of a block is its add form.
  table.Write(block, builder, form == BodyForm::kRet ? BodyForm::kAdd : form);
  builder.EndAggregate(element);
}

}  // namespace

void WriteBlockRef(const qcListObjectRef& ref, RequestWriter& builder, std::string_view element) {
  if (!ref.ListIDView().empty()) {
    builder.OpenAggregateOnly(element);
    builder.CreateElement("ListID", ref.ListIDView());
    builder.EndAggregate(element);
  } else if (!ref.FullNameView().empty()) {
    builder.OpenAggregateOnly(element);
    builder.CreateElement("FullName", ref.FullNameView());
    builder.EndAggregate(element);
  }
}

bool RefResolves(const qcListObjectRef& ref) {
  return ResolveListObject(ref.List(), ref.FullName()) != nullptr;
}

// ---- sales or purchase --------------------------------------------------------------------------

// A price or a percentage: whichever element came last decides.
const BindingTable<itemSalesOrPurchase>& itemSalesOrPurchase::Bindings() {
  using B = itemSalesOrPurchase;
  constexpr uint16_t kBoth = kInAdd | kInMod;
  static constexpr std::array<Binding<B>, 4> kRows{{
      Bind<&B::description_, codecs::Text, B>("Desc", kBoth | kSkipEmpty),
      {"Price", kBoth,
       [](B& b, const FieldElement& x) {
         codecs::Single::Read(b.amount_, x);
         b.amountIsPercent_ = false;
       },
       [](const B& b, RequestWriter& w, std::string_view name, uint16_t f, BodyForm form) {
         if (!b.amountIsPercent_) codecs::Single::Write(b.amount_, w, name, f, form);
       },
       nullptr, qbxml::ValueType::kFloat},
      {"PricePercent", kBoth,
       [](B& b, const FieldElement& x) {
         codecs::Single::Read(b.amount_, x);
         b.amountIsPercent_ = true;
       },
       [](const B& b, RequestWriter& w, std::string_view name, uint16_t f, BodyForm form) {
         if (b.amountIsPercent_) codecs::Single::Write(b.amount_, w, name, f, form);
       },
       nullptr, qbxml::ValueType::kFloat},
      BlockRef<B, &B::account_>("AccountRef", kInAdd),
  }};
  BRENNOCK_BINDING_TABLE(B);
  return kTable;
}

void itemSalesOrPurchase::SetAccount(const std::string& value) {
  CheckModify(true, kSalesOrPurchase);
  account_.SetFullName(value);
}

void itemSalesOrPurchase::SetDescription(const std::string& value) {
  CheckModify(false, kSalesOrPurchase);
  description_ = value;
}

void itemSalesOrPurchase::SetAmount(float value) {
  CheckModify(false, kSalesOrPurchase);
  amount_ = value;
}

void itemSalesOrPurchase::SetAmountIsPercent(bool value) {
  CheckModify(false, kSalesOrPurchase);
  amountIsPercent_ = value;
}

bool itemSalesOrPurchase::PostsToExpense() const {
  auto account =
      std::dynamic_pointer_cast<brennock::Account>(ResolveListObject(qoListAccounts, Account()));
  if (!account) return false;
  return account->AccountType() == qbExpense || account->AccountType() == qbOtherExpense;
}

void itemSalesOrPurchase::FromDom(const FieldElement& element) {
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void itemSalesOrPurchase::Write(RequestWriter& builder, std::string_view element,
                                BodyForm form) const {
  WriteInside(*this, Bindings(), builder, element, form);
}

bool itemSalesOrPurchase::CheckRules() {
  ClearErrorList();
  if (state_ == qoObjectStateClean) return true;
  if (!RefResolves(account_)) AddTableError(*ErrorList(), errInvalidAccount, "Account");
  return ErrorListEmpty();
}

// ---- sales and purchase -------------------------------------------------------------------------

// The accounts go out on Add only; on modify the purchase description is sent even when empty.
const BindingTable<itemSalesAndPurchase>& itemSalesAndPurchase::Bindings() {
  using B = itemSalesAndPurchase;
  constexpr uint16_t kBoth = kInAdd | kInMod;
  static constexpr std::array<Binding<B>, 7> kRows{{
      Bind<&B::salesDesc_, codecs::Text, B>("SalesDesc", kBoth | kSkipEmpty),
      Bind<&B::salesPrice_, codecs::Single, B>("SalesPrice", kBoth),
      BlockRef<B, &B::incomeAccount_>("IncomeAccountRef", kInAdd),
      {"PurchaseDesc", kBoth,
       [](B& b, const FieldElement& x) { codecs::Text::Read(b.purchaseDesc_, x); },
       [](const B& b, RequestWriter& w, std::string_view name, uint16_t f, BodyForm form) {
         if (form == BodyForm::kMod || !b.purchaseDesc_.empty())
           codecs::Text::Write(b.purchaseDesc_, w, name, f, form);
       },
       nullptr, qbxml::ValueType::kText},
      Bind<&B::purchaseCost_, codecs::Single, B>("PurchaseCost", kBoth),
      BlockRef<B, &B::expenseAccount_>("ExpenseAccountRef", kInAdd),
      BlockRef<B, &B::vendor_>("PrefVendorRef", kBoth),
  }};
  BRENNOCK_BINDING_TABLE(B);
  return kTable;
}

void itemSalesAndPurchase::SetIncomeAccount(const std::string& value) {
  CheckModify(true, kSalesAndPurchase);
  incomeAccount_.SetFullName(value);
}

void itemSalesAndPurchase::SetExpenseAccount(const std::string& value) {
  CheckModify(true, kSalesAndPurchase);
  expenseAccount_.SetFullName(value);
}

void itemSalesAndPurchase::SetVendor(const std::string& value) {
  CheckModify(false, kSalesAndPurchase);
  vendor_.SetFullName(value);
}

void itemSalesAndPurchase::SetSalesDescription(const std::string& value) {
  CheckModify(false, kSalesAndPurchase);
  salesDesc_ = value;
}

void itemSalesAndPurchase::SetSalesPrice(float value) {
  CheckModify(false, kSalesAndPurchase);
  salesPrice_ = value;
}

void itemSalesAndPurchase::SetPurchaseDescription(const std::string& value) {
  CheckModify(false, kSalesAndPurchase);
  purchaseDesc_ = value;
}

void itemSalesAndPurchase::SetPurchaseCost(float value) {
  CheckModify(false, kSalesAndPurchase);
  purchaseCost_ = value;
}

// The vendor is optional: only a named vendor that cannot be found is an error.
bool itemSalesAndPurchase::Validate() {
  ClearErrorList();
  if (state_ == qoObjectStateClean) return true;
  if (!RefResolves(incomeAccount_)) AddTableError(*ErrorList(), errInvalidAccount, "IncomeAccount");
  if (!RefResolves(expenseAccount_))
    AddTableError(*ErrorList(), errInvalidAccount, "ExpenseAccount");
  if (!vendor_.IsEmpty() && !RefResolves(vendor_))
    AddTableError(*ErrorList(), errInvalidVendor, "Vendor");
  return ErrorListEmpty();
}

void itemSalesAndPurchase::FromDom(const FieldElement& element) {
  Bindings().Read(*this, element);
  state_ = qoObjectStateClean;
}

void itemSalesAndPurchase::Write(RequestWriter& builder, std::string_view element,
                                 BodyForm form) const {
  WriteInside(*this, Bindings(), builder, element, form);
}

}  // namespace brennock
